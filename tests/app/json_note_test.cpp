#include <gtest/gtest.h>

#include "app/cli/json_dump.h"
#include "format/symbol_note.h"

using namespace nuo4;
using nuo4::cli::json;
using nuo4::cli::NoteToJson;

namespace {

json Dump(const std::u16string& S) {
    TrecNuo4ABCParseInfo_Note N;
    int32_t End = -1;
    EXPECT_TRUE(ReadNote(S, TKoRange(0, static_cast<int32_t>(S.size())), N, End));
    return NoteToJson(N, S);
}

}  // namespace

TEST(NoteJson, ValuesAreNamedAsInTheRecords) {
    const json J = Dump(u"({(3:2,0.5,1}{DunYin}{5;7}[#1x\x4e2d]_.{C:1.5,None}))");
    EXPECT_EQ(J["Header"]["aType"], "pitNote");
    EXPECT_EQ(J["Text"], "({(3:2,0.5,1}{DunYin}{5;7}[#1x\xe4\xb8\xad]_.{C:1.5,None}))");
    EXPECT_EQ(J["ABCText"], "({(3:2,0.50,1}{DunYin}{5;7}[#1x\xe4\xb8\xad]_.{C:1.500,None}))");
    const json& Arcs = J["ArcStartings"]["Value"];
    ASSERT_EQ(Arcs.size(), 2u);
    EXPECT_EQ(Arcs[0]["Depth"], 1);
    EXPECT_EQ(Arcs[1]["ABCInfo"]["TupletNumber"], 3);
    EXPECT_EQ(Arcs[1]["ABCInfo"]["Duration"], 2);
    EXPECT_EQ(Arcs[1]["ABCInfo"]["ArrowStyle"], "aasArrow");
    EXPECT_EQ(Arcs[1]["TextRange"], json::array({1, 12}));
    EXPECT_EQ(J["Articulations"]["Value"][0]["Articulation"], "mfsaDunYin");
    EXPECT_EQ(J["Grace"]["Value"][0]["Digit"], "Digit5");
    EXPECT_EQ(J["Grace"]["Value2"][0]["Digit"], "Digit7");
    const json& P = J["Pitches"]["Value"];
    ASSERT_EQ(P.size(), 2u);
    EXPECT_EQ(P[0]["Accidental"], "ssSharp");
    EXPECT_EQ(P[0]["Octave"], 0);
    EXPECT_EQ(P[1]["Digit"], "DigitDrum");
    EXPECT_EQ(P[1]["DrumPitch"]["DrumChar"], "\xe4\xb8\xad");
    EXPECT_EQ(P[1]["DrumPitch"]["bUseCoreFont"], true);
    EXPECT_EQ(J["Pitches"]["Text"], "[#1x\xe4\xb8\xad]");
    EXPECT_EQ(J["Duration"]["Value"], "sd8thDot");
    EXPECT_EQ(J["ControlOptions"]["Value"]["HideLevel"], "shlAll");
    EXPECT_FLOAT_EQ(J["ControlOptions"]["Value"]["AWCoef"]["AWCoef"].get<float>(), 1.5f);
    EXPECT_EQ(J["ArcEndings"]["Value"], 2);
}

TEST(NoteJson, AbsentPartsHaveInvalidHeadersAndNoText) {
    const json J = Dump(u"5");
    EXPECT_EQ(J["Duration"]["Header"]["aType"], "pitInvalid");
    EXPECT_FALSE(J["Duration"].contains("Text"));
    EXPECT_EQ(J["Duration"]["Value"], "sd4th");
    EXPECT_EQ(J["ArcEndings"]["Value"], 0);
    EXPECT_TRUE(J["ArcStartings"]["Value"].empty());
}
