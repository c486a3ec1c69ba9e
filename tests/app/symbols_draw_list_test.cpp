// The symbol sheet's draw list must match the recorded reference: every symbol's path items,
// to a few thousandths of a millimetre. After an intended change of the glyphs, regenerate the
// reference with tools/regen-references.sh and look at the sheet.
#include <gtest/gtest.h>

#include <QDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/commands.h"
#include "app/cli/draw_list.h"

using namespace nuo4::cli;

namespace {

json ReadJson(const std::string& APath) {
    std::ifstream In(APath, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return json::parse(S.str(), nullptr, false);
}

}  // namespace

TEST(SymbolSheetDrawList, MatchesTheRecordedReference) {
    const std::string Dir = QDir::tempPath().toStdString() + "/nuo4_draw_list_test";
    std::filesystem::create_directories(Dir);
    std::ostringstream Out, Err;
    ASSERT_EQ(
        RunCli({"glyphs", "--symbols", "--draw-list", Dir + "/list.json", "-o", Dir + "/sheet.png"},
               Out, Err),
        0)
        << Err.str();
    const json Actual = ReadJson(Dir + "/list.json");
    const json Expected =
        ReadJson(std::string(NUO4_SOURCE_DIR) + "/tests/app/references/symbols_draw_list.json");
    ASSERT_FALSE(Expected.is_discarded()) << "reference missing; run tools/regen-references.sh";
    ASSERT_GT(Actual.size(), 200u);
    std::string Why;
    EXPECT_TRUE(CompareDrawLists(Expected, Actual, 2, Why)) << Why;
    std::filesystem::remove_all(Dir);
}

TEST(SymbolSheetDrawList, ComparisonCatchesMovedPointsAndMissingItems) {
    const json Base =
        json::array({{{"kind", "sbstNote"},
                      {"items", json::array({{{"t", "fill"},
                                              {"w", 0},
                                              {"d", false},
                                              {"p", json::array({0, 100, 200, 1, 300, 200})}}})}}});
    std::string Why;
    EXPECT_TRUE(CompareDrawLists(Base, Base, 2, Why));
    json Moved = Base;
    Moved[0]["items"][0]["p"][4] = 303;
    EXPECT_FALSE(CompareDrawLists(Base, Moved, 2, Why));
    EXPECT_NE(Why.find("point 1"), std::string::npos);
    Moved[0]["items"][0]["p"][4] = 302;  // within the tolerance
    EXPECT_TRUE(CompareDrawLists(Base, Moved, 2, Why));
    json Missing = Base;
    Missing[0]["items"] = json::array();
    EXPECT_FALSE(CompareDrawLists(Base, Missing, 2, Why));
    json Stroke = Base;
    Stroke[0]["items"][0]["t"] = "stroke";
    EXPECT_FALSE(CompareDrawLists(Base, Stroke, 2, Why));
}
