#include "format/symbol_note.h"

#include <algorithm>

#include "format/pitches.h"

namespace nuo4 {

namespace {

// The phases of reading a note, in the order its parts may appear.
enum TNoteReadPhase : uint8_t {
    nrpStart,
    nrpArcStarts,
    nrpArticulations,
    nrpGrace,
    nrpPitches,
    nrpDuration,
    nrpControlOptions,
    nrpArcEnds,
};

bool IsPitchStartChar(char16_t C) {
    return C == u'#' || C == u'b' || (C >= u'0' && C <= u'9') || C == u'x' || C == u'X' ||
           C == u'[';
}

bool IsDurationChar(char16_t C) {
    return C == u'-' || C == u'.' || C == u'_' || C == u'f' || C == u'j' || C == u'z';
}

// Reads an integer that fills the whole range.
bool ReadWholeInt(TText AText, TKoRange ARange, int32_t& AValue) {
    int32_t End = -1;
    return ABC_ParseInt(AText, ARange, AValue, End) && End == ARange.EndIndex();
}

// Reads "N" or "N:D" filling the whole piece.
bool ReadTupletItem(TText AText, TKoRange APiece, int32_t& ANumber, int32_t& ADuration) {
    int32_t N = 0, End = -1;
    if (!ABC_ParseInt(AText, APiece, N, End)) return false;
    if (End == APiece.EndIndex()) {
        ANumber = N;
        ADuration = 0;
        return true;
    }
    if (AText[End + 1] != u':' || End + 2 > APiece.EndIndex()) return false;
    int32_t D = 0;
    if (!ReadWholeInt(AText, TKoRange::FromStartEnd(End + 2, APiece.EndIndex()), D)) return false;
    ANumber = N;
    ADuration = D;
    return true;
}

// A stored sub-part: its header gets the type and the range. A part read again replaces the
// earlier one, so its token (made from the header) names the part in force.
void StoreSubPart(TrecNuo4ABCParseInfo_PartHeader& APart, TNuo4ABCParseInfoType AType,
                  TKoRange ARange) {
    APart.aType = AType;
    APart.ABCTextRange = ARange;
}

// Whether the group starting at AOpen (a "{" whose "}" is AClose) is an arc start group, and
// its properties.
bool ReadArcStartGroup(TText AText, int32_t AOpen, int32_t AClose, TrecNuo4ArcABCInfo& AInfo) {
    if (AClose < AOpen + 2 || AText[AOpen + 1] != u'(') return false;
    return ReadArcABCInfo(AText, TKoRange(AOpen + 2, AClose - AOpen - 2), AInfo);
}

// A run of "(" and arc start groups from APos; returns the position after the run.
int32_t ReadArcStartRun(TText AText, int32_t APos, int32_t ALast,
                        TNuo4ABCArcStartingsInfoItems& AItems) {
    AItems.clear();
    int32_t P = APos;
    while (P <= ALast) {
        if (AText[P] == u'(') {
            TrecNuo4ABCArcStartingsInfoItem Item;
            Item.TextRange = TKoRange(P, 1);
            AItems.push_back(Item);
            ++P;
            continue;
        }
        if (AText[P] != u'{') break;
        const int32_t Close =
            ABC_FindMatchingClose(AText, TKoRange::FromStartEnd(P, ALast), u"{", u"}");
        TrecNuo4ArcABCInfo Info;
        if (Close < 0 || !ReadArcStartGroup(AText, P, Close, Info)) break;
        TrecNuo4ABCArcStartingsInfoItem Item;
        Item.ABCInfo = Info;
        Item.TextRange = TKoRange::FromStartEnd(P, Close);
        AItems.push_back(Item);
        P = Close + 1;
    }
    return P;
}

}  // namespace

// ---- Arc starts ------------------------------------------------------------------------------

std::u16string ToABCText_ArcStarting(const TrecNuo4ArcABCInfo& AInfo) {
    if (AInfo.IsDefault()) return u"(";
    const std::u16string N = ABC_FormatInt(AInfo.TupletNumber);
    const std::u16string ND = N + u":" + ABC_FormatInt(AInfo.Duration);
    const std::u16string V = ABC_FormatFloat(AInfo.VertOffsetCoef, 2);
    if (AInfo.TupletNumber == 0 && AInfo.Duration == 0 && AInfo.ArrowStyle == aasNone)
        return u"{(," + V + u"}";
    if (AInfo.VertOffsetCoef == 0 && AInfo.ArrowStyle == aasNone)
        return u"{(" + (AInfo.Duration != 0 ? ND : N) + u"}";
    if (AInfo.ArrowStyle == aasNone) return u"{(" + ND + u"," + V + u"}";
    return u"{(" + ND + u"," + V + u"," + ABC_FormatInt(AInfo.ArrowStyle) + u"}";
}

bool ReadArcABCInfo(TText AText, TKoRange ARange, TrecNuo4ArcABCInfo& AInfo) {
    AInfo.SetToDefault();
    if (!ABC_RangeIsUsable(AText, ARange)) return ARange.IsEmpty();
    const TKoRangeArray Items = ABC_SplitBySeparator(AText, ARange, u',', true, true);
    TrecNuo4ArcABCInfo Info;
    if (Items.size() > 0 && Items[0].IsNonEmpty() &&
        !ReadTupletItem(AText, Items[0], Info.TupletNumber, Info.Duration))
        return false;
    if (Items.size() > 1 && Items[1].IsNonEmpty()) {
        float V = 0;
        int32_t End = -1;
        if (ABC_ParseFloat(AText, Items[1], true, V, End)) Info.VertOffsetCoef = V;
    }
    if (Items.size() > 2 && Items[2].IsNonEmpty()) {
        int32_t S = 0;
        // Only the named styles; anything else keeps the default rather than an invalid value.
        if (ReadWholeInt(AText, Items[2], S) && S >= 0 && S < Nuo4ArcArrowStyleCount)
            Info.ArrowStyle = static_cast<TNuo4ArcArrowStyle>(S);
    }
    AInfo = Info;
    return true;
}

// ---- Articulations ---------------------------------------------------------------------------

std::u16string ToABCText_Articulations(const TNuo4Articulations& AItems) {
    if (AItems.empty()) return u"";
    std::u16string S = u"{";
    for (size_t I = 0; I < AItems.size(); ++I) {
        if (I > 0) S += u',';
        S += ArticulationName(AItems[I]);
    }
    return S + u"}";
}

std::u16string ToABCText_Articulations(const TNuo4ArticulationInfoItems& AItems) {
    TNuo4Articulations List;
    for (const auto& Item : AItems) List.push_back(Item.Articulation);
    return ToABCText_Articulations(List);
}

bool ReadArticulationsInner(TText AText, TKoRange AInner, TNuo4ArticulationInfoItems& AItems) {
    AItems.clear();
    if (!ABC_RangeIsUsable(AText, AInner)) return false;
    for (const TKoRange& Piece : ABC_SplitBySeparator(AText, AInner, u',', true, true)) {
        if (!Piece.IsNonEmpty()) continue;
        for (int A = 0; A < Nuo4ArticulationCount; ++A) {
            const auto Art = static_cast<TNuo4Articulation>(A);
            if (ABC_RangeEquals(AText, Piece, ArticulationName(Art), true)) {
                AItems.push_back({Art, Piece});
                break;
            }
        }
    }
    return !AItems.empty();
}

// ---- Pitches and grace -----------------------------------------------------------------------

bool ReadChordPitches(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos) {
    APitches.clear();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange) || AText[ARange.StartIndex] != u'[' || ARange.Length < 3)
        return false;
    TNuo4Pitches List;
    int32_t End = -1;
    if (!ReadPitchList(AText, TKoRange::FromStartEnd(ARange.StartIndex + 1, ARange.EndIndex()),
                       List, End))
        return false;
    if (End + 1 > ARange.EndIndex() || AText[End + 1] != u']') return false;
    APitches = std::move(List);
    AEndPos = End + 1;
    return true;
}

