#include "format/text_element.h"

#include <cmath>
#include <cstdio>

#include "format/doc_options.h"
#include "format/pitches.h"

namespace nuo4 {

const char* EnumName(TNuo4TextElementType AValue) {
    static const char* const Names[] = {"stetInvalid",
                                        "stetWhiteSpace",
                                        "stetGap",
                                        "stetNormalText",
                                        "stetMultiLineRightAlignText",
                                        "stetKeyAndMeters",
                                        "stetPureNote",
                                        "stetTempo",
                                        "stetGrace",
                                        "stetChord",
                                        "stetBarNumber",
                                        "stetWaveLine",
                                        "stetSolidLine",
                                        "stetGeneralLine",
                                        "stetRectangle",
                                        "stetEllipse",
                                        "stetArc"};
    return AValue <= stetArc ? Names[AValue] : "?";
}

const char* EnumName(TNuo4TempoIsType AValue) {
    switch (AValue) {
        case tit4th:
            return "tit4th";
        case tit8th:
            return "tit8th";
        case tit4thDot:
            return "tit4thDot";
    }
    return "?";
}

const char* EnumName(TNuo4GeneralLineType AValue) {
    static const char* const Names[] = {"gltSolidLine",
                                        "gltDashedLine",
                                        "gltDottedLine",
                                        "gltWaveline",
                                        "gltSolidLine_Arrow",
                                        "gltWaveline_Arrow",
                                        "gltSolidLine_Arrow_SingleSide"};
    return AValue < Nuo4GeneralLineTypeCount ? Names[AValue] : "?";
}

// ---- Element record ----------------------------------------------------------------------

void TRecNuo4TextElement::SetNormalText(std::u16string AText) {
    NormalText = ABC_CutToCapacity(std::move(AText), Nuo4CharArray2Capacity);
}

bool TRecNuo4TextElement::IsNormalText(std::u16string& AText) const {
    if (aType != stetNormalText) return false;
    AText = NormalText;
    return true;
}

bool TRecNuo4TextElement::IsPureNote(TrecNuo4MusicPureNote& ANote) const {
    if (aType != stetPureNote) return false;
    ANote = PureNote;
    return true;
}

bool TRecNuo4TextElement::IsKeyAndMeters(TrecNuo4KeyAndMeters& AValue) const {
    if (aType != stetKeyAndMeters) return false;
    AValue = KeyAndMeters;
    return true;
}

bool TRecNuo4TextElement::IsBarNumber(std::u16string& ABarNumber) const {
    if (aType != stetBarNumber) return false;
    ABarNumber = sBarNumber;
    return true;
}

bool TRecNuo4TextElement::IsChord(TNuo4Pitches& APitches, TNuo4NoteSubStyle& ASubStyle) const {
    if (aType != stetChord) return false;
    APitches = ChordPitches;
    ASubStyle = ChordSubStyle;
    return true;
}

bool TRecNuo4TextElement::IsChord_SingleNote(TrecNuo4Pitch& APitch) const {
    if (aType != stetChord || ChordPitches.size() != 1) return false;
    APitch = ChordPitches[0];
    return true;
}

bool TRecNuo4TextElement::IsArc(float& ALength, int32_t& AStyle) const {
    if (aType != stetArc) return false;
    ALength = Arc_Length;
    AStyle = Arc_Style;
    return true;
}

bool TRecNuo4TextElement::IsWaveLine(bool& bVert, float& ALength) const {
    if (aType != stetWaveLine) return false;
    bVert = WaveLine_bVert;
    ALength = WaveLine_Length;
    return true;
}

bool TRecNuo4TextElement::IsSolidLine(bool& bVert, float& ALength) const {
    if (aType != stetSolidLine) return false;
    bVert = SolidLine_bVert;
    ALength = SolidLine_Length;
    return true;
}

bool TRecNuo4TextElement::IsGeneralLine(TNuo4GeneralLineType& AType, bool& bVert,
                                        float& ALength) const {
    if (aType != stetGeneralLine) return false;
    AType = GeneralLine_Type;
    bVert = GeneralLine_bVert;
    ALength = GeneralLine_Length;
    return true;
}

bool TRecNuo4TextElement::IsRectangle(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const {
    if (aType != stetRectangle) return false;
    ASize = Rectangle_Size;
    bDashed = Rectangle_bDashed;
    bFilled = Rectangle_bFilled;
    return true;
}

bool TRecNuo4TextElement::IsEllipse(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const {
    if (aType != stetEllipse) return false;
    ASize = Ellipse_Size;
    bDashed = Ellipse_bDashed;
    bFilled = Ellipse_bFilled;
    return true;
}

double TRecNuo4TextElement::GetTempo_BPM() const {
    if (aType != stetTempo) return 0;
    switch (TempoIsType) {
        case tit4th:
            return Tempo;
        case tit8th:
            return Tempo * 0.5;
        case tit4thDot:
            return Tempo * 1.5;
    }
    return 0;
}

namespace {

std::u16string EscapeNormalText(TText S) {
    std::u16string R;
    for (char16_t C : S) {
        const bool bForce = C == u'{' || C == u'}' || C == u'"' || C == u'\\';
        R += ABC_EscapeChar(C, true, bForce);
    }
    return R;
}

std::u16string LineText(TText APrefix, float ALength) {
    return u"{" + std::u16string(APrefix) + ABC_FormatFloat(ALength, 1) + u"}";
}

std::u16string ShapeText(TText APrefix, const TrecNuo4SizeF& ASize, bool bFilled, bool bDashed) {
    return u"{" + std::u16string(APrefix) + ABC_FormatFloat(ASize.Width, 2) + u"," +
           ABC_FormatFloat(ASize.Height, 2) + u"," + ABC_BoolToText(bFilled) + u"," +
           ABC_BoolToText(bDashed) + u"}";
}

}  // namespace

std::u16string TRecNuo4TextElement::ToABCText() const {
    switch (aType) {
        case stetInvalid:
        case stetMultiLineRightAlignText:
            return u"";
        case stetWhiteSpace: {
            std::u16string S;
            for (int32_t I = 0; I < WhiteSpaceCount; ++I) S += u"\\s";
            return S;
        }
        case stetGap:
            return u"{GAP:" + ABC_FormatFloat(Gap, 2) + u"}";
        case stetNormalText:
            return EscapeNormalText(NormalText);
        case stetKeyAndMeters: {
            std::u16string S;
            if (KeyAndMeters.Key.IsValid()) S = KeyAndMeters.Key.ToABCString(false);
            for (const auto& M : KeyAndMeters.Meters) {
                if (!S.empty()) S += u",";
                S += M.ToABCString(false);
            }
            return u"{" + S + u"}";
        }
        case stetPureNote:
            return GetABCText_PureNote(PureNote);
        case stetTempo: {
            const char16_t* Prefix =
                TempoIsType == tit8th ? u"J_=" : (TempoIsType == tit4thDot ? u"J.=" : u"J=");
            return u"{" + std::u16string(Prefix) + ABC_FormatInt(Tempo) + u"}";
        }
        case stetGrace:
            return u"{" + std::u16string(bGraceIsRight ? u"hyy:" : u"qyy:") +
                   Pitches_ToABCText(GracePitches) + (bGraceIs8th ? u",true" : u"") + u"}";
        case stetChord:
            return u"{[" + Pitches_ToABCText(ChordPitches) + u"]," +
                   NoteSubStyleName(ChordSubStyle) + u"}";
        case stetBarNumber:
            return GetABCText_BarNumber(TText(sBarNumber));
        case stetWaveLine:
            return LineText(WaveLine_bVert ? u"wlv:" : u"wlh:", WaveLine_Length);
        case stetSolidLine:
            return LineText(SolidLine_bVert ? u"slv:" : u"slh:", SolidLine_Length);
        case stetGeneralLine:
            return u"{" + std::u16string(GeneralLine_bVert ? u"glv:" : u"glh:") +
                   ABC_FormatInt(GeneralLine_Type) + u"," + ABC_FormatFloat(GeneralLine_Length, 1) +
                   u"}";
        case stetRectangle:
            return ShapeText(u"rct:", Rectangle_Size, Rectangle_bFilled, Rectangle_bDashed);
        case stetEllipse:
            return ShapeText(u"els:", Ellipse_Size, Ellipse_bFilled, Ellipse_bDashed);
        case stetArc:
            return u"{arc:" + ABC_FormatFloat(Arc_Length, 2) + u"," + ABC_FormatInt(Arc_Style) +
                   u"}";
    }
    return u"";
}

// ---- Element writers ---------------------------------------------------------------------

std::u16string GetABCText_BarNumber(int32_t ABarNumber) {
    char Buf[24];
    std::snprintf(Buf, sizeof Buf, "%.2d", ABarNumber);
    std::u16string S;
    for (const char* P = Buf; *P; ++P) S += static_cast<char16_t>(*P);
    return GetABCText_BarNumber(TText(S));
}

std::u16string GetABCText_BarNumber(TText ABarNumber) {
    return u"{bny:" + std::u16string(ABarNumber) + u"}";
}

std::u16string GetABCText_NormalText(TText AText) {
    return std::u16string(AText);
}

std::u16string GetABCText_PureNote(const TrecNuo4MusicPureNote& ANote) {
    return u"{" + ANote.Pitch.ToABCText() + Duration_ToABCText(ANote.Duration) + u"}";
}

// ---- Element reader ----------------------------------------------------------------------

namespace {

// The range after a case-insensitive prefix, trimmed; invalid when nothing but white follows.
bool AfterPrefix(TText AText, TKoRange AInner, TText APrefix, TKoRange& ARest) {
    if (!ABC_StartsWith(AText, AInner, APrefix, false, true)) return false;
    const int32_t Len = static_cast<int32_t>(APrefix.size());
    ARest = AInner.Length > Len
                ? ABC_TrimRange(AText, TKoRange(AInner.StartIndex + Len, AInner.Length - Len))
                : TKoRange::Invalid();
    return true;
}

bool WholeFloat(TText AText, TKoRange APiece, float& AValue) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ABC_ParseFloat(AText, APiece, true, AValue, End);
}

bool WholeInt(TText AText, TKoRange APiece, int32_t& AValue) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ABC_ParseInt(AText, APiece, AValue, End) &&
           End == APiece.EndIndex();
}

bool WholeBool(TText AText, TKoRange APiece, bool& AValue) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ABC_ParseBool(AText, APiece, false, AValue, End) &&
           End == APiece.EndIndex();
}

bool WholePitchList(TText AText, TKoRange APiece, TNuo4Pitches& APitches) {
    int32_t End = -1;
    return APiece.IsNonEmpty() && ReadPitchList(AText, APiece, APitches, End) &&
           End == APiece.EndIndex();
}

bool ReadGap(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    if (!AfterPrefix(AText, AInner, u"GAP:", Rest) || !WholeFloat(AText, Rest, E.Gap)) return false;
    E.aType = stetGap;
    return true;
}

bool ReadGrace(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    bool bRight = false;
    if (AfterPrefix(AText, AInner, u"hyy:", Rest))
        bRight = true;
    else if (!AfterPrefix(AText, AInner, u"qyy:", Rest))
        return false;
    if (!Rest.IsNonEmpty()) return false;
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, Rest, u',', false, true);
    if (Pieces.empty() || Pieces.size() > 2) return false;
    TNuo4Pitches Pitches;
    if (!WholePitchList(AText, Pieces[0], Pitches)) return false;
    bool b8th = false;
    if (Pieces.size() == 2 && !WholeBool(AText, Pieces[1], b8th)) return false;
    E.aType = stetGrace;
    E.GracePitches = std::move(Pitches);
    E.bGraceIsRight = bRight;
    E.bGraceIs8th = b8th;
    return true;
}

