// Property: a voice text built from element writers reads back as the same elements, and the
// text symbol written back reads back as the same symbol.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "format/symbol_text.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::All;
using nuo4::test::Utf8;

namespace {

TrecNuo4Pitch RandomPitch(std::mt19937& G) {
    TrecNuo4Pitch P;
    if (G() % 8 == 0) {
        const char16_t Drums[] = {u'A', 0x4e2d, 0x00e9, 0x3000};
        P.Initialize_ToDrumPitch(Drums[G() % 4], G() % 2 == 0);
    } else {
        P.Initialize_ToNormalPitch(static_cast<int32_t>(G() % 8), static_cast<int32_t>(G() % 7) - 3,
                                   static_cast<int32_t>(G() % 4) - 1);
    }
    return P;
}

TNuo4Pitches RandomPitches(std::mt19937& G, int AMin) {
    TNuo4Pitches A;
    const int N = AMin + static_cast<int>(G() % 3);
    for (int I = 0; I < N; ++I) A.push_back(RandomPitch(G));
    return A;
}

float RandomLength(std::mt19937& G, int ADecimals) {
    const float Scale = ADecimals == 1 ? 10.0f : 100.0f;
    return static_cast<float>(G() % 2000) / Scale;
}

std::u16string RandomPlainText(std::mt19937& G) {
    // Characters the writer must escape are included on purpose.
    const char16_t Chars[] = {u'a', u'Z', u'.',   u'{',   u'}',   u'"',  u'\\', u',',
                              u'=', u'/', 0x4e2d, 0x00e9, 0xff01, u'\n', u'5',  u'x'};
    std::u16string S;
    const int N = 1 + static_cast<int>(G() % 6);
    for (int I = 0; I < N; ++I) S += Chars[G() % std::size(Chars)];
    // A leading line break would read as white space: the grammar has no plain text that
    // begins with a white character.
    if (S[0] == u'\n') S[0] = u'b';
    return S;
}

TRecNuo4TextElement RandomElement(std::mt19937& G) {
    TRecNuo4TextElement E;
    switch (G() % 15) {
        case 0:
            E.aType = stetWhiteSpace;
            E.WhiteSpaceCount = 1 + static_cast<int32_t>(G() % 3);
            break;
        case 1:
            E.aType = stetGap;
            E.Gap = RandomLength(G, 2);
            break;
        case 2:
            E.aType = stetKeyAndMeters;
            E.KeyAndMeters.Key.SetToInvalid();
            if (G() % 2) {
                E.KeyAndMeters.Key.MainKey = static_cast<int32_t>(G() % 7);
                E.KeyAndMeters.Key.Accidental = static_cast<int32_t>(G() % 3) - 1;
                E.KeyAndMeters.Key.bWithOneIs = G() % 2 == 0;
            }
            for (int I = static_cast<int>(G() % 3); I >= 0; --I) {
                if (E.KeyAndMeters.Key.IsValid() && I == 0) break;
                E.KeyAndMeters.Meters.push_back(TrecNuo4Meter::Create(
                    static_cast<int32_t>(G() % 100), 1 + static_cast<int32_t>(G() % 9)));
            }
            break;
        case 3:
            E.aType = stetPureNote;
            E.PureNote.Pitch = RandomPitch(G);
            E.PureNote.Duration = static_cast<TNuo4Duration>(1 + G() % (Nuo4DurationCount - 1));
            break;
        case 4:
            E.aType = stetTempo;
            E.Tempo = 10 + static_cast<int32_t>(G() % 291);
            E.TempoIsType = static_cast<TNuo4TempoIsType>(G() % 3);
            break;
        case 5:
            E.aType = stetGrace;
            E.GracePitches = RandomPitches(G, 1);
            E.bGraceIsRight = G() % 2 == 0;
            E.bGraceIs8th = G() % 2 == 0;
            break;
        case 6:
            E.aType = stetChord;
            E.ChordPitches = RandomPitches(G, 1);
            E.ChordSubStyle = static_cast<TNuo4NoteSubStyle>(G() % Nuo4NoteSubStyleCount);
            break;
        case 7:
            E.aType = stetBarNumber;
            E.sBarNumber = std::to_string(G() % 500).size() == 1 ? u"7" : u"A12";
            break;
        case 8:
            E.aType = stetWaveLine;
            E.WaveLine_bVert = G() % 2 == 0;
            E.WaveLine_Length = RandomLength(G, 1);
            break;
        case 9:
            E.aType = stetSolidLine;
            E.SolidLine_bVert = G() % 2 == 0;
            E.SolidLine_Length = RandomLength(G, 1);
            break;
        case 10:
            E.aType = stetGeneralLine;
            E.GeneralLine_Type = static_cast<TNuo4GeneralLineType>(G() % Nuo4GeneralLineTypeCount);
            E.GeneralLine_bVert = G() % 2 == 0;
            E.GeneralLine_Length = RandomLength(G, 1);
            break;
        case 11:
            E.aType = stetRectangle;
            E.Rectangle_Size = {RandomLength(G, 2), RandomLength(G, 2)};
            E.Rectangle_bFilled = G() % 2 == 0;
            E.Rectangle_bDashed = G() % 2 == 0;
            break;
        case 12:
            E.aType = stetEllipse;
            E.Ellipse_Size = {RandomLength(G, 2), RandomLength(G, 2)};
            E.Ellipse_bFilled = G() % 2 == 0;
            E.Ellipse_bDashed = G() % 2 == 0;
            break;
        case 13:
            E.aType = stetArc;
            E.Arc_Length = RandomLength(G, 2);
            E.Arc_Style = static_cast<int32_t>(G() % 10);
            break;
        default:
            E.aType = stetNormalText;
            E.NormalText = RandomPlainText(G);
            break;
    }
    return E;
}

bool Near(float A, float B) {
    return std::fabs(A - B) < 0.006f;
}

bool SamePitches(const TNuo4Pitches& A, const TNuo4Pitches& B) {
    if (A.size() != B.size()) return false;
    for (size_t I = 0; I < A.size(); ++I)
        if (!A[I].SameAs(B[I])) return false;
    return true;
}

// Equality of the fields meaningful for the element's kind.
bool SameElement(const TRecNuo4TextElement& A, const TRecNuo4TextElement& B) {
    if (A.aType != B.aType) return false;
    switch (A.aType) {
        case stetWhiteSpace:
            return A.WhiteSpaceCount == B.WhiteSpaceCount;
        case stetGap:
            return Near(A.Gap, B.Gap);
        case stetNormalText:
            return A.NormalText == B.NormalText;
        case stetKeyAndMeters:
            return A.KeyAndMeters == B.KeyAndMeters;
        case stetPureNote:
            return A.PureNote == B.PureNote;
        case stetTempo:
            return A.Tempo == B.Tempo && A.TempoIsType == B.TempoIsType;
        case stetGrace:
            return SamePitches(A.GracePitches, B.GracePitches) &&
                   A.bGraceIsRight == B.bGraceIsRight && A.bGraceIs8th == B.bGraceIs8th;
        case stetChord:
            return SamePitches(A.ChordPitches, B.ChordPitches) &&
                   A.ChordSubStyle == B.ChordSubStyle;
        case stetBarNumber:
            return A.sBarNumber == B.sBarNumber;
        case stetWaveLine:
            return A.WaveLine_bVert == B.WaveLine_bVert &&
                   Near(A.WaveLine_Length, B.WaveLine_Length);
        case stetSolidLine:
            return A.SolidLine_bVert == B.SolidLine_bVert &&
                   Near(A.SolidLine_Length, B.SolidLine_Length);
        case stetGeneralLine:
            return A.GeneralLine_Type == B.GeneralLine_Type &&
                   A.GeneralLine_bVert == B.GeneralLine_bVert &&
                   Near(A.GeneralLine_Length, B.GeneralLine_Length);
        case stetRectangle:
            return Near(A.Rectangle_Size.Width, B.Rectangle_Size.Width) &&
                   Near(A.Rectangle_Size.Height, B.Rectangle_Size.Height) &&
                   A.Rectangle_bFilled == B.Rectangle_bFilled &&
                   A.Rectangle_bDashed == B.Rectangle_bDashed;
        case stetEllipse:
            return Near(A.Ellipse_Size.Width, B.Ellipse_Size.Width) &&
                   Near(A.Ellipse_Size.Height, B.Ellipse_Size.Height) &&
                   A.Ellipse_bFilled == B.Ellipse_bFilled && A.Ellipse_bDashed == B.Ellipse_bDashed;
        case stetArc:
            return Near(A.Arc_Length, B.Arc_Length) && A.Arc_Style == B.Arc_Style;
        default:
            return true;
    }
}

// A random element list in which no two neighbours would merge when written (two plain texts
// or two white runs in a row read as one).
TNuo4TextElementArray RandomElements(std::mt19937& G) {
    TNuo4TextElementArray A;
    const int N = 1 + static_cast<int>(G() % 8);
    while (static_cast<int>(A.size()) < N) {
        TRecNuo4TextElement E = RandomElement(G);
        if (!A.empty() && A.back().aType == E.aType &&
            (E.aType == stetNormalText || E.aType == stetWhiteSpace))
            continue;
        A.push_back(std::move(E));
    }
    return A;
}

}  // namespace

