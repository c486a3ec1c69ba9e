#pragma once
// The note symbol of the voice: its text grammar, the parse record with a range and a token for
// every sub-part (so the editor can replace exactly one of them), and the writers of each
// sub-part.
//
// A note is: prefix groups (arc starts "(" or "{(...}", an articulation group, a grace group;
// empty and unknown groups are skipped), a pitch or chord "[...]", an optional duration, and
// suffix parts (a control options group "{C:...}" and runs of ")" arc ends). Positions are
// UTF-16 code unit indexes of the scanned text.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/arc_styles.h"
#include "format/ko_range.h"
#include "format/music_common.h"
#include "format/out_of_line.h"
#include "format/section_voice.h"
#include "format/symbol_control_options.h"
#include "format/symbol_note_rec.h"

namespace nuo4 {

// ---- Arc starts ------------------------------------------------------------------------------

constexpr int Nuo4ArcArrowStyleCount = 5;

// The properties of an arc (slur, tie or tuplet bracket) as written at its start.
struct TrecNuo4ArcABCInfo {
    int32_t TupletNumber = 0;  // 0 = none; the number shown for a tuplet
    // Total duration of the notes under the arc in units of the shortest of them; 0 = not given.
    int32_t Duration = 0;
    float VertOffsetCoef = 0;  // 0 = automatic
    TNuo4ArcArrowStyle ArrowStyle = aasNone;

    void SetToDefault() { *this = TrecNuo4ArcABCInfo(); }
    bool IsDefault() const {
        return TupletNumber == 0 && Duration == 0 && VertOffsetCoef == 0 && ArrowStyle == aasNone;
    }
    bool operator==(const TrecNuo4ArcABCInfo&) const = default;
};

// "(" for default properties, otherwise the shortest brace form "{(...}" that holds them.
std::u16string ToABCText_ArcStarting(const TrecNuo4ArcABCInfo& AInfo);

// Reads arc properties from the text after the "(" of a group ("3:2,0.50,1"); an empty range
// gives the defaults. Fails when the first item is neither an integer nor "N:D".
bool ReadArcABCInfo(TText AText, TKoRange ARange, TrecNuo4ArcABCInfo& AInfo);

struct TrecNuo4ABCArcStartingsInfoItem {
    // Renumbered after reading: the first item of a note has count - 1, the last 0.
    int32_t Depth = 0;
    TrecNuo4ArcABCInfo ABCInfo;
    TKoRange TextRange;  // the "(" or the brace group holding the properties
    bool operator==(const TrecNuo4ABCArcStartingsInfoItem&) const = default;
};
using TNuo4ABCArcStartingsInfoItems = std::vector<TrecNuo4ABCArcStartingsInfoItem>;

// ---- Articulations ---------------------------------------------------------------------------

struct TrecNuo4ArticulationInfoItem {
    TNuo4Articulation Articulation = mfsaDunYin;
    TKoRange TextRange;  // the name's piece inside the group
    bool operator==(const TrecNuo4ArticulationInfoItem&) const = default;
};
using TNuo4ArticulationInfoItems = std::vector<TrecNuo4ArticulationInfoItem>;
using TNuo4Articulations = std::vector<TNuo4Articulation>;

// "{DunYin,ZhongYin}"; nothing for an empty list.
std::u16string ToABCText_Articulations(const TNuo4Articulations& AItems);
std::u16string ToABCText_Articulations(const TNuo4ArticulationInfoItems& AItems);

// ---- Sub-records -----------------------------------------------------------------------------
// Each begins with the place of its part: type and range set when the part is present. The
// part's token is made from that place (GetTokenItems, ttNote_ArcEndings once per run of ")"),
// and GetPartHeader rebuilds a part's full header.

struct TrecNuo4ABCParseInfo_Note_ArcStartings {
    TrecNuo4ABCParseInfo_PartHeader Header;
    TNuo4ABCArcStartingsInfoItems Value;