bool ReadNotePitches(TText AText, TKoRange ARange, TNuo4Pitches& APitches, int32_t& AEndPos) {
    APitches.clear();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    if (AText[ARange.StartIndex] == u'[') return ReadChordPitches(AText, ARange, APitches, AEndPos);
    TrecNuo4Pitch Pitch;
    if (!ReadPitch(AText, ARange, Pitch, AEndPos)) return false;
    APitches.push_back(Pitch);
    return true;
}

bool ReadGraceInner(TText AText, TKoRange AInner, TNuo4Pitches& AValue, TNuo4Pitches& AValue2) {
    AValue.clear();
    AValue2.clear();
    if (!ABC_RangeIsUsable(AText, AInner)) return false;
    const int32_t Last = AInner.EndIndex();
    TNuo4Pitches First, Second;
    int32_t P = AInner.StartIndex;
    if (AText[P] != u';') {
        int32_t End = -1;
        if (!ReadPitchList(AText, AInner, First, End)) return false;
        if (End == Last) {
            AValue = std::move(First);
            return true;
        }
        P = End + 1;
        if (AText[P] != u';') return false;
    }
    // P is at ";": a second list must fill the rest.
    int32_t End = -1;
    if (P + 1 > Last || !ReadPitchList(AText, TKoRange::FromStartEnd(P + 1, Last), Second, End) ||
        End != Last)
        return false;
    AValue = std::move(First);
    AValue2 = std::move(Second);
    return true;
}

