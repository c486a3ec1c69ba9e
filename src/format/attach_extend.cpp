#include "format/attach_extend.h"

namespace nuo4 {

bool TrecNuo4AttachExtendDataItem::FromABCText(TText AText, TKoRange ARange) {
    *this = TrecNuo4AttachExtendDataItem();
    const TKoRangeArray Pieces = ABC_SplitBySeparator(AText, ARange, u',', true, true);
    if (Pieces.empty()) return false;
    size_t TextIndex = 0;
    float X, Y;
    int32_t End;
    if (ABC_ParseFloat(AText, Pieces[0], true, X, End)) {
        // A leading number is the position, which needs its Y and the text after it.
        if (Pieces.size() < 3 || !ABC_ParseFloat(AText, Pieces[1], true, Y, End)) return false;
        Pos = {X, Y};
        TextIndex = 2;
    }
    const std::u16string Text = ABC_GetRangeText(AText, Pieces[TextIndex]);
    if (Text.empty()) {
        *this = TrecNuo4AttachExtendDataItem();
        return false;
    }
    Text_ABC = Text;
    Transform.ReadParts(AText, Pieces, TextIndex + 1, true, nullptr);
    return true;
}

std::u16string TrecNuo4AttachExtendDataItem::ToABCText(bool bWithDaKuoHao) const {
    std::u16string S;
    if (Pos.X != 0 || Pos.Y != 0)
        S = ABC_FormatFloat(Pos.X, 2) + u", " + ABC_FormatFloat(Pos.Y, 2) + u", ";
    S += Text_ABC;
    if (!Transform.IsDefault()) S += u", " + Transform.ToABCText(false);
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

bool TrecNuo4AttachExtendData::FromABCText(TText AText, TKoRange ARange, int32_t& AEndPos) {
    Items.clear();
    AEndPos = -1;
    TKoRange Inner;
    int32_t End;
    if (!ABC_StartsWith(AText, ARange, u"{") ||
        !ABC_RangeBetween(AText, ARange, u"{", u"}", Inner, End) || !Inner.IsNonEmpty())
        return false;
    for (const TKoRange& Piece : ABC_SplitBySeparator(AText, Inner, u',', true, true)) {
        TrecNuo4AttachExtendDataItem Item;
        if (!Piece.IsNonEmpty() || !Item.FromABCText(AText, ABC_StripBraces(AText, Piece))) break;
        Items.push_back(std::move(Item));
    }
    if (Items.empty()) return false;
    AEndPos = End;
    return true;
}

bool TrecNuo4AttachExtendData::FromABCText(TText AText) {
    int32_t End;
    return FromABCText(AText, TKoRange(0, static_cast<int32_t>(AText.size())), End);
}

std::u16string TrecNuo4AttachExtendData::ToABCText(bool bWithDaKuoHao) const {
    std::u16string S;
    for (size_t I = 0; I < Items.size(); ++I) {
        if (I > 0) S += u", ";
        S += Items[I].ToABCText(true);
    }
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

}  // namespace nuo4