bool ReadBarNumber(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    if (!ABC_StartsWith(AText, AInner, u"bny:", false, true) || AInner.Length <= 4) return false;
    const TKoRange Rest(AInner.StartIndex + 4, AInner.Length - 4);
    if (ABC_RangeIsWhite(AText, Rest)) return false;
    E.aType = stetBarNumber;
    E.sBarNumber = ABC_GetRangeText(AText, Rest);
    return true;
}

// "wlv:"/"wlh:" and "slv:"/"slh:" + length.
bool ReadSimpleLine(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    float Length = 0;
    for (const bool bWave : {true, false}) {
        for (const bool bVert : {true, false}) {
            const TText Prefix = bWave ? (bVert ? u"wlv:" : u"wlh:") : (bVert ? u"slv:" : u"slh:");
            if (!AfterPrefix(AText, AInner, Prefix, Rest)) continue;
            if (!WholeFloat(AText, Rest, Length)) return false;
            if (bWave) {
                E.aType = stetWaveLine;
                E.WaveLine_bVert = bVert;
                E.WaveLine_Length = Length;
            } else {
                E.aType = stetSolidLine;
                E.SolidLine_bVert = bVert;
                E.SolidLine_Length = Length;
            }
            return true;
        }
    }
    return false;
}

bool ReadGeneralLine(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    bool bVert = false;
    if (AfterPrefix(AText, AInner, u"glv:", Rest))
        bVert = true;
    else if (!AfterPrefix(AText, AInner, u"glh:", Rest))
        return false;
    if (!Rest.IsNonEmpty()) return false;
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, Rest, u',', false, true);
    int32_t Type = 0;
    float Length = 0;
    if (Pieces.size() != 2 || !WholeInt(AText, Pieces[0], Type) || Type < 0 ||
        Type >= Nuo4GeneralLineTypeCount || !WholeFloat(AText, Pieces[1], Length))
        return false;
    E.aType = stetGeneralLine;
    E.GeneralLine_Type = static_cast<TNuo4GeneralLineType>(Type);
    E.GeneralLine_bVert = bVert;
    E.GeneralLine_Length = Length;
    return true;
}

