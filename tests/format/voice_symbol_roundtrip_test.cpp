// Property: bar lines, meters, accompaniment markers and returns written by their writers read
// back as the same records, alone and padded, through the symbol dispatcher.

#include <gtest/gtest.h>

#include <random>

#include "format/section_voice.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_return.h"
#include "test_util.h"

using namespace nuo4;
using nuo4::test::Utf8;

namespace {

// Quarters are exact in binary and in every written format.
float Quarters(std::mt19937& G, int AMax) {
    return static_cast<float>(G() % static_cast<unsigned>(AMax * 4)) / 4.0f;
}

TrecNuo4SymbolControlOptions RandomOptions(std::mt19937& G) {
    TrecNuo4SymbolControlOptions O;
    if (G() % 2) O.AWCoef.AWCoef = Quarters(G, 4);
    if (G() % 4 == 0) {
        // The factors count only when the first is locked (not 0).
        for (auto& F : O.AWCoef.RightLineSpacingCoefArray) F = Quarters(G, 3);
        O.AWCoef.RightLineSpacingCoefArray[0] += 0.25f;
    }
    O.HideLevel = static_cast<TNuo4SymbolHideLevel>(G() % Nuo4SymbolHideLevelCount);
    O.UnderlineConnectType =
        static_cast<TNuo4UnderlineConnectType>(G() % Nuo4UnderlineConnectTypeCount);
    return O;
}

std::u16string RandomLabel(std::mt19937& G) {
    const char16_t Chars[] = {u'1', u'2', u'.', u'[', u']', u'{', u'"', u'$', 0x4e2d, u'\\'};
    std::u16string S;
    for (int I = static_cast<int>(G() % 5); I > 0; --I) S += Chars[G() % std::size(Chars)];
    return S;
}

std::u16string Decoded(const std::u16string& S) {
    return ABC_Unescape(S, TKoRange(0, static_cast<int32_t>(S.size())));
}

// Reads the whole text (after the padding) as one symbol of type TRec.
template <typename TRec>
const TRec* ReadOne(const std::u16string& S, TNuo4VoiceSymbolPtr& P) {
    const bool bPadded = S.size() >= 2 && S.front() == u' ' && S.back() == u' ';
    const TKoRange R = bPadded ? TKoRange(1, static_cast<int32_t>(S.size()) - 2)
                               : TKoRange(0, static_cast<int32_t>(S.size()));
    int32_t End = -1;
    if (!ReadVoiceSymbol(S, R, P, End) || End != R.EndIndex()) return nullptr;
    return dynamic_cast<const TRec*>(P.get());
}

}  // namespace

TEST(VoiceSymbolRoundTrip, BarlinesMetersMarkersAndReturns) {
    std::mt19937 G(1147);
    for (int Round = 0; Round < 1500; ++Round) {
        const bool bPad = G() % 2 == 0;
        TNuo4VoiceSymbolPtr P;

        TrecNuo4SymbolBarline B;
        B.BarlineStyle = static_cast<TNuo4BarlineStyle>(G() % Nuo4BarlineStyleCount);
        B.ControlOptions = RandomOptions(G);
        if (G() % 2) {
            B.FangZi.bWithFangZi = true;
            B.FangZi.SetFangZiText(RandomLabel(G));
        }
        const std::u16string BText = B.ToABCText(bPad);
        const auto* RB = ReadOne<TrecNuo4ABCParseInfo_Barline>(BText, P);
        ASSERT_NE(RB, nullptr) << Utf8(BText);
        // A lone "{" in a label is written coded (in a score it would swallow the rest of the
        // line): the label reads back as the same decoded text.
        TrecNuo4SymbolBarline Back = RB->ToSymbolRec();
        EXPECT_EQ(Decoded(Back.FangZi.FangZiText), Decoded(B.FangZi.FangZiText)) << Utf8(BText);
        Back.FangZi.FangZiText = B.FangZi.FangZiText;
        EXPECT_EQ(Back, B) << Utf8(BText);

        TrecNuo4SymbolMeter M;
        M.Meter = TrecNuo4Meter::Create(static_cast<int32_t>(G() % 100),
                                        1 + static_cast<int32_t>(G() % 9));
        M.ControlOptions = RandomOptions(G);
        const std::u16string MText = M.ToABCText(bPad);
        const auto* RM = ReadOne<TrecNuo4ABCParseInfo_Meter>(MText, P);
        ASSERT_NE(RM, nullptr) << Utf8(MText);
        EXPECT_EQ(RM->ToSymbolRec(), M) << Utf8(MText);

        TrecNuo4SymbolAccompMarker A;
        A.aType = G() % 2 ? sctStart : sctEnd;
        A.ControlOptions = RandomOptions(G);
        const std::u16string AText = A.ToABCText(bPad);
        const auto* RA = ReadOne<TrecNuo4ABCParseInfo_AccompMarker>(AText, P);
        ASSERT_NE(RA, nullptr) << Utf8(AText);
        EXPECT_EQ(RA->ToSymbolRec(), A) << Utf8(AText);

        TrecNuo4SymbolReturn R;
        auto& O = R.PrivateOptions;
        O.bJustifyHorz = G() % 2 == 0;
        if (G() % 2) O.IndentValue = Quarters(G, 40) - 5;
        if (G() % 2) O.ParagraphGapCoef = Quarters(G, 4);
        O.bPageBreak = G() % 2 == 0;
        O.bJustifyVert = G() % 2 == 0;
        R.ControlOptions = RandomOptions(G);
        const std::u16string RText = R.ToABCText(bPad);
        const auto* RR = ReadOne<TrecNuo4ABCParseInfo_Return>(RText, P);
        ASSERT_NE(RR, nullptr) << Utf8(RText);
        EXPECT_EQ(RR->ToSymbolRec(), R) << Utf8(RText);
    }
}