// ---- The note --------------------------------------------------------------------------------

void TrecNuo4ABCParseInfo_Note::SetToInvalid() {
    // Field by field, without temporaries: the voice scan resets a record for every symbol.
    Header.SetToInvalid();
    FPitches.clear();
    FPitchesRange.SetToInvalid();
    FDurationLength = -1;
    FDuration = sd4th;
    FMarks.Reset();
}

TrecNuo4ABCParseInfo_SymbolHeader TrecNuo4ABCParseInfo_Note::GetPartHeader(
    TNuo4ABCParseInfoType APart) const {
    const TrecNuo4ABCParseInfo_PartHeader* Part = nullptr;
    TNuo4ABCTokenType Token = ttUnknown;
    const TrecNuo4ABCParseInfo_PartHeader PitchesPart = PitchesHeader();
    const TrecNuo4ABCParseInfo_PartHeader DurationPart = DurationHeader();
    switch (APart) {
        case pitNote_ArcStartings:
            Part = &ArcStartings().Header, Token = ttNote_ArcStartings;
            break;
        case pitNote_Articulations:
            Part = &Articulations().Header, Token = ttNote_Articulations;
            break;
        case pitNote_Grace:
            Part = &Grace().Header, Token = ttNote_Grace;
            break;
        case pitNote_Pithces:
            Part = &PitchesPart, Token = ttNote_Pitches;
            break;
        case pitNote_Duration:
            Part = &DurationPart, Token = ttNote_Duration;
            break;
        case pitSymbolControlOptions:
            Part = &ControlOptions().Header, Token = ttControlOptions;
            break;
        case pitNote_ArcEndings:
            Part = &ArcEndings().Header, Token = ttNote_ArcEndings;
            break;
        default:
            break;
    }
    TrecNuo4ABCParseInfo_SymbolHeader R;
    if (!Part || !Part->IsValid()) return R;
    R.aType = Part->aType;
    R.ABCTextRange = Part->ABCTextRange;
    R.TokenItems.AddItem(Token, Part->ABCTextRange);
    if (Token == ttNote_ArcEndings) {
        // Every run of ")" has its token, in text order.
        for (const TKoRange& Run : FMarks.Get().LaterArcEndRuns.Get())
            R.TokenItems.AddItem(Token, Run);
    }
    return R;
}

TNuo4ABCTokenInfoItems TrecNuo4ABCParseInfo_Note::GetTokenItems() const {
    TNuo4ABCTokenInfoItems R;
    auto Add = [&R](TNuo4ABCTokenType AType, const TrecNuo4ABCParseInfo_PartHeader& APart) {
        if (APart.IsValid()) R.AddItem(AType, APart.ABCTextRange);
    };
    if (FMarks.IsPresent()) {
        const TrecNuo4ABCParseInfo_Note_Marks& M = FMarks.Get();
        Add(ttNote_ArcStartings, M.ArcStartings.Get().Header);
        Add(ttNote_Articulations, M.Articulations.Get().Header);
        Add(ttNote_Grace, M.Grace.Get().Header);
        Add(ttNote_Pitches, PitchesHeader());
        Add(ttNote_Duration, DurationHeader());
        Add(ttControlOptions, M.ControlOptions.Get().Header);
        Add(ttNote_ArcEndings, M.ArcEndings.Header);
        for (const TKoRange& Run : M.LaterArcEndRuns.Get()) R.AddItem(ttNote_ArcEndings, Run);
        // The parts were read left to right, but the groups before the pitches may stand in
        // any order.
        std::stable_sort(R.begin(), R.end(), [](const auto& A, const auto& B) {
            return A.ABCTextRange.StartIndex < B.ABCTextRange.StartIndex;
        });
    } else {
        Add(ttNote_Pitches, PitchesHeader());
        Add(ttNote_Duration, DurationHeader());
    }
    return R;
}