bool ReadKeyAndMetersElement(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TrecNuo4KeyAndMeters Value;
    int32_t End = -1;
    // Only a group that is entirely a key-and-meters text counts ("{Gabc}" is plain text).
    if (!ReadKeyAndMeters(AText, AInner, Value, End) || End != AInner.EndIndex()) return false;
    E.aType = stetKeyAndMeters;
    E.KeyAndMeters = std::move(Value);
    return true;
}

bool ReadPureNoteElement(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TrecNuo4MusicPureNote Note;
    int32_t End = -1;
    if (!ReadPureNote(AText, AInner, Note, End) || End != AInner.EndIndex()) return false;
    E.aType = stetPureNote;
    E.PureNote = Note;
    return true;
}

bool ReadTempo(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    TNuo4TempoIsType Type = tit4th;
    if (AfterPrefix(AText, AInner, u"J=", Rest))
        Type = tit4th;
    else if (AfterPrefix(AText, AInner, u"J_=", Rest))
        Type = tit8th;
    else if (AfterPrefix(AText, AInner, u"J.=", Rest))
        Type = tit4thDot;
    else
        return false;
    int32_t Tempo = 0;
    if (!WholeInt(AText, Rest, Tempo) || Tempo < 10 || Tempo > 300) return false;
    E.aType = stetTempo;
    E.Tempo = Tempo;
    E.TempoIsType = Type;
    return true;
}

