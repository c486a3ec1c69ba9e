#pragma once
// A score file laid out for the commands that need the document buffer: the GUI application
// that fonts need, the scanned text and the buffer, freed in the reverse order.

#include <QGuiApplication>
#include <memory>
#include <string>

#include "format/abc_buffer.h"
#include "format/score_file.h"
#include "layout/simple_buffer.h"

namespace nuo4::cli {

struct TLayoutDocument {
    std::unique_ptr<QGuiApplication> App;  // only when none existed
    std::unique_ptr<TNuo4ABCBuffer> ABCBuffer;
    std::unique_ptr<TNuo4SimpleBuffer> Buffer;
    TNuo4ScoreFileEncoding Encoding = sfeUtf8;  // as read, for ScoreEncodingNote

    // The music font goes before the application it was made under.
    ~TLayoutDocument();
};

// Reads and lays out a score; false with a message when the file cannot be read.
bool LoadLayoutDocument(const std::string& APath, TLayoutDocument& ADoc, std::string& AError);

}  // namespace nuo4::cli
