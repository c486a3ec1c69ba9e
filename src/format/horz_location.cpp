#include "format/horz_location.h"

#include <algorithm>

namespace nuo4 {

const char* EnumName(TNuo4ABCHorzLocationType AValue) {
    switch (AValue) {
        case hltNone:
            return "hltNone";
        case hltAbsLocate_Barline:
            return "hltAbsLocate_Barline";
        case hltAbsLocate_MeasurePos:
            return "hltAbsLocate_MeasurePos";
        case hltAbsLocate_BarlineAndNote:
            return "hltAbsLocate_BarlineAndNote";
        case hltAbsLocate_BasicIndex:
            return "hltAbsLocate_BasicIndex";
        case hltRelLocate_BarlineAndNote:
            return "hltRelLocate_BarlineAndNote";
    }
    return "?";
}

void TrecNuo4HorzLocation::InitializeToNoteIndex(int32_t ANoteIndex) {
    SetToDefault();
    aType = hltAbsLocate_BarlineAndNote;
    AbsLocate_BarlineAndNote_NotePos = ANoteIndex;
}

void TrecNuo4HorzLocation::InitializeToSkipNoteCount(int32_t ANotesCount) {
    SetToDefault();
    aType = hltRelLocate_BarlineAndNote;
    RelLocate_BarlineAndNote_NotesCount = ANotesCount;
}

TrecNuo4HorzLocation TrecNuo4HorzLocation::AdjustForRelBarlineNote(int32_t AOffset) const {
    TrecNuo4HorzLocation Result = *this;
    if (aType == hltRelLocate_BarlineAndNote) Result.RelLocate_BarlineAndNote_NotesCount += AOffset;
    return Result;
}

std::u16string TrecNuo4HorzLocation::ToABCText() const {
    // 64-bit so that a position near the 32-bit limit cannot overflow when made 1-based.
    auto OneBased = [](int32_t V) { return ABC_FormatInt(static_cast<int64_t>(V) + 1); };
    switch (aType) {
        case hltNone:
            return u"";
        case hltAbsLocate_Barline:
            return u"@" + OneBased(AbsLocate_Barline_MeasurePos) +
                   (AbsLocate_Barline_bLeft ? u"L" : u"R");
        case hltAbsLocate_MeasurePos:
            return u"@" +
                   ABC_FormatFloat(static_cast<double>(AbsLocate_MeasurePos_MeasurePos) + 1, 2);
        case hltAbsLocate_BarlineAndNote:
            return u"@" + OneBased(AbsLocate_BarlineAndNote_BarlinePos) + u"," +
                   OneBased(AbsLocate_BarlineAndNote_NotePos);
        case hltAbsLocate_BasicIndex:
            return u"@@" + OneBased(AbsLocate_BasicIndex_BasicIndex);
        case hltRelLocate_BarlineAndNote: {
            // Negative counts (possible after an adjustment) write nothing for that part.
            std::u16string S(
                static_cast<size_t>(std::max(0, RelLocate_BarlineAndNote_BarlinesCount)), u'|');
            S.append(static_cast<size_t>(std::max(0, RelLocate_BarlineAndNote_NotesCount)), u'/');
            return S;
        }
    }
    return u"";
}

bool ReadHorzLocation(TText AText, TKoRange ARange, TrecNuo4HorzLocation& ALocation,
                      int32_t& AEndPos) {
    ALocation.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t First = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    const char16_t C = AText[First];

    if (C == u'|' || C == u'/') {
        TrecNuo4HorzLocation L;
        L.aType = hltRelLocate_BarlineAndNote;
        int32_t P = First;
        for (; P <= Last && (AText[P] == u'|' || AText[P] == u'/'); ++P) {
            if (AText[P] == u'|')
                ++L.RelLocate_BarlineAndNote_BarlinesCount;
            else
                ++L.RelLocate_BarlineAndNote_NotesCount;
        }
        ALocation = L;
        AEndPos = P - 1;
        return true;
    }
    if (C != u'@' || First == Last) return false;

    int32_t N = 0, NEnd = -1;
    if (AText[First + 1] == u'@') {
        if (!ABC_ParseInt(AText, ABC_RangeFrom(ARange, First + 2), N, NEnd) || N < 1) return false;
        TrecNuo4HorzLocation L;
        L.aType = hltAbsLocate_BasicIndex;
        L.AbsLocate_BasicIndex_BasicIndex = N - 1;
        ALocation = L;
        AEndPos = NEnd;
        return true;
    }

    const TKoRange NumRange = ABC_RangeFrom(ARange, First + 1);
    if (!ABC_ParseInt(AText, NumRange, N, NEnd) || N < 1) return false;
    const char16_t Next = NEnd < Last ? AText[NEnd + 1] : 0;
    TrecNuo4HorzLocation L;
    if (Next == u',') {
        int32_t M = 0, MEnd = -1;
        if (!ABC_ParseInt(AText, ABC_RangeFrom(ARange, NEnd + 2), M, MEnd) || M < 1) return false;
        L.aType = hltAbsLocate_BarlineAndNote;
        L.AbsLocate_BarlineAndNote_BarlinePos = N - 1;
        L.AbsLocate_BarlineAndNote_NotePos = M - 1;
        AEndPos = MEnd;
    } else if (Next == u'.') {
        float Value = 0;
        int32_t FEnd = -1;
        if (!ABC_ParseFloat(AText, NumRange, false, Value, FEnd)) return false;
        L.aType = hltAbsLocate_MeasurePos;
        L.AbsLocate_MeasurePos_MeasurePos = Value - 1;
        AEndPos = FEnd;
    } else if (Next == u'L' || Next == u'l' || Next == u'R' || Next == u'r') {
        L.aType = hltAbsLocate_Barline;
        L.AbsLocate_Barline_MeasurePos = N - 1;
        L.AbsLocate_Barline_bLeft = Next == u'L' || Next == u'l';
        AEndPos = NEnd + 1;
    } else {
        return false;
    }
    ALocation = L;
    return true;
}

}  // namespace nuo4