bool ReadChord(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    if (ABC_CharAt(AText, AInner.StartIndex) != u'[') return false;
    TKoRange PitchRange;
    int32_t Close = -1;
    if (!ABC_RangeBetween(AText, AInner, u"[", u"]", PitchRange, Close)) return false;
    TNuo4Pitches Pitches;
    if (!WholePitchList(AText, PitchRange, Pitches)) return false;
    TNuo4NoteSubStyle SubStyle = Nuo4DocOptions().Param_Chord.NoteSubStyle;
    if (Close < AInner.EndIndex()) {
        if (AText[Close + 1] != u',') return false;
        const TKoRange Name = ABC_TrimRange(AText, ABC_RangeFrom(AInner, Close + 2));
        int32_t End = -1;
        if (!Name.IsNonEmpty() || !ABC_ParseNoteSubStyle(AText, Name, true, SubStyle, End))
            return false;
    }
    E.aType = stetChord;
    E.ChordPitches = std::move(Pitches);
    E.ChordSubStyle = SubStyle;
    return true;
}

// "rct:" / "els:" + width "," height "," filled ["," dashed].
bool ReadShape(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    bool bEllipse = false;
    if (AfterPrefix(AText, AInner, u"els:", Rest))
        bEllipse = true;
    else if (!AfterPrefix(AText, AInner, u"rct:", Rest))
        return false;
    if (!Rest.IsNonEmpty()) return false;
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, Rest, u',', false, true);
    TrecNuo4SizeF Size;
    bool bFilled = false, bDashed = false;
    if (Pieces.size() < 3 || Pieces.size() > 4 || !WholeFloat(AText, Pieces[0], Size.Width) ||
        !WholeFloat(AText, Pieces[1], Size.Height) || !WholeBool(AText, Pieces[2], bFilled) ||
        (Pieces.size() == 4 && !WholeBool(AText, Pieces[3], bDashed)))
        return false;
    if (bEllipse) {
        E.aType = stetEllipse;
        E.Ellipse_Size = Size;
        E.Ellipse_bFilled = bFilled;
        E.Ellipse_bDashed = bDashed;
    } else {
        E.aType = stetRectangle;
        E.Rectangle_Size = Size;
        E.Rectangle_bFilled = bFilled;
        E.Rectangle_bDashed = bDashed;
    }
    return true;
}

