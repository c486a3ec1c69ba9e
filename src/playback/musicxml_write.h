#pragma once
// The laid-out score as a MusicXML 4.0 partwise document, so that a score written here opens in
// staff-notation editors. The structure stays as written: repeats are repeat bar lines and
// voltas are endings (not unfolded). Parts are the parts of multi-part system lines (a
// single-part line belongs to the first part; the others rest through it). Pitches are the
// sounding pitches of the key, spelled with the key's sharps or flats; durations count 480
// divisions per quarter note.

#include <string>

namespace nuo4 {

class TNuo4SimpleBuffer;

struct TrecNuo4MusicXmlStats {
    int32_t Parts = 0;
    int32_t Measures = 0;     // of the first part
    int32_t StruckNotes = 0;  // notes that start a sound (not rests, not tie ends), graces too
};

// The document, UTF-8.
std::string Nuo4MusicXml_Write(const TNuo4SimpleBuffer& B, TrecNuo4MusicXmlStats* AStats = nullptr);

}  // namespace nuo4
