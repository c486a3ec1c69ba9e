// Texts held in symbol records keep their fixed capacity however long the score text is, so a
// score with a huge lyric or text lays out in the time of a short one.
#include <gtest/gtest.h>

#include <memory>

#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/symbol_lyric.h"

using namespace nuo4;

namespace {

class TextCapacity : public ::testing::Test {
  protected:
    void SetUp() override {
        Nuo4Render_Init();
        MusicFont_ResetTextFonts();
    }
    void TearDown() override {
        Nuo4DocOptions().SetToDefault();
        RebuildAll(Nuo4DocOptions());
    }
};

}  // namespace

TEST_F(TextCapacity, HugeLyricsAreCutWhereTheyEnterTheirRecords) {
    const std::u16string Score = u".Voice\r1 2 3\r.Words\rW1: {" + std::u16string(1 << 20, u'我') +
                                 u"} " + std::u16string(1 << 20, u'a') + u"- 你\r" +
                                 u".Title\rTitle = " + std::u16string(1 << 20, u'题') + u"\r";
    TNuo4ABCBuffer ABC(Score);
    const TNuo4SimpleBuffer B(&ABC);
    std::vector<size_t> Lengths;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
        if (B.Attach_IsLyric(A))
            Lengths.push_back(static_cast<const TNuo4SymbolLyric*>(B.Attach_GetSymbol(A))
                                  ->GetPureDataPtr()
                                  ->Text.size());
    EXPECT_EQ(Lengths, (std::vector<size_t>{Nuo4CharArray2Capacity, Nuo4CharArray2Capacity, 1}));
    EXPECT_EQ(ABC.Section_Title.Buffer.GetText(tbitTitle).size(), Nuo4CharArray1Capacity);
}
