// Drawing one page reads that page's symbols only: a long score draws a page as fast as a
// short one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/score_file.h"
#include "gen/repeated_song.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

struct TSong {
    std::unique_ptr<TNuo4ABCBuffer> ABC;
    std::unique_ptr<TNuo4SimpleBuffer> B;
};

TSong BuildSong(int ARepeats) {
    Nuo4Render_Init();
    std::u16string Text;
    std::string Error;
    EXPECT_TRUE(ReadScoreFile(NUO4_SOURCE_DIR "/resources/demo/molihua.nuoabc", Text, Error));
    TSong S;
    S.ABC = std::make_unique<TNuo4ABCBuffer>(gen::RepeatSong(Text, ARepeats));
    S.B = std::make_unique<TNuo4SimpleBuffer>(S.ABC.get());
    return S;
}

void DrawPage(TNuo4SimpleBuffer& B, int32_t APage, TNuo4OutputDest ADest) {
    QImage Img(105, 148, QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(12.7 / 0.0254));
    Img.setDotsPerMeterY(qRound(12.7 / 0.0254));
    Img.fill(Qt::white);
    QPainter P(&Img);
    TKoGraphics G(&P);
    PrepareGraphics(G, 1.0);
    Draw_AllSymbols_Page(B, G, ADest, APage, true, true, true, ADest == odPrinter, nullptr);
}

}  // namespace

// Every attach symbol read while one page is drawn (to the printer and to the display with
// every aid) belongs to that page, and each of the page's own is read.
TEST(DrawPage, DrawingAPageReadsOnlyThatPagesAttachSymbols) {
    TSong S = BuildSong(12);
    TNuo4SimpleBuffer& B = *S.B;
    ASSERT_GE(B.PageInfoArray.size(), 4u);
    Nuo4AuxInfoSettings().SetAllOn();
    for (const TNuo4OutputDest Dest : {odPrinter, odDisplay}) {
        const int32_t Page = 2;
        std::vector<uint8_t> Log(size_t(B.Attach_GetCount()), 0);
        B.SetAttachAccessLog(&Log);
        DrawPage(B, Page, Dest);
        B.SetAttachAccessLog(nullptr);
        int32_t Own = 0, OwnRead = 0, OthersRead = 0;
        for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
            const bool bOwn = B.Attach_GetPageIndex(A) == Page;
            Own += bOwn;
            OwnRead += bOwn && Log[size_t(A)];
            OthersRead += !bOwn && Log[size_t(A)];
        }
        EXPECT_GT(Own, 100) << EnumName(Dest);
        EXPECT_EQ(OwnRead, Own) << EnumName(Dest);
        EXPECT_EQ(OthersRead, 0) << EnumName(Dest);
    }
    Nuo4AuxInfoSettings().SetToDefault();
}

// A line's attach indexes are the attachments whose owner lies in it, in buffer order, and a
// range across lines gathers the lines' own in buffer order too.
TEST(DrawPage, AttachIndexesOfABasicRangeFollowTheOwners) {
    TSong S = BuildSong(3);
    TNuo4SimpleBuffer& B = *S.B;
    ASSERT_GE(B.LineInfoArray.size(), 6u);
    auto Scan = [&](TKoRange R) {
        std::vector<int32_t> V;
        for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
            if (R.Contains(B.Attach_GetBasicIndex(A))) V.push_back(A);
        return V;
    };
    const TKoRange L1 = B.LineInfoArray[1].BasicIndexRange, L4 = B.LineInfoArray[4].BasicIndexRange;
    for (const TKoRange R : {L1, TKoRange::FromStartEnd(L1.StartIndex + 2, L4.EndIndex() - 3),
                             TKoRange::FromStartEnd(0, B.Basic_GetLast())}) {
        EXPECT_FALSE(Scan(R).empty());
        EXPECT_EQ(B.Attach_GetIndexesOfBasicRange(R), Scan(R));
    }
}
