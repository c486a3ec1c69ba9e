// The demo scores must lay out and draw as recorded: the layout JSON of `nuo4-cli layout` and
// the draw list of every page of `nuo4-cli render`. After an intended change of the layout or
// the drawing, regenerate the references with tools/regen-references.sh and look at the pages.
#include <gtest/gtest.h>

#include <QDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/cli/commands.h"
#include "app/cli/draw_list.h"

using namespace nuo4::cli;

namespace {

const char* const DemoScores[] = {"huanle", "liangzhilaohu", "molihua"};

json ReadJson(const std::string& APath) {
    std::ifstream In(APath, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return json::parse(S.str(), nullptr, false);
}

std::string ReferencePath(const std::string& AName) {
    return std::string(NUO4_SOURCE_DIR) + "/tests/app/references/" + AName;
}

// Same structure, same texts and flags, numbers within ATolerance. AWhere names the first
// difference as a JSON path.
bool SameJson(const json& E, const json& A, double ATolerance, const std::string& APath,
              std::string& AWhere) {
    if (E.is_number() && A.is_number()) {
        if (std::fabs(E.get<double>() - A.get<double>()) <= ATolerance) return true;
        AWhere = APath + ": " + E.dump() + " became " + A.dump();
        return false;
    }
    if (E.type() != A.type()) {
        AWhere = APath + ": " + E.type_name() + " became " + A.type_name();
        return false;
    }
    if (E.is_array()) {
        if (E.size() != A.size()) {
            AWhere = APath + ": " + std::to_string(E.size()) + " elements became " +
                     std::to_string(A.size());
            return false;
        }
        for (size_t I = 0; I < E.size(); ++I)
            if (!SameJson(E[I], A[I], ATolerance, APath + "[" + std::to_string(I) + "]", AWhere))
                return false;
        return true;
    }
    if (E.is_object()) {
        for (auto It = E.begin(); It != E.end(); ++It) {
            if (!A.contains(It.key())) {
                AWhere = APath + "." + It.key() + " is missing";
                return false;
            }
            if (!SameJson(It.value(), A[It.key()], ATolerance, APath + "." + It.key(), AWhere))
                return false;
        }
        for (auto It = A.begin(); It != A.end(); ++It)
            if (!E.contains(It.key())) {
                AWhere = APath + "." + It.key() + " is new";
                return false;
            }
        return true;
    }
    if (E == A) return true;
    AWhere = APath + ": " + E.dump() + " became " + A.dump();
    return false;
}

class DemoScoreReferences : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(DemoScoreReferences, LayoutMatchesTheRecordedReference) {
    const std::string Name = GetParam();
    std::ostringstream Out, Err;
    ASSERT_EQ(
        RunCli({"layout", std::string(NUO4_SOURCE_DIR) + "/resources/demo/" + Name + ".nuoabc"},
               Out, Err),
        0)
        << Err.str();
    const json Actual = json::parse(Out.str(), nullptr, false);
    ASSERT_FALSE(Actual.is_discarded());
    const json Expected = ReadJson(ReferencePath(Name + "_layout.json"));
    ASSERT_FALSE(Expected.is_discarded()) << "reference missing; run tools/regen-references.sh";
    std::string Where;
    EXPECT_TRUE(SameJson(Expected, Actual, 0.002, "", Where)) << Where;
}

TEST_P(DemoScoreReferences, EveryPageDrawsAsRecorded) {
    const std::string Name = GetParam();
    const std::string Dir = QDir::tempPath().toStdString() + "/nuo4_demo_refs_" + Name;
    std::filesystem::create_directories(Dir);
    std::ostringstream Out, Err;
    ASSERT_EQ(
        RunCli({"render", std::string(NUO4_SOURCE_DIR) + "/resources/demo/" + Name + ".nuoabc",
                "--dpi", "30", "--draw-list", Dir + "/list.json", "-o", Dir + "/page.png"},
               Out, Err),
        0)
        << Err.str();
    const json Actual = ReadJson(Dir + "/list.json");
    const json Expected = ReadJson(ReferencePath(Name + "_draw_list.json"));
    ASSERT_FALSE(Expected.is_discarded()) << "reference missing; run tools/regen-references.sh";
    ASSERT_TRUE(Actual.is_array());
    ASSERT_EQ(Expected.size(), Actual.size()) << "page count";
    for (size_t Pg = 0; Pg < Expected.size(); ++Pg) {
        EXPECT_GT(Actual[Pg].size(), 10u) << "page " << Pg + 1 << " draws next to nothing";
        std::string Why;
        EXPECT_TRUE(CompareDrawLists(Expected[Pg], Actual[Pg], 2, Why))
            << "page " << Pg + 1 << ": " << Why;
    }
    std::filesystem::remove_all(Dir);
}

INSTANTIATE_TEST_SUITE_P(Demo, DemoScoreReferences, ::testing::ValuesIn(DemoScores));

TEST(DemoScoreReferenceComparison, CatchesMovedNumbersAndChangedStructure) {
    const json Base = json::parse(R"({"Pages":[{"Top":12.5,"Kind":"a","Lines":[1,2]}]})");
    std::string Where;
    EXPECT_TRUE(SameJson(Base, Base, 0.002, "", Where));
    json Near = Base;
    Near["Pages"][0]["Top"] = 12.5015;
    EXPECT_TRUE(SameJson(Base, Near, 0.002, "", Where));
    json Moved = Base;
    Moved["Pages"][0]["Top"] = 12.503;
    EXPECT_FALSE(SameJson(Base, Moved, 0.002, "", Where));
    EXPECT_EQ(Where.rfind(".Pages[0].Top", 0), 0u) << Where;
    json Shorter = Base;
    Shorter["Pages"][0]["Lines"].erase(1);
    EXPECT_FALSE(SameJson(Base, Shorter, 0.002, "", Where));
    json Renamed = Base;
    Renamed["Pages"][0]["Kind"] = "b";
    EXPECT_FALSE(SameJson(Base, Renamed, 0.002, "", Where));
    json Extra = Base;
    Extra["Pages"][0]["New"] = 1;
    EXPECT_FALSE(SameJson(Base, Extra, 0.002, "", Where));
}
