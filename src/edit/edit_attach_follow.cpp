// Attachments that follow the voice: when basic symbols are inserted or deleted, the items of
// the attachments section whose owners move are rewritten in the basic-index form, and those
// whose owner goes are deleted with it.

#include <functional>
#include <set>

#include "edit/edit_internal.h"
#include "format/abc_buffer.h"
#include "format/horz_location.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

// Each attachments item once, with the owner its symbols were placed at (a wrapped item draws
// several symbols with one owner).
template <typename F>
void ForEachAttachmentsItem(const TNuo4SimpleBuffer& B, F AFn) {
    std::set<int32_t> Seen;
    for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
        const auto& Info = B.Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
        if (Info.aType != spwabtSectionAttachments) continue;
        const int32_t Item = Info.AttachmentsBufIndex();
        if (Item < 0 || !Seen.insert(Item).second) continue;
        const int32_t Owner = B.Attach_GetBasicIndex(A);
        if (Owner >= 0) AFn(Item, Owner);
    }
}

const TrecNuo4SectiontItemWithParseInfo_Attachments* Item(const TNuo4SimpleBuffer& B,
                                                          int32_t AItemIndex) {
    const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
    if (!ABC || AItemIndex < 0 || AItemIndex >= ABC->Section_Attachments.GetCount()) return nullptr;
    return &ABC->Section_Attachments.Buffer[AItemIndex];
}

// The whole line of an item, so that no blank line is left behind.
TKoRange ItemLineRange(const TNuo4SimpleBuffer& B, TKoRange AItemRange) {
    const TNuo4ABCBuffer* ABC = B.GetABCBuffer();
    const int L = ABC->GetLineIndexFromPos(AItemRange.StartIndex);
    if (L < 0 || L >= ABC->GetABCLinesCount()) return AItemRange;
    const TKoRange Line = ABC->LineRangeArray[L];
    // Only when the item is alone on its line (comments and blanks around it go too).
    const TText T = ABC->ABCText();
    for (int32_t P = Line.StartIndex; P < AItemRange.StartIndex; ++P)
        if (T[P] != u' ' && T[P] != u'\t') return AItemRange;
    int32_t End = Line.StartIndex + Line.Length;
    if (End < int32_t(T.size()) && T[End] == u'\r') ++End;
    for (int32_t P = AItemRange.StartIndex + AItemRange.Length; P < End; ++P)
        if (T[P] != u' ' && T[P] != u'\t' && T[P] != u'\r') return AItemRange;
    return TKoRange(Line.StartIndex, End - Line.StartIndex);
}

}  // namespace

bool Attachments_CanChangeHorzLocation(const TNuo4SimpleBuffer& B, int32_t AItemIndex,
                                       int32_t ANewOwner, TrecNuo4ABCTextReplaceItem& AItem) {
    AItem.SetToInvalid();
    const auto* It = Item(B, AItemIndex);
    if (!It || ANewOwner < 0) return false;
    const TKoRange Loc = It->Header.TokenItems.GetRangeOfFirst(ttHorzLocation);
    if (!Loc.IsValid()) return false;
    TrecNuo4HorzLocation H;
    H.aType = hltAbsLocate_BasicIndex;
    H.AbsLocate_BasicIndex_BasicIndex = ANewOwner;
    AItem.Initialize(Loc, H.ToABCText());
    return true;
}

bool VoiceEdit_RemapAttachments(const TNuo4SimpleBuffer& B,
                                const std::function<int32_t(int32_t)>& AMap,
                                TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    ForEachAttachmentsItem(B, [&](int32_t AItem, int32_t AOwner) {
        const int32_t New = AMap(AOwner);
        if (New == AOwner) return;
        TrecNuo4ABCTextReplaceItem R;
        if (New < 0) {
            R.InitializeForDelete(ItemLineRange(B, Item(B, AItem)->Header.ABCTextRange));
            VoiceEdit_AddItem(AItems, R);
        } else if (Attachments_CanChangeHorzLocation(B, AItem, New, R)) {
            VoiceEdit_AddItem(AItems, R);
        }
    });
    return !AItems.empty();
}

bool Attachments_CanInsertBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AFrom, int32_t ACount,
                                      TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (AFrom < 0 || ACount <= 0) return false;
    return VoiceEdit_RemapAttachments(
        B, [&](int32_t O) { return O >= AFrom ? O + ACount : O; }, AItems);
}

bool Attachments_CanDeleteBasicSymbol(const TNuo4SimpleBuffer& B, int32_t AFrom, int32_t ACount,
                                      TNuo4ABCTextReplaceItems& AItems) {
    AItems.clear();
    if (AFrom < 0 || ACount <= 0) return false;
    return VoiceEdit_RemapAttachments(
        B,
        [&](int32_t O) {
            if (O < AFrom) return O;
            return O < AFrom + ACount ? -1 : O - ACount;
        },
        AItems);
}

}  // namespace nuo4
