// The whole pipeline on a mutated score: scan, parse, build the document buffer (symbols,
// lines, pages, placement) and, for one input in DrawEvery, draw its first pages onto a tiny
// image, as a keystroke does. Nothing may crash, and the lines and pages must partition the
// symbols they were made from. The layout is the part that can grow faster than its input, so
// most inputs skip the drawing, and run.sh gives each input a timeout that only a super-linear
// case reaches. One input in BranchEvery is also
// laid out as the melody and lyrics of a temporary voice: built directly with a damaged
// alignment count, or hung on a small fixed score, one of the two per input. Such a voice costs
// about as much as the input's own layout, so checking it on every input would halve the rate.
// An input with edits is laid out again after them when they change its text. Every choice comes
// from a hash of the input, so that a finding reproduces from its file.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "format/section_attachments.h"
#include "fuzz_input.h"
#include "layout/branch_data.h"
#include "layout/draw_document.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"

using namespace nuo4;

namespace {

// A full build costs milliseconds per page: longer inputs only slow the search down.
constexpr size_t MaxInputBytes = 6000;
// Drawing costs more than the layout and finds less: the first pages of one input in this
// many, chosen by a hash of the input so that a finding reproduces.
constexpr uint32_t DrawEvery = 16;
constexpr int32_t MaxDrawnPages = 4;
// The temporary voice on one input in this many, each of its two ways on half of them.
constexpr uint32_t BranchEvery = 4;

uint32_t InputHash(const uint8_t* AData, size_t ASize) {
    uint32_t H = 2166136261u;  // FNV-1a
    for (size_t I = 0; I < ASize; ++I) H = (H ^ AData[I]) * 16777619u;
    return H;
}

// A second hash from the first (murmur3's finaliser), so that the choice of the temporary-voice
// check does not go with the drawing nor with the options the voice takes from the first.
uint32_t MixHash(uint32_t H) {
    H ^= H >> 16;
    H *= 0x85ebca6bu;
    H ^= H >> 13;
    H *= 0xc2b2ae35u;
    return H ^ (H >> 16);
}

// The application lives until the process ends and is never destroyed: libFuzzer leaves
// through exit(), after Qt's thread storage is gone, where its destructor would crash.
void EnsureApplication() {
    static QGuiApplication* App = nullptr;
    if (App) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int Argc = 1;
    static char Name[] = "fuzz_pipeline";
    static char* Argv[] = {Name, nullptr};
    App = new QGuiApplication(Argc, Argv);
    Nuo4Render_Init();
    // The music font must leave the font database while Qt's font cache still exists: an
    // exit handler registered now runs before the statics that Qt created above are gone.
    std::atexit([] { Nuo4Render_Done(); });
}

void CheckStructure(const TNuo4SimpleBuffer& B) {
    const int32_t NBasic = B.Basic_GetCount();
    // Lines follow each other over the basic buffer without gaps.
    int32_t Next = 0;
    for (const auto& L : B.LineInfoArray) {
        NUO4_FUZZ_CHECK(L.BasicIndexRange.StartIndex == Next && L.BasicIndexRange.Length > 0);
        Next = L.BasicIndexRange.StartIndex + L.BasicIndexRange.Length;
    }
    NUO4_FUZZ_CHECK(B.LineInfoArray.empty() || Next == NBasic);
    // Pages follow each other over the lines.
    Next = 0;
    for (const auto& P : B.PageInfoArray) {
        NUO4_FUZZ_CHECK(P.LineIndexRange.StartIndex == Next && P.LineIndexRange.Length > 0);
        Next = P.LineIndexRange.StartIndex + P.LineIndexRange.Length;
    }
    NUO4_FUZZ_CHECK(Next == int32_t(B.LineInfoArray.size()));
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A)
        NUO4_FUZZ_CHECK(B.Basic_CheckIndex(B.Attach_GetBasicIndex(A)));
}