TEST(VoiceTextRoundTrip, WrittenElementsReadBackAsTheSameElements) {
    std::mt19937 G(20261209);
    for (int Round = 0; Round < 2000; ++Round) {
        const TNuo4TextElementArray Elements = RandomElements(G);
        TrecNuo4SymbolText Sym;
        for (const auto& E : Elements) Sym.Text_ABC += E.ToABCText();
        if (G() % 3 == 0) Sym.ControlOptions.LockTo(1.5f);
        if (G() % 4 == 0) Sym.ControlOptions.HideLevel = shlAll;

        const std::u16string Written = Sym.ToABCText(false);
        // A voice token holds no white: every space must be an escape.
        for (char16_t C : Written) ASSERT_FALSE(C == u' ' || C == u'\t') << Utf8(Written);

        TrecNuo4ABCParseInfo_Text Read;
        int32_t End = -1;
        ASSERT_TRUE(ReadVoiceText(Written, All(Written), Read, End)) << Utf8(Written);
        EXPECT_EQ(End, static_cast<int32_t>(Written.size()) - 1) << Utf8(Written);
        EXPECT_EQ(Read.Value.Text_ABC, Sym.Text_ABC);
        EXPECT_EQ(Read.Value.ControlOptions, Sym.ControlOptions) << Utf8(Written);
        EXPECT_EQ(Read.Value.ToABCText(false), Written);
        const auto ReadElements = Read.GetElementArrayWithParseInfo(Written);
        ASSERT_EQ(ReadElements.size(), Elements.size()) << Utf8(Written);
        for (size_t I = 0; I < Elements.size(); ++I)
            EXPECT_TRUE(SameElement(ReadElements[I].Element, Elements[I]))
                << Utf8(Written) << " element " << I << " "
                << EnumName(ReadElements[I].Element.aType);
    }
}