    static void* operator new(size_t ASize) { return VoiceRecordPool_Allocate(ASize); }
    static void operator delete(void* APtr, size_t ASize) noexcept {
        VoiceRecordPool_Release(APtr, ASize);
    }
};

struct TrecNuo4ABCParseInfo_Note_Articulations {
    TrecNuo4ABCParseInfo_PartHeader Header;
    TNuo4ArticulationInfoItems Value;

    static void* operator new(size_t ASize) { return VoiceRecordPool_Allocate(ASize); }
    static void operator delete(void* APtr, size_t ASize) noexcept {
        VoiceRecordPool_Release(APtr, ASize);
    }
};

struct TrecNuo4ABCParseInfo_Note_Grace {
    TrecNuo4ABCParseInfo_PartHeader Header;
    TNuo4Pitches Value;   // the note's grace notes
    TNuo4Pitches Value2;  // the list after ";", kept in the parse record only

    static void* operator new(size_t ASize) { return VoiceRecordPool_Allocate(ASize); }
    static void operator delete(void* APtr, size_t ASize) noexcept {
        VoiceRecordPool_Release(APtr, ASize);
    }
};

struct TrecNuo4ABCParseInfo_Note_ControlOptions {
    TrecNuo4ABCParseInfo_PartHeader Header;  // pitSymbolControlOptions when present
    TrecNuo4SymbolControlOptions Value;

    bool IsValid() const { return Header.IsValid(); }
    static void* operator new(size_t ASize) { return VoiceRecordPool_Allocate(ASize); }
    static void operator delete(void* APtr, size_t ASize) noexcept {
        VoiceRecordPool_Release(APtr, ASize);
    }
};

struct TrecNuo4ABCParseInfo_Note_ArcEndings {
    TrecNuo4ABCParseInfo_PartHeader Header;  // the first run of ")"
    int32_t Value = 0;                       // arcs ending at this note, over all runs
};

// The parts most notes lack, kept out of line in the note record. Made from the voice
// records' pool, as the records themselves. A note with marks mostly has one of them, so each
// but the small arc ends is out of line again.
struct TrecNuo4ABCParseInfo_Note_Marks {
    TNuo4FormatOutOfLine<TrecNuo4ABCParseInfo_Note_ArcStartings> ArcStartings;
    TNuo4FormatOutOfLine<TrecNuo4ABCParseInfo_Note_Articulations> Articulations;
    TNuo4FormatOutOfLine<TrecNuo4ABCParseInfo_Note_Grace> Grace;
    TNuo4FormatOutOfLine<TrecNuo4ABCParseInfo_Note_ControlOptions> ControlOptions;
    TrecNuo4ABCParseInfo_Note_ArcEndings ArcEndings;
    // The runs of ")" after the first, when a control options group splits them.
    TNuo4FormatOutOfLine<TKoRangeArray> LaterArcEndRuns;

    static void* operator new(size_t ASize) { return VoiceRecordPool_Allocate(ASize); }
    static void operator delete(void* APtr, size_t ASize) noexcept {
        VoiceRecordPool_Release(APtr, ASize);
    }
};

// ---- What a voice symbol carries for the layout ------------------------------------------------

// Arc marks, volta text and articulations found in a voice symbol's text, handed to its symbol
// object: notes fill the arc and articulation parts, bar lines the volta part.
struct TrecNuo4ABCAttachmentsInfoWithinSectionVoice_Arc {
    int32_t ArcStartCount_Copy = 0;
    int32_t ArcEndCount_Copy = 0;
    TNuo4ABCArcStartingsInfoItems ArcStartings;
    TrecNuo4ABCParseInfo_Note_ArcEndings ArcEndings;
};

struct TrecNuo4ABCAttachmentsInfoWithinSectionVoice_FangZi {
    bool bWithFangZi = false;
    std::u16string FangeZiText;
};

struct TrecNuo4ABCAttachmentsInfoWithinSectionVoice {
    TrecNuo4ABCAttachmentsInfoWithinSectionVoice_Arc ArcInfo;
    TrecNuo4ABCAttachmentsInfoWithinSectionVoice_FangZi FangZiInfo;
    TNuo4ArticulationInfoItems Articulations;