namespace {

// Reads into N, which starts invalid; on failure N may hold parts and the caller resets it.
bool ReadNoteParts(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Note& N, int32_t& AEndPos) {
    auto& H = N.Header;
    const int32_t First = ARange.StartIndex;
    const int32_t Last = ARange.EndIndex();
    TNoteReadPhase Phase = nrpStart;
    int32_t P = First;

    while (P <= Last) {
        const char16_t C = AText[P];
        const bool bAfterPitches = Phase >= nrpPitches;

        if (C == u'(') {
            if (bAfterPitches) break;
            TNuo4ABCArcStartingsInfoItems Items;
            const int32_t Next = ReadArcStartRun(AText, P, Last, Items);
            auto& Arcs = N.MutArcStartings();
            StoreSubPart(Arcs.Header, pitNote_ArcStartings, TKoRange::FromStartEnd(P, Next - 1));
            Arcs.Value = std::move(Items);
            Phase = nrpArcStarts;
            P = Next;
            continue;
        }

        if (C == u'{') {
            const int32_t Close =
                ABC_FindMatchingClose(AText, TKoRange::FromStartEnd(P, Last), u"{", u"}");
            if (Close < 0) return false;
            const TKoRange Inner(P + 1, Close - P - 1);
            const TKoRange Group = TKoRange::FromStartEnd(P, Close);
            if (!bAfterPitches) {
                TrecNuo4ArcABCInfo ArcInfo;
                TNuo4Pitches G1, G2;
                TNuo4ArticulationInfoItems Arts;
                if (Inner.Length == 0) {
                    // An empty group before the pitches is skipped.
                } else if (ReadArcStartGroup(AText, P, Close, ArcInfo)) {
                    TNuo4ABCArcStartingsInfoItems Items;
                    const int32_t Next = ReadArcStartRun(AText, P, Last, Items);
                    auto& Arcs = N.MutArcStartings();
                    StoreSubPart(Arcs.Header, pitNote_ArcStartings,
                                 TKoRange::FromStartEnd(P, Next - 1));
                    Arcs.Value = std::move(Items);
                    Phase = nrpArcStarts;
                    P = Next;
                    continue;
                } else if (ReadGraceInner(AText, Inner, G1, G2)) {
                    auto& Grace = N.MutGrace();
                    StoreSubPart(Grace.Header, pitNote_Grace, Group);
                    Grace.Value = std::move(G1);
                    Grace.Value2 = std::move(G2);
                    Phase = nrpGrace;
                } else if (ReadArticulationsInner(AText, Inner, Arts)) {
                    auto& Marks = N.MutArticulations();
                    StoreSubPart(Marks.Header, pitNote_Articulations, Group);
                    Marks.Value = std::move(Arts);
                    Phase = nrpArticulations;
                }
                // Control options and unknown groups before the pitches are skipped.
                P = Close + 1;
                continue;
            }
            TrecNuo4SymbolControlOptions Options;
            if (Inner.Length > 0 && ReadSymbolControlOptionsInner(AText, Inner, Options)) {
                auto& Control = N.MutControlOptions();
                StoreSubPart(Control.Header, pitSymbolControlOptions, Group);
                Control.Value = Options;
                Phase = nrpControlOptions;
                P = Close + 1;
                continue;
            }
            // A token that ends with an empty group after the pitches forms no note.
            if (Inner.Length == 0 && Close == Last) return false;
            break;
        }

        if (IsPitchStartChar(C)) {
            if (bAfterPitches) break;
            TNuo4Pitches List;
            int32_t End = -1;
            if (!ReadNotePitches(AText, TKoRange::FromStartEnd(P, Last), List, End)) return false;
            N.SetPitchesRange(TKoRange::FromStartEnd(P, End));
            N.SetPitchesValue(std::move(List));
            Phase = nrpPitches;
            P = End + 1;
            continue;
        }

        if (IsDurationChar(C)) {
            // Only directly after the pitches; anywhere else it spoils the note.
            if (Phase != nrpPitches) return false;
            TNuo4Duration D = sd4th;
            int32_t End = -1;
            if (!ReadDuration(AText, TKoRange::FromStartEnd(P, Last), D, End)) return false;
            N.SetDurationLength(End - P + 1);
            N.SetDurationValue(D);
            Phase = nrpDuration;
            P = End + 1;
            continue;
        }

        if (C == u')') {
            if (!bAfterPitches) return false;
            int32_t End = P;
            while (End + 1 <= Last && AText[End + 1] == u')') ++End;
            const TKoRange Run = TKoRange::FromStartEnd(P, End);
            auto& Ends = N.MutArcEndings();
            if (!Ends.Header.IsValid()) {
                StoreSubPart(Ends.Header, pitNote_ArcEndings, Run);
            } else {
                // Later runs add to the count; each keeps its token for the editor.
                N.AddLaterArcEndRun(Run);
            }
            Ends.Value += Run.Length;
            Phase = nrpArcEnds;
            P = End + 1;
            continue;
        }

        if (!bAfterPitches) return false;
        break;
    }
    if (Phase < nrpPitches) return false;

    if (!N.ArcStartings().Value.empty()) {
        auto& Items = N.MutArcStartings().Value;
        for (size_t I = 0; I < Items.size(); ++I)
            Items[I].Depth = static_cast<int32_t>(Items.size() - 1 - I);
    }

    H.aType = pitNote;
    H.ABCTextRange = TKoRange::FromStartEnd(First, P - 1);
    AEndPos = P - 1;
    return true;
}

}  // namespace

