#include "edit/edit_attach_drag.h"

#include <cmath>

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "format/doc_options.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

const char* EnumName(TNuo4AttachDragAction AValue) {
    static const char* const Names[] = {"adaMove",          "adaDuplicate",   "adaResizeToLeft",
                                        "adaResizeToRight", "adaResizeToTop", "adaResizeToBottom"};
    return AValue <= adaResizeToBottom ? Names[AValue] : "?";
}

namespace {

// The item written with two decimals: equal when the text would not change.
bool SameWritten(double A, double B) {
    return std::lround(A * 100) == std::lround(B * 100);
}

// The length a resize changes and the least it may become; null for kinds without one.
float* ItemLength(TrecNuo4SectionItem_Attachments& AItem, float& AMin) {
    switch (AItem.Header.aType) {
        case satitArc:
            AMin = 3.0f;
            return AItem.Arc.IsFull() ? &AItem.Arc.Length_Full : &AItem.Arc.Length_LeftOrRight;
        case satitFangZi:
            AMin = 5.0f;
            return &AItem.FangZi.Length;
        case satitDynamic:
            AMin = 2.0f;
            return &AItem.ADynamic.Length;
        case satitBrace:
            AMin = 4.0f;
            return &AItem.Brace.Length;
        default:
            return nullptr;
    }
}

}  // namespace

bool CanDragAttachSymbol(const TNuo4SimpleBuffer& B, int32_t AAttachIndex,
                         TNuo4AttachDragAction AAction, TGPPointF AOffset,
                         TrecNuo4EditResult& AResult) {
    AResult.SetToDefault();
    const TNuo4Symbol* S = B.Attach_GetSymbol(AAttachIndex);
    const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
    if (!S || !ABC || !std::isfinite(AOffset.x()) || !std::isfinite(AOffset.y())) return false;
    const auto& Info = S->CalcInfo.SymbolABCTextInfo;
    const int32_t ItemIndex = Info.AttachmentsBufIndex();
    if (Info.aType != spwabtSectionAttachments || ItemIndex < 0 ||
        ItemIndex >= ABC->Section_Attachments.GetCount())
        return false;
    const auto& Parsed = ABC->Section_Attachments.Buffer[ItemIndex];
    const TKoRange ItemRange = Parsed.Header.ABCTextRange;
    if (!ItemRange.IsValid()) return false;
    // Offsets are written in units of the digit the layout placed them with.
    const TNuo4SizeF Digit = Nuo4DocOptions().GetNormalStyleDigitSize();
    if (Digit.Width <= 0 || Digit.Height <= 0) return false;
    TrecNuo4SectionItem_Attachments Item = Parsed.Value;
    TNuo4PointF& Coef = Item.Header.OffsetCoef;
    const TNuo4PointF Old = Coef;
    const double Dx = AOffset.x(), Dy = AOffset.y();
    switch (AAction) {
        case adaMove:
        case adaDuplicate: {
            Coef.X = float(Old.X + Dx / Digit.Width);
            Coef.Y = float(Old.Y + Dy / Digit.Height);
            if (SameWritten(Coef.X, Old.X) && SameWritten(Coef.Y, Old.Y)) return false;
            if (AAction == adaMove) {
                const TKoRange Tok = Parsed.Header.TokenItems.GetRangeOfFirst(ttOffset);
                if (!Tok.IsValid()) return false;
                TrecNuo4ABCTextReplaceItem R;
                R.Initialize(Tok, ABC_FormatPoint(Coef.X, Coef.Y));
                AResult.Items.push_back(R);
            } else {
                TrecNuo4ABCTextReplaceItem R;
                R.InitializeForInsert(ItemRange.StartIndex + ItemRange.Length,
                                      u"\r" + Item.ToABCText());
                AResult.Items.push_back(R);
            }
            break;
        }
        default: {
            float Min = 0;
            float* Length = ItemLength(Item, Min);
            if (!Length) return false;
            const bool bHorz = AAction == adaResizeToLeft || AAction == adaResizeToRight;
            const bool bAtStart = AAction == adaResizeToLeft || AAction == adaResizeToTop;
            const double D = bHorz ? Dx : Dy;
            const double NewLength = *Length + (bAtStart ? -D : D);
            if (NewLength < Min || SameWritten(NewLength, *Length)) return false;
            *Length = float(NewLength);
            // The grabbed start moves with the pointer, so the far end stays.
            if (bAtStart) {
                if (bHorz)
                    Coef.X = float(Old.X + Dx / Digit.Width);
                else
                    Coef.Y = float(Old.Y + Dy / Digit.Height);
            }
            TrecNuo4ABCTextReplaceItem R;
            R.Initialize(ItemRange, Item.ToABCText());
            AResult.Items.push_back(R);
            break;
        }
    }
    return VoiceEdit_Finish(AResult, true);
}

bool CanDragPageSymbol(const TNuo4SimpleBuffer& B, int32_t APageSymbolIndex, bool bDuplicate,
                       TGPPointF AOffset, TrecNuo4EditResult& AResult) {
    AResult.SetToDefault();
    const TNuo4Symbol* S = B.PageBuffer_GetSymbol(APageSymbolIndex);
    const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
    if (!S || !ABC || !std::isfinite(AOffset.x()) || !std::isfinite(AOffset.y())) return false;
    const auto& Info = S->CalcInfo.SymbolABCTextInfo;
    const int32_t ItemIndex = Info.PageBufIndex();
    if (Info.aType != spwabtSectionPage || ItemIndex < 0 ||
        ItemIndex >= int32_t(ABC->Section_Page.Buffer.size()))
        return false;
    const auto& Parsed = ABC->Section_Page.Buffer[ItemIndex];
    TrecNuo4SectionItem_Page Item = Parsed.Value;
    TNuo4PagePoint& Pos = Item.Header.Location.PagePos;
    const TNuo4PagePoint Old = Pos;
    Pos.X = float(Old.X + AOffset.x());
    Pos.Y = float(Old.Y + AOffset.y());
    if (SameWritten(Pos.X, Old.X) && SameWritten(Pos.Y, Old.Y)) return false;
    TrecNuo4ABCTextReplaceItem R;
    if (bDuplicate) {
        const TKoRange ItemRange = Parsed.Header.ABCTextRange;
        if (!ItemRange.IsValid()) return false;
        R.InitializeForInsert(ItemRange.StartIndex + ItemRange.Length, u"\r" + Item.ToABCText());
    } else {
        const TKoRange Tok = Parsed.Header.TokenItems.GetRangeOfFirst(ttPageLocation);
        if (!Tok.IsValid()) return false;
        R.Initialize(Tok, Item.Header.Location.ToABCText());
    }
    AResult.Items.push_back(R);
    return VoiceEdit_Finish(AResult, true);
}

}  // namespace nuo4