bool ReadArc(TText AText, TKoRange AInner, TRecNuo4TextElement& E) {
    TKoRange Rest;
    if (!AfterPrefix(AText, AInner, u"arc:", Rest) || !Rest.IsNonEmpty()) return false;
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, Rest, u',', false, true);
    float Length = 0;
    int32_t Style = 0;
    if (Pieces.size() != 2 || !WholeFloat(AText, Pieces[0], Length) ||
        !WholeInt(AText, Pieces[1], Style))
        return false;
    E.aType = stetArc;
    E.Arc_Length = Length;
    E.Arc_Style = Style;
    return true;
}

TNuo4ABCParseInfoType ParseTypeOf(TNuo4TextElementType AType) {
    switch (AType) {
        case stetWhiteSpace:
            return pitText_WhiteSpace;
        case stetKeyAndMeters:
            return pitText_KeyAndMeters;
        case stetPureNote:
            return pitText_PureNote;
        case stetGap:
            return pitText_Gap;
        case stetTempo:
            return pitText_Tempo;
        case stetGrace:
            return pitText_Grace;
        case stetChord:
            return pitText_Chord;
        case stetBarNumber:
        case stetWaveLine:
        case stetSolidLine:
        case stetGeneralLine:
            return pitText_BarNumber;
        case stetRectangle:
            return pitText_Rectangle;
        case stetEllipse:
            return pitText_Ellipse;
        case stetArc:
            return pitText_Arc;
        default:
            return pitText_Text;
    }
}

