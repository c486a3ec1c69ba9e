// The fonts, options, title, lyrics, attachments and page stages of the build, and the
// resolution of horizontal locations.

#include <algorithm>

#include "layout/buffer_lyrics.h"
#include "layout/layout_hooks.h"
#include "layout/simple_buffer.h"
#include "render/measure_surface.h"
#include "render/note_style.h"
#include "render/symbol_attach.h"
#include "render/symbol_page.h"

namespace nuo4 {

TNuo4AttachmentsOcupyTypes Nuo4AttachmentsItemOcupy(const TrecNuo4SectionItem_Attachments& AItem) {
    if (const auto* R = AItem.IsText()) return R->Ocupy;
    if (const auto* R = AItem.IsFangZi()) return R->Ocupy();
    if (const auto* R = AItem.IsArc()) return R->Ocupy();
    if (const auto* R = AItem.IsAttachDynamic()) return R->Ocupy();
    if (const auto* R = AItem.IsOften()) return R->Ocupy;
    if (const auto* R = AItem.IsExtend()) return R->Ocupy;
    if (const auto* R = AItem.IsBranch()) return R->Ocupy;
    if (const auto* R = AItem.IsBrace()) return R->Ocupy;
    return 0;
}

TNuo4LayoutSymbolBuilders& Nuo4LayoutSymbolBuilders() {
    static TNuo4LayoutSymbolBuilders Builders;
    return Builders;
}

void TNuo4SimpleBuffer::ProcessSection_Fonts() {
    FABCBuffer->UpdateFonts();
}

void TNuo4SimpleBuffer::ProcessSection_Options() {
    // The options own the pointer to the current surface but not the surface: a reset must
    // not drop it, or texts built after this stage would measure and draw nothing.
    void* const Dest = Nuo4DocOptions().DestGraphics;
    Nuo4DocOptions().SetToDefault();
    Nuo4DocOptions().DestGraphics = Dest;
    FABCBuffer->UpdateOptions();
    if (FEventHandler_RequestHMIDocOptions) FEventHandler_RequestHMIDocOptions(this);
    RebuildAll(Nuo4DocOptions());
}

void TNuo4SimpleBuffer::ProcessSection_Title() {
    TitleBlockPathes.clear();
    TitleBlockBounds = TGPRectF();
    TitleItemsBoundsArray.clear();
    {
        TNuo4MeasureSurfaceScope Surface;
        const TNuo4RectF R = Nuo4DocOptions().Param_Paper.GetLayoutRect();
        TrecNuo4TitleBlockPathes T = Nuo4TitleBlock_GetPathes(TGPRectF(R.X, R.Y, R.Width, R.Height),
                                                              FABCBuffer->Section_Title.Buffer,
                                                              TrecNuo4NoteStyleIndex(), false);
        TitleBlockPathes = std::move(T.ItemPathes);
        TitleItemsBoundsArray = std::move(T.ItemBounds);
        TitleBlockBounds = T.Bounds;
    }
    bWithTitleBlock = !RectIsEmpty(TitleBlockBounds);
    const TrecNuo4DocOptions& O = Nuo4DocOptions();
    const float MarginTop = O.Param_Paper.MarginTop;
    double T = 0;
    if (O.TitleBlock_HeightForLayout != 0)
        T = O.TitleBlock_HeightForLayout;
    else if (bWithTitleBlock)
        T = TitleBlockBounds.bottom() - MarginTop;
    // The title gap stays even without a title block.
    FirstLineTop_Min =
        float(MarginTop + T +
              O.Param_VertSpacing.GapCoef_TitleBlock_Score * O.GetNormalStyleDigitSize().Height);
}

void TNuo4SimpleBuffer::ProcessSection_Lyrics() {
    Lyric_CreateAll(*this);
    auto& Section = FABCBuffer->Section_Lyrics;
    int32_t Total = 0;
    Section.CalcInfo.CompoundVerseArray.clear();
    for (int32_t V = 0; V < int32_t(Section.VerseBuffer.size()); ++V) {
        const auto& Verse = Section.VerseBuffer[V];
        if (!Verse.IsValid()) continue;
        const auto& VI = Verse.VersePrefix.Value.VertInfo;
        Total = std::max(Total, VI.VerseNumber + std::max(VI.VerseCount, 1));
        if (Verse.IsCompound()) Section.CalcInfo.CompoundVerseArray.push_back(V);
    }
    Section.CalcInfo.TotalVerseCount = Total;
}

void TNuo4SimpleBuffer::ProcessSection_Attachments() {
    if (Basic_GetCount() == 0) return;
    TNuo4MeasureSurfaceScope Surface;
    const auto& Hook = Nuo4LayoutSymbolBuilders().Attachments;
    const auto Build = [&](const TrecNuo4SectionItem_Attachments& AItem) {
        return Hook ? Hook(AItem) : CreateAttachmentsSymbol(AItem);
    };
    const auto& Items = FABCBuffer->Section_Attachments.Buffer;
    const TNuo4SizeF Digit = Nuo4DocOptions().GetNormalStyleDigitSize();
    for (int32_t I = 0; I < int32_t(Items.size()); ++I) {
        const TrecNuo4SectionItem_Attachments& Item = Items[I].Value;
        const int32_t Owner = GetBasicIndexFromHorzLocation(Item.Header.HorzLocation, 0);
        if (Owner < 0) continue;
        TNuo4SymbolPtr S = Build(Item);
        if (!S) continue;
        S->Update(true);
        S->CalcInfo.SymbolABCTextInfo.InitializeToAttachments(I);
        TrecNuo4AttachBufferItem A;
        A.Symbol = std::move(S);
        A.SourceIndex = A.SourceIndex2 = Owner;
        A.AttachOffset = TGPPointF(Item.Header.OffsetCoef.X * Digit.Width,
                                   Item.Header.OffsetCoef.Y * Digit.Height);
        A.Ocupy = Nuo4AttachmentsItemOcupy(Item);
        Attach_AddItem(std::move(A));
    }
}

void TNuo4SimpleBuffer::ProcessSection_Page() {
    TNuo4MeasureSurfaceScope Surface;
    const auto& Items = FABCBuffer->Section_Page.Buffer;
    for (int32_t I = 0; I < int32_t(Items.size()); ++I) {
        const TrecNuo4SectionItem_Page& Item = Items[I].Value;
        if (!Item.IsMemo() && !Item.IsTitleBlock()) continue;
        TNuo4SymbolPtr S;
        if (Item.IsMemo())
            S = std::make_unique<TNuo4SymbolMemo>(Item.Memo);
        else
            S = std::make_unique<TNuo4SymbolTitleBlock>(Item.TitleBlock);
        S->Update(true);
        // At the item's position on its page; the drawing pass adds the page's origin.
        S->SetPos(TGPPointF(Item.Header.Location.PagePos.X, Item.Header.Location.PagePos.Y));
        S->CalcInfo.SymbolABCTextInfo.InitializeToPage(I);
        PageBuffer_AddItem(std::move(S));
    }
}

// ---- Horizontal locations -----------------------------------------------------------------

int32_t TNuo4SimpleBuffer::Basic_FindNote(int32_t AFrom, int32_t ANth) const {
    if (AFrom < 0 || ANth < 1) return -1;
    for (int32_t I = AFrom; I < Basic_GetCount(); ++I)
        if (Basic_IsNote(I) && --ANth == 0) return I;
    return -1;
}

int32_t TNuo4SimpleBuffer::GetBasicIndexFromHorzLocation(const TrecNuo4HorzLocation& ALocation,
                                                         int32_t ARefIndex) const {
    auto MeasureStart = [&](int32_t M) {
        return CheckMeasureIndex(M) ? MeasureInfoArray[M].BasicIndexRange.StartIndex : -1;
    };
    switch (ALocation.aType) {
        case hltAbsLocate_Barline: {
            const int32_t M = ALocation.AbsLocate_Barline_MeasurePos;
            if (!CheckMeasureIndex(M)) return -1;
            const TKoRange R = MeasureInfoArray[M].BasicIndexRange;
            if (ALocation.AbsLocate_Barline_bLeft)
                return Basic_IsBarline(R.StartIndex) ? R.StartIndex : -1;
            return R.EndIndex();
        }
        case hltAbsLocate_BarlineAndNote:
            return Basic_FindNote(MeasureStart(ALocation.AbsLocate_BarlineAndNote_BarlinePos),
                                  ALocation.AbsLocate_BarlineAndNote_NotePos + 1);
        case hltAbsLocate_BasicIndex:
            return Basic_CheckIndex(ALocation.AbsLocate_BasicIndex_BasicIndex)
                       ? ALocation.AbsLocate_BasicIndex_BasicIndex
                       : -1;
        case hltRelLocate_BarlineAndNote: {
            if (!Basic_CheckIndex(ARefIndex)) return -1;
            const int32_t K = ALocation.RelLocate_BarlineAndNote_BarlinesCount;
            const int32_t N = ALocation.RelLocate_BarlineAndNote_NotesCount;
            if (K == 0)
                return Basic_FindNote(Basic_IsNote(ARefIndex) ? ARefIndex + 1 : ARefIndex, N + 1);
            const int32_t M = GetMeasureIndex_FromBasicIndex(ARefIndex);
            if (M < 0) return -1;
            return Basic_FindNote(MeasureStart(M + K), N + 1);
        }
        default:
            return -1;
    }
}

}  // namespace nuo4