    void SetToDefault() { *this = TrecNuo4ABCAttachmentsInfoWithinSectionVoice(); }
};

// ---- The note parse record -------------------------------------------------------------------

struct TrecNuo4ABCParseInfo_Note : TrecNuo4ABCParseInfo_VoiceSymbol {
    // Every note has pitches and most a duration: these stay in the record. Their parts'
    // places: pitNote_Pithces and pitNote_Duration with their ranges when present.
    TrecNuo4ABCParseInfo_PartHeader PitchesHeader() const {
        return PartAt(pitNote_Pithces, FPitchesRange);
    }
    TrecNuo4ABCParseInfo_PartHeader DurationHeader() const {
        return FDurationLength < 0
                   ? TrecNuo4ABCParseInfo_PartHeader()
                   : PartAt(pitNote_Duration,
                            TKoRange(FPitchesRange.StartIndex + FPitchesRange.Length,
                                     FDurationLength));
    }
    // One pitch for a single note, several for a chord.
    const TNuo4Pitches& PitchesValue() const { return FPitches; }
    // A note written without duration is a quarter.
    TNuo4Duration DurationValue() const { return FDuration; }
    void SetPitchesValue(TNuo4Pitches APitches) { FPitches = std::move(APitches); }
    void SetDurationValue(TNuo4Duration ADuration) { FDuration = ADuration; }
    // The reader's: the pitches' range, then the duration's, which stands directly after them.
    void SetPitchesRange(TKoRange ARange) { FPitchesRange = ARange; }
    void SetDurationLength(int32_t ALength) { FDurationLength = ALength; }

    // The other parts, read as the default (absent) part when the note has none of them.
    const TrecNuo4ABCParseInfo_Note_ArcStartings& ArcStartings() const {
        return FMarks.Get().ArcStartings.Get();
    }
    const TrecNuo4ABCParseInfo_Note_Articulations& Articulations() const {
        return FMarks.Get().Articulations.Get();
    }
    const TrecNuo4ABCParseInfo_Note_Grace& Grace() const { return FMarks.Get().Grace.Get(); }
    const TrecNuo4ABCParseInfo_Note_ControlOptions& ControlOptions() const {
        return FMarks.Get().ControlOptions.Get();
    }
    const TrecNuo4ABCParseInfo_Note_ArcEndings& ArcEndings() const {
        return FMarks.Get().ArcEndings;
    }
    TrecNuo4ABCParseInfo_Note_ArcStartings& MutArcStartings() {
        return FMarks.Mut().ArcStartings.Mut();
    }
    TrecNuo4ABCParseInfo_Note_Articulations& MutArticulations() {
        return FMarks.Mut().Articulations.Mut();
    }
    TrecNuo4ABCParseInfo_Note_Grace& MutGrace() { return FMarks.Mut().Grace.Mut(); }
    TrecNuo4ABCParseInfo_Note_ControlOptions& MutControlOptions() {
        return FMarks.Mut().ControlOptions.Mut();
    }
    TrecNuo4ABCParseInfo_Note_ArcEndings& MutArcEndings() { return FMarks.Mut().ArcEndings; }
    // A further run of ")" (the first is the ArcEndings part): its token, not its count.
    void AddLaterArcEndRun(TKoRange ARun) { FMarks.Mut().LaterArcEndRuns.Mut().push_back(ARun); }
    // Whether any of those parts is present.
    bool HasMarks() const { return FMarks.IsPresent(); }

    void SetToInvalid();
    bool IsValid() const { return Header.aType == pitNote; }

