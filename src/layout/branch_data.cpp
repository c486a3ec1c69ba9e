#include "layout/branch_data.h"

#include "format/attach_branch_text.h"
#include "layout/draw_document.h"
#include "render/note_geometry.h"
#include "render/note_symbol.h"

namespace nuo4 {

std::unique_ptr<TrecNuo4AttachBranchData> TrecNuo4AttachBranchData::Create(
    const TrecNuo4SymbolAttachBranch& ARec) {
    if (ARec.GetABCText_Voice().empty()) return nullptr;
    std::unique_ptr<TrecNuo4AttachBranchData> D(new TrecNuo4AttachBranchData());
    D->ABCText_Voice = ARec.GetABCText_Voice();
    D->ABCText_Lyrics = ARec.ABCText_Lyrics;
    // The text buffer holds the voice text, so that the requests that read a symbol's text
    // (its control options, its pitches) read it here as in the main voice; the symbols come
    // from the temporary voice's own reader, never from the section scan.
    D->FABCBuf = std::make_unique<TNuo4ABCBuffer>(D->ABCText_Voice);
    D->FABCBuf->Section_Voice.Clear();
    D->FABCBuf->Section_Lyrics.Clear();
    for (TNuo4VoiceSymbolPtr& S : Branch_ReadVoiceSymbols(D->ABCText_Voice))
        D->FABCBuf->Section_Voice.AddItem(std::move(S));
    std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> Verses =
        Branch_ReadLyricsVerses(D->ABCText_Lyrics);
    // At most 1001 verses (line indexes 0 ... 1000).
    if (Verses.size() > 1001) Verses.resize(1001);
    for (TrecNuo4ABCParseInfo_Lyrics_Verse& V : Verses) {
        auto& Extra = V.VersePrefix.Value.ExtraInfo;
        if (Extra.FontUsage == fuLyric) Extra.FontUsage = ARec.FontUsageForLyric;
        D->FABCBuf->Section_Lyrics.AddItem(V);
    }
    TrecNuo4AttachBranchSettings Settings;
    Settings.bAutoAlign = ARec.bAutoAlign;
    Settings.AutoAlignInfo = ARec.AutoAlignInfo;
    Settings.AutoAlignInfo.SetSymbolCount(ARec.AutoAlignInfo.SymbolCount);
    Settings.bForceUseSubStyle = ARec.bForceUseSubStyle;
    Settings.SubStyleToForceUse = ARec.SubStyleToForceUse;
    Settings.InitMeter = ARec.InitMeter;
    Settings.InitBeatPos_8thCount = ARec.InitBeatPos_8thCount;
    D->FBuffer = std::make_unique<TNuo4SimpleBuffer>(D->FABCBuf.get(), Settings);
    return D;
}

TNuo4SymbolPathes TrecNuo4AttachBranchData::GetPathes(TGPRectF& ABounds, bool bOnlyCalc) {
    TNuo4SimpleBuffer& B = *FBuffer;
    ABounds = TGPRectF();
    TNuo4SymbolPathes Items;
    if (B.Basic_GetCount() == 0) return Items;
    if (!B.LineInfoArray.empty()) {
        const TrecNuo4CalcInfo_BoundsInfo& L = B.LineInfoArray[0].Bounds;
        ABounds = RectIsEmpty(L.Layout) ? L.Black : L.Layout;
    }
    if (bOnlyCalc) return Items;
    auto Append = [&Items](TNuo4Symbol& S) {
        S.Update(false);
        TNuo4SymbolPathes P = S.GetSymbolPathes();
        SymbolPathes_Translate(P, S.Pos());
        Items.insert(Items.end(), P.begin(), P.end());
    };
    for (const TNuo4SymbolPtr& S : B.BasicBuffer) Append(*S);
    if (Nuo4DocOptions().bAutoBeam) {
        QPainterPath Beams;
        for (const TGPRectF& R : GetUnderlineRects(B, TKoRange(0, B.Basic_GetCount())))
            Beams.addRect(R);
        SymbolPathes_AddFill(Items, Beams);
    }
    for (const TNuo4SymbolPtr& S : B.AttachBuffer) Append(*S);
    return Items;
}

int32_t TrecNuo4AttachBranchData::GetBasicSymbolCount_WithRightline() const {
    int32_t N = 0;
    for (int32_t I = 0; I < FBuffer->Basic_GetCount(); ++I) {
        ++N;
        if (const TNuo4SymbolNote* Note = FBuffer->Basic_GetSymbolNote(I))
            N += Note->GetRightLineCount();
    }
    return N;
}

bool TrecNuo4AttachBranchData::Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(
    int32_t AIndex, TrecNuo4NormalIndexAndRightlineIndex& AResult) const {
    AResult = TrecNuo4NormalIndexAndRightlineIndex();
    if (AIndex < 0) return false;
    int32_t From = 0;
    for (int32_t I = 0; I < FBuffer->Basic_GetCount(); ++I) {
        const TNuo4SymbolNote* Note = FBuffer->Basic_GetSymbolNote(I);
        const int32_t Own = 1 + (Note ? Note->GetRightLineCount() : 0);
        if (AIndex < From + Own) {
            AResult.ASymbolIndex = I;
            AResult.ARightlineIndex = AIndex - From;
            return true;
        }
        From += Own;
    }
    return false;
}

double TrecNuo4AttachBranchData::GetBasicSymbolBoundsRight_FromSymbolIndexWithRightline(
    int32_t AIndex) const {
    TrecNuo4NormalIndexAndRightlineIndex P;
    if (!Basic_GetSymbolIndexAndRightlineIndex_FromIndexWithRightline(AIndex, P)) return 0;
    TNuo4Symbol* S = FBuffer->Basic_GetSymbol(P.ASymbolIndex);
    // A note with dashes ends at its digits; its box reaches over the dashes.
    if (const TNuo4SymbolNote* Note = FBuffer->Basic_GetSymbolNote(P.ASymbolIndex);
        Note && Note->GetRightLineCount() > 0) {
        const QRectF R = P.ARightlineIndex > 0 ? Note->GetRightlineRect(P.ARightlineIndex - 1)
                                               : GetBounds_MainAndChord_Basic(Note->SymbolRec);
        return S->Pos().x() + R.right();
    }
    return S->Pos().x() + S->CalcInfo.Bounds_Self.Layout.right();
}

double TrecNuo4AttachBranchData::GetBeatPos_Before(int32_t AIndex) const {
    const TNuo4Symbol* S = FBuffer->Basic_GetSymbol(AIndex);
    return S ? S->BasicInfo().DV.DVSumWithinMeasure_Before : 0;
}

void Nuo4RegisterAttachBranchDataBuilder() {
    TNuo4AttachBranchDataBuilder& B = Nuo4AttachBranchDataBuilder();
    if (B) return;
    B = [](const TrecNuo4SymbolAttachBranch& ARec) -> std::unique_ptr<TNuo4AttachBranchDataBase> {
        return TrecNuo4AttachBranchData::Create(ARec);
    };
}

}  // namespace nuo4