void DrawPages(TNuo4SimpleBuffer& B) {
    // About 10 dpi and at most 120 pixels a side: every path is still rasterised, cheaply.
    const TrecNuo4DocOptionsParam_Paper Paper = Nuo4DocOptions().Param_Paper;
    constexpr double Dpi = 10;
    const int W = std::clamp(qRound(Paper.Width / 25.4 * Dpi), 1, 120);
    const int H = std::clamp(qRound(Paper.Height / 25.4 * Dpi), 1, 120);
    QImage Img(W, H, QImage::Format_RGB32);
    Img.setDotsPerMeterX(qRound(Dpi / 0.0254));
    Img.setDotsPerMeterY(qRound(Dpi / 0.0254));
    const int32_t Pages = std::max<int32_t>(1, int32_t(B.PageInfoArray.size()));
    for (int32_t P = 0; P < std::min(Pages, MaxDrawnPages); ++P) {
        Img.fill(Qt::white);
        QPainter Painter(&Img);
        TKoGraphics G(&Painter);
        PrepareGraphics(G, 1.0);
        SetDestGraphics(&G);
        // The view's drawing (numbers, markers) on odd pages, the printer's on even ones.
        if (P % 2)
            Draw_AllSymbols_Page(B, G, odDisplay, P, true, true, true, false, nullptr);
        else
            Draw_AllSymbols_Page(B, G, odPrinter, P, false, false, false, true, nullptr);
        SetDestGraphics(nullptr);
    }
}

// The input's text as a temporary voice: its first part as the melody, the rest as lyrics, with
// options taken from the hash.
void CheckBranches(const std::u16string& AText, uint32_t AHash) {
    const size_t Cut = std::min<size_t>(AText.size(), 400 + AHash % 600);
    TrecNuo4SectionItem_Attachments Item;
    Item.SetToDefaultForBranch();
    TrecNuo4SymbolAttachBranch& R = Item.Branch;
    R.SetABCText_Voice(AText.substr(0, Cut));
    R.SetABCText_Lyrics(AText.substr(Cut));
    R.bAutoAlign = AHash & 1;
    R.InitMeter.Initialize(int32_t(AHash >> 1) % 13, (AHash & 2) ? 8 : 4);
    R.InitBeatPos_8thCount = int32_t(AHash >> 5) % 21;
    R.bForceUseSubStyle = AHash & 4;
    // Past the fixed score's notes too.
    Item.Header.HorzLocation.InitializeToNoteIndex(int32_t(AHash >> 9) % 40);
    // Directly, with a damaged alignment count, or through the score text.
    if ((AHash >> 17) & 1) {
        TrecNuo4SymbolAttachBranch Damaged = R;
        Damaged.AutoAlignInfo.SymbolCount = int32_t(AHash % 5000) - 1000;
        if (auto D = TrecNuo4AttachBranchData::Create(Damaged)) {
            TGPRectF Bounds;
            D->GetPathes(Bounds, false);
            const int32_t N = D->GetBasicSymbolCount_WithRightline();
            for (int32_t P = 0; P < N; ++P) {
                TrecNuo4NormalIndexAndRightlineIndex I;
                NUO4_FUZZ_CHECK(
                    D->Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(P, I));
                NUO4_FUZZ_CHECK(I.ASymbolIndex >= 0 && I.ASymbolIndex < D->Basic_GetCount());
            }
        }
        return;
    }
    // On a fixed main voice of two lines.
    std::u16string Score = u".Voice\r";
    for (int I = 0; I < 6; ++I) Score += (I % 3 == 2) ? u"1 2-- | $\r" : u"{(3}5_ 6_ 7_) 1 2 3 |";
    Score += u"\r.Attachments\r" + Item.ToABCText() + u"\r";
    TNuo4ABCBuffer ABC(Score);
    TNuo4SimpleBuffer B(&ABC);
    CheckStructure(B);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize) {
    if (ASize > MaxInputBytes) return 0;
    EnsureApplication();
    const uint32_t Hash = InputHash(AData, ASize);
    const bool bDraw = Hash % DrawEvery == 0;
    fuzz::TFuzzInput In = fuzz::DecodeFuzzInput(AData, ASize);
    if (MixHash(Hash) % BranchEvery == 0) CheckBranches(In.Text, Hash);
    TNuo4ABCBuffer ABC(In.Text);
    {
        TNuo4SimpleBuffer B(&ABC);
        CheckStructure(B);
        if (bDraw) DrawPages(B);
    }
    if (!In.Replaces.empty()) {
        std::u16string Edited = ABC.ABCText();
        ABC_ApplyReplaceItems(Edited, In.Replaces);
        // The layout is a function of the text alone: an edit that changed nothing (mutated
        // items often point past the text and are skipped) would only repeat the first one.
        if (Edited == ABC.ABCText()) return 0;
        TNuo4ABCBuffer ABC2(Edited);
        TNuo4SimpleBuffer B(&ABC2);
        CheckStructure(B);
        if (bDraw) DrawPages(B);
    }
    return 0;
}