    // One token per present part, in text order (every run of ")" has its own).
    TNuo4ABCTokenInfoItems GetTokenItems() const override;

    // The full header of one part (APart one of pitNote_ArcStartings, pitNote_Articulations,
    // pitNote_Grace, pitNote_Pithces, pitNote_Duration, pitSymbolControlOptions,
    // pitNote_ArcEndings): its type and range and its tokens; the invalid header when the part
    // is absent.
    TrecNuo4ABCParseInfo_SymbolHeader GetPartHeader(TNuo4ABCParseInfoType APart) const;

    // A default note symbol record with the pitches, duration, grace notes (Grace.Value only)
    // and control options of this record.
    TrecNuo4SymbolNote ToSymbolRecNote() const;
    // The arc starts, arc-end count and articulations the note's symbol object receives.
    TrecNuo4ABCAttachmentsInfoWithinSectionVoice GetABCAttachmentsInfo() const;
    // The canonical text of the whole note: arc starts, articulations, grace, pitches,
    // duration, control options, arc ends.
    std::u16string ToABCText() const;

  private:
    static TrecNuo4ABCParseInfo_PartHeader PartAt(TNuo4ABCParseInfoType AType, TKoRange ARange) {
        TrecNuo4ABCParseInfo_PartHeader R;
        if (ARange.IsValid()) R.aType = AType, R.ABCTextRange = ARange;
        return R;
    }
    // Packed behind the header: a voice holds one record per note. The duration keeps only its
    // length (-1 when absent), as the reader takes it nowhere but right after the pitches.
    TNuo4Pitches FPitches;
    TKoRange FPitchesRange;
    int32_t FDurationLength = -1;
    TNuo4Duration FDuration = sd4th;
    TNuo4FormatOutOfLine<TrecNuo4ABCParseInfo_Note_Marks> FMarks;
};

// Reads one note from the start of ARange (the rest of a voice token). On failure the record is
// invalid and AEndPos is -1; on success AEndPos is the note's last character.
bool ReadNote(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Note& ANote, int32_t& AEndPos);

// A whole string read as one note (dialogs, clipboard): fills ANote when the string, after
// leading white space, begins with a note; the rest of the string is ignored.
bool GetSymbolRecNote_FromABCText(TText AString, TrecNuo4SymbolNote& ANote);

// ---- Shared pieces of the grammar ------------------------------------------------------------

// "[" pitch list "]" at the start of the range; AEndPos is the "]".
bool ReadChordPitches(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos);
// A single pitch or a chord at the start of the range.
bool ReadNotePitches(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos);
// The inner text of a grace group, exactly: a pitch list, optionally ";" and a second list, or
// ";" and a list.
bool ReadGraceInner(TText AText, TKoRange AInner, TNuo4Pitches& AValue, TNuo4Pitches& AValue2);
// The inner text of an articulation group: comma pieces naming articulations (ignoring case);
// other pieces are ignored, at least one must match.
bool ReadArticulationsInner(TText AText, TKoRange AInner, TNuo4ArticulationInfoItems& AItems);

// ---- Sub-part writers ------------------------------------------------------------------------

// One pitch bare, several in "[" "]", nothing for none.
std::u16string ToABCText_Pitches(const TNuo4Pitches& APitches);
// "{" pitches "}" (with ";" and the second list when it is not empty); nothing for none.
std::u16string ToABCText_Grace(const TNuo4Pitches& AValue, const TNuo4Pitches& AValue2 = {});
std::u16string ToABCText_Duration(TNuo4Duration ADuration);
// ")" repeated.
std::u16string ToABCText_ArcEndings(int32_t ACount);
// A new note: its pitch or chord directly followed by its duration.
std::u16string ToABCText_NewNote(const TNuo4Pitches& APitches, TNuo4Duration ADuration);
std::u16string ToABCText_NewNote(const TrecNuo4MusicPureNote& ANote);

}  // namespace nuo4