bool ReadNote(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Note& ANote, int32_t& AEndPos) {
    // Read in place: a note record is large and the voice scan reads one per symbol.
    ANote.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    if (ReadNoteParts(AText, ARange, ANote, AEndPos)) return true;
    ANote.SetToInvalid();
    AEndPos = -1;
    return false;
}

TrecNuo4SymbolNote TrecNuo4ABCParseInfo_Note::ToSymbolRecNote() const {
    TrecNuo4SymbolNote R;
    R.MainNote.Initialize(FPitches.empty() ? TrecNuo4Pitch() : FPitches.front(), FDuration);
    R.SetPitches_Main(FPitches);
    R.SetGrace(Grace().Value);
    R.ControlOptions = ControlOptions().Value;
    return R;
}

TrecNuo4ABCAttachmentsInfoWithinSectionVoice TrecNuo4ABCParseInfo_Note::GetABCAttachmentsInfo()
    const {
    TrecNuo4ABCAttachmentsInfoWithinSectionVoice R;
    R.ArcInfo.ArcStartCount_Copy = static_cast<int32_t>(ArcStartings().Value.size());
    R.ArcInfo.ArcEndCount_Copy = ArcEndings().Value;
    R.ArcInfo.ArcStartings = ArcStartings().Value;
    R.ArcInfo.ArcEndings = ArcEndings();
    R.Articulations = Articulations().Value;
    return R;
}

std::u16string TrecNuo4ABCParseInfo_Note::ToABCText() const {
    std::u16string S;
    const TrecNuo4ABCParseInfo_Note_Marks& M = FMarks.Get();
    for (const auto& Item : M.ArcStartings.Get().Value) S += ToABCText_ArcStarting(Item.ABCInfo);
    S += ToABCText_Articulations(M.Articulations.Get().Value);
    S += ToABCText_Grace(M.Grace.Get().Value, M.Grace.Get().Value2);
    S += ToABCText_Pitches(FPitches);
    S += ToABCText_Duration(FDuration);
    S += M.ControlOptions.Get().Value.ToABCText();
    S += ToABCText_ArcEndings(M.ArcEndings.Value);
    return S;
}

bool GetSymbolRecNote_FromABCText(TText AString, TrecNuo4SymbolNote& ANote) {
    const TKoRange All(0, static_cast<int32_t>(AString.size()));
    const int32_t Start = ABC_FindFirstNonWhite(AString, All);
    if (Start < 0) return false;
    TrecNuo4ABCParseInfo_Note Parsed;
    int32_t End = -1;
    if (!ReadNote(AString, TKoRange::FromStartEnd(Start, All.EndIndex()), Parsed, End))
        return false;
    ANote = Parsed.ToSymbolRecNote();
    return true;
}

// ---- Writers ---------------------------------------------------------------------------------

std::u16string ToABCText_Pitches(const TNuo4Pitches& APitches) {
    return Pitches_ToABCText_Chord(APitches);
}

std::u16string ToABCText_Grace(const TNuo4Pitches& AValue, const TNuo4Pitches& AValue2) {
    if (AValue.empty() && AValue2.empty()) return u"";
    std::u16string S = u"{" + Pitches_ToABCText(AValue);
    if (!AValue2.empty()) S += u";" + Pitches_ToABCText(AValue2);
    return S + u"}";
}

std::u16string ToABCText_Duration(TNuo4Duration ADuration) {
    return Duration_ToABCText(ADuration);
}

std::u16string ToABCText_ArcEndings(int32_t ACount) {
    return ACount > 0 ? std::u16string(static_cast<size_t>(ACount), u')') : std::u16string();
}

std::u16string ToABCText_NewNote(const TNuo4Pitches& APitches, TNuo4Duration ADuration) {
    return ToABCText_Pitches(APitches) + ToABCText_Duration(ADuration);
}

std::u16string ToABCText_NewNote(const TrecNuo4MusicPureNote& ANote) {
    return ToABCText_NewNote(TNuo4Pitches{ANote.Pitch}, ANote.Duration);
}

}  // namespace nuo4