// The kinds a brace group's inner text is tried as, in order.
void ReadGroup(TText AText, TKoRange AGroup, TRecNuo4TextElement& E) {
    const TKoRange Inner = ABC_TrimRange(AText, TKoRange(AGroup.StartIndex + 1, AGroup.Length - 2));
    if (Inner.IsNonEmpty()) {
        using TReader = bool (*)(TText, TKoRange, TRecNuo4TextElement&);
        static const TReader Readers[] = {ReadGap,
                                          ReadGrace,
                                          ReadBarNumber,
                                          ReadSimpleLine,
                                          ReadGeneralLine,
                                          ReadKeyAndMetersElement,
                                          ReadPureNoteElement,
                                          ReadTempo,
                                          ReadChord,
                                          ReadShape,
                                          ReadArc};
        for (TReader Read : Readers) {
            TRecNuo4TextElement Candidate;
            if (Read(AText, Inner, Candidate)) {
                E = std::move(Candidate);
                return;
            }
        }
    }
    E.aType = stetNormalText;
    E.SetNormalText(ABC_Unescape(AText, AGroup));
}

}  // namespace

bool ReadTextElements(TText AText, TKoRange ARange, TNuo4TextElementParseInfoArray& AElements) {
    AElements.clear();
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const int32_t Last = ARange.EndIndex();
    int32_t P = ARange.StartIndex;
    // One character or escape at APos: its decoded value and its last position.
    auto Decode = [&](int32_t APos, char16_t& C) {
        int32_t End = APos;
        bool bEscaped = false;
        if (!ABC_ReadCharOrEscape(AText, TKoRange::FromStartEnd(APos, Last), C, End, bEscaped)) {
            C = AText[APos];
            End = APos;
        }
        return End;
    };
    while (P <= Last) {
        TRecNuo4TextElement E;
        const int32_t Start = P;
        char16_t C = 0;
        int32_t End = Decode(P, C);
        if (ABC_IsWhiteChar(C)) {
            E.aType = stetWhiteSpace;
            while (P <= Last) {
                End = Decode(P, C);
                if (!ABC_IsWhiteChar(C)) break;
                ++E.WhiteSpaceCount;
                P = End + 1;
            }
        } else if (AText[P] == u'{') {
            const int32_t Close =
                ABC_FindMatchingClose(AText, ABC_RangeFrom(ARange, P), u"{", u"}");
            if (Close < 0) {
                // An unmatched brace: plain text up to the next white character.
                std::u16string S;
                while (P <= Last) {
                    End = Decode(P, C);
                    if (ABC_IsWhiteChar(C)) break;
                    S += C;
                    P = End + 1;
                }
                E.aType = stetNormalText;
                E.SetNormalText(std::move(S));
            } else {
                ReadGroup(AText, TKoRange::FromStartEnd(P, Close), E);
                P = Close + 1;
            }
        } else {
            // Plain text up to the next "{", space or tab (escaped spaces and tabs count).
            std::u16string S;
            while (P <= Last && AText[P] != u'{') {
                End = Decode(P, C);
                if (C == u' ' || C == u'\t') break;
                S += C;
                P = End + 1;
            }
            E.aType = stetNormalText;
            E.SetNormalText(std::move(S));
        }
        TrecNuo4ABCParseInfo_TextElement Item;
        Item.Header.aType = ParseTypeOf(E.aType);
        Item.Header.ABCTextRange = TKoRange::FromStartEnd(Start, P - 1);
        Item.Header.TokenItems.AddItem(
            E.aType == stetGap || E.aType == stetTempo ? ttNumber : ttString,
            Item.Header.ABCTextRange);
        Item.Element = std::move(E);
        AElements.push_back(std::move(Item));
    }
    return true;
}

TNuo4TextElementArray GetElementArray_FromABCText(TText AText_ABC) {
    TNuo4TextElementParseInfoArray Items;
    ReadTextElements(AText_ABC, TKoRange(0, static_cast<int32_t>(AText_ABC.size())), Items);
    TNuo4TextElementArray Result;
    Result.reserve(Items.size());
    for (auto& Item : Items) Result.push_back(std::move(Item.Element));
    return Result;
}

}  // namespace nuo4
