#include "app/cli/layout_document.h"

#include <cstdlib>

#include "format/score_file.h"
#include "render/measure_surface.h"
#include "render/music_font.h"

namespace nuo4::cli {

TLayoutDocument::~TLayoutDocument() {
    Buffer.reset();
    ABCBuffer.reset();
    if (App) Nuo4Render_Done();
}

bool LoadLayoutDocument(const std::string& APath, TLayoutDocument& ADoc, std::string& AError) {
    std::u16string Text;
    if (!ReadScoreFile(APath, Text, AError, &ADoc.Encoding)) return false;
    if (!QCoreApplication::instance()) {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        static int Argc = 1;
        static char Name[] = "nuo4-cli";
        static char* Argv[] = {Name, nullptr};
        ADoc.App = std::make_unique<QGuiApplication>(Argc, Argv);
    }
    Nuo4Render_Init();
    ADoc.ABCBuffer = std::make_unique<TNuo4ABCBuffer>(Text);
    // Texts of the voice and the attachments are measured and outlined while building.
    TNuo4MeasureSurfaceScope Surface;
    ADoc.Buffer = std::make_unique<TNuo4SimpleBuffer>(ADoc.ABCBuffer.get());
    return true;
}

}  // namespace nuo4::cli
