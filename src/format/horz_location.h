#pragma once
// The notation that names a symbol of the voice from the lyrics and attachments sections:
// absolute forms beginning with "@" and the relative form of "|" and "/" runs.

#include <cstdint>
#include <string>

#include "format/abc_common.h"
#include "format/ko_range.h"

namespace nuo4 {

enum TNuo4ABCHorzLocationType : uint8_t {
    hltNone,
    hltAbsLocate_Barline,
    hltAbsLocate_MeasurePos,
    hltAbsLocate_BarlineAndNote,
    hltAbsLocate_BasicIndex,
    hltRelLocate_BarlineAndNote,
};
const char* EnumName(TNuo4ABCHorzLocationType AValue);

// Only the fields of aType are meaningful; all positions and counts are 0-based.
struct TrecNuo4HorzLocation {
    TNuo4ABCHorzLocationType aType = hltAbsLocate_BarlineAndNote;
    int32_t AbsLocate_Barline_MeasurePos = 0;
    bool AbsLocate_Barline_bLeft = false;
    float AbsLocate_MeasurePos_MeasurePos = 0;
    int32_t AbsLocate_BarlineAndNote_BarlinePos = 0;
    int32_t AbsLocate_BarlineAndNote_NotePos = 0;
    int32_t AbsLocate_BasicIndex_BasicIndex = 0;
    int32_t RelLocate_BarlineAndNote_BarlinesCount = 0;
    int32_t RelLocate_BarlineAndNote_NotesCount = 0;

    // The first note of the first measure.
    void SetToDefault() { *this = TrecNuo4HorzLocation(); }
    void SetToInvalid() {
        SetToDefault();
        aType = hltNone;
    }
    bool IsValid() const { return aType != hltNone; }
    bool IsRelative() const { return aType == hltRelLocate_BarlineAndNote; }
    void InitializeToNoteIndex(int32_t ANoteIndex);
    void InitializeToSkipNoteCount(int32_t ANotesCount);
    // For a relative location a copy with the notes count moved by AOffset; otherwise a copy.
    TrecNuo4HorzLocation AdjustForRelBarlineNote(int32_t AOffset) const;

    std::u16string ToABCText() const;
    bool operator==(const TrecNuo4HorzLocation&) const = default;
};

// Reads a location at the start of ARange ("@@N", "@N,M", "@N.F", "@NL", "@NR", or a run of
// "|" and "/"). AEndPos is the position of the last character consumed.
bool ReadHorzLocation(TText AText, TKoRange ARange, TrecNuo4HorzLocation& ALocation,
                      int32_t& AEndPos);

}  // namespace nuo4
