// Often-used marks and their table, extend symbols and braces.

#include <cmath>

#include "render/note_style.h"
#include "render/symbol_attach.h"
#include "render/symbol_attach_common.h"

namespace nuo4 {

namespace {

// The glyph of each often-used mark type, in the type's order.
constexpr TNuo4CoreFontSymbol kOftenGlyphs[Nuo4AttachOftenCount] = {
    cfsHuanQi,
    cfsRepeat_DC,
    cfsRepeat_DS,
    cfsRepeat_Fine,
    cfsRepeat_Coda,
    cfsRepeat_Segno,
    cfsDynamic_ppp,
    cfsDynamic_pp,
    cfsDynamic_p,
    cfsDynamic_mp,
    cfsDynamic_mf,
    cfsDynamic_f,
    cfsDynamic_ff,
    cfsDynamic_fff,
    cfsDunYin,
    cfsZhongYin,
    cfsBaoChiYin,
    cfsYanYin,
    cfsBoYin,
    cfsBoYinDown,
    cfsChanYin,
    cfsLeftParenthesis,
    cfsRightParenthesis,
    cfsGlideUpArrow,
    cfsGlideDownArrow,
    cfsGlideUpWave,
    cfsGlideDownWave,
    cfsQuarterToneUp,
    cfsQuarterToneDown,
    cfsZhenYin,
    cfsWave_Vert,
    cfsLine_Vert,
    cfsWave_Horz,
    cfsLine_Horz,
    cfsRing,
    cfsCircle,
    cfsRit,
    cfsRepeat_DS1,
    cfsRepeat_DS2,
    cfsRepeat_Segno1,
    cfsRepeat_Segno2,
    cfsRepeat_DS3,
    cfsRepeat_DS12,
    cfsRepeat_DS13,
    cfsRepeat_DS23,
    cfsRepeat_Segno3,
    cfsRepeat_Segno12,
    cfsRepeat_Segno13,
    cfsRepeat_Segno23,
};

// A text of the fuCore font with its left-top at the origin: through the path cache on the
// current surface, or measured and outlined without one.
QPainterPath CoreTextPath_AtLT(const QString& AText, TGPRectF& ABounds) {
    ABounds = TGPRectF();
    if (AText.isEmpty()) return QPainterPath();
    if (const TKoGraphics* G = GetDestGraphics())
        return Nuo4MusicFont().GetCachedTextPath_AtPos(G, fuCore, AText, TGPPointF(0, 0), rpLeftTop,
                                                       ABounds, false);
    const TKoFont F = MusicFont_GetFont(fuCore);
    ABounds = TKoGDIPlusText::MeasureStringAtLT(nullptr, AText, F, TGPPointF(0, 0));
    return TKoGDIPlusPath::CreateTextPath_AtLT(F, AText, TGPPointF(0, 0));
}

}  // namespace

// ---- Often-used marks -----------------------------------------------------------------------

TNuo4CoreFontSymbol AttachOftenGlyph(TNuo4AttachmentsGroupItemType_Often AItemType) {
    return kOftenGlyphs[AItemType < Nuo4AttachOftenCount ? AItemType : 0];
}

void TNuo4AttachmentsGroupItemArray_Often::Init() {
    if (FInitialized) return;
    for (int I = 0; I < Nuo4AttachOftenCount; ++I) {
        const auto T = static_cast<TNuo4AttachmentsGroupItemType_Often>(I);
        const TrecNuo4CoreFontSymbolInfoItem& Info = CoreFontSymbolInfo(kOftenGlyphs[I]);
        const TrecNuo4AttachOftenDefaults& D = AttachOftenDefaults(T);
        TrecNuo4CoreFontAttachmentsSymbolInfoItem& Item = FItems[I];
        Item.ShortName = Info.ShortName;
        Item.DetailName = Info.DetailName;
        Item.FontInfo = Info;
        Item.OffsetCoef = TGPPointF(D.OffsetCoef.X, D.OffsetCoef.Y);
        Item.Transform = D.Transform;
        Item.Ocupy = D.Ocupy;
    }
    FInitialized = true;
}

const TrecNuo4CoreFontAttachmentsSymbolInfoItem* TNuo4AttachmentsGroupItemArray_Often::GetItemPtr(
    TNuo4AttachmentsGroupItemType_Often AItemType) const {
    if (!FInitialized || AItemType >= Nuo4AttachOftenCount) return nullptr;
    return &FItems[AItemType];
}

const TNuo4AttachmentsGroupItemArray_Often& Nuo4AttachOftenTable() {
    static const TNuo4AttachmentsGroupItemArray_Often Table = [] {
        TNuo4AttachmentsGroupItemArray_Often T;
        T.Init();
        return T;
    }();
    return Table;
}

TNuo4SymbolPathes CreatePathces_Often(const TrecNuo4SymbolAttachOften& ARec, TGPRectF& ABounds,
                                      bool bOnlyCalc) {
    ABounds = TGPRectF();
    const auto* Item = Nuo4AttachOftenTable().GetItemPtr(ARec.ItemType);
    if (!Item) return {};
    TGPRectF B;
    QPainterPath P = Nuo4MusicFont().CreatePath_CoreFont_Char(
        GetDestGraphics(), Item->FontInfo, StyleDigitSize(ARec.NoteStyleIndex), 1.0, B, bOnlyCalc);
    const QTransform M = MatrixOf(ARec.Transform);
    ABounds = TKoGDIPlusPath::GetNewBoundsAfterTransform(B, M);
    if (bOnlyCalc) return {};
    TKoGDIPlusPath::PathTransform(P, M);
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

bool TNuo4SymbolAttachOften::IsLineSymbol(bool& bVert, double& ALength) {
    if (FRec.ItemType != agitoLineVert && FRec.ItemType != agitoLineHorz) return false;
    bVert = FRec.ItemType == agitoLineVert;
    ALength = bVert ? Bounds().height() : Bounds().width();
    return true;
}

void TNuo4SymbolAttachOften::CalcBounds(TGPRectF& ARect) {
    CreatePathces_Often(FRec, ARect, true);
}

void TNuo4SymbolAttachOften::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(CreatePathces_Often(FRec, B, false));
}

// ---- Extend symbols -------------------------------------------------------------------------

QPainterPath AttachExtendItem_ToPath(const TrecNuo4AttachExtendDataItem& AItem, TGPSizeF ADigitSize,
                                     TGPRectF& ABounds) {
    ABounds = TGPRectF();
    const std::u16string Text =
        ABC_Unescape(AItem.Text_ABC, TKoRange(0, int32_t(AItem.Text_ABC.size())));
    TGPRectF R;
    QPainterPath P = CoreTextPath_AtLT(QString::fromStdU16String(Text), R);
    if (RectIsEmpty(R)) return QPainterPath();
    const QTransform M = MatrixOf(AItem.Transform);
    ABounds = TKoGDIPlusPath::GetNewBoundsAfterTransform(R, M);
    TKoGDIPlusPath::PathTransform(P, M);
    const double Dx = AItem.Pos.X * ADigitSize.width(), Dy = AItem.Pos.Y * ADigitSize.height();
    ABounds.translate(Dx, Dy);
    TKoGDIPlusPath::PathTranslate(P, Dx, Dy);
    return P;
}

TNuo4SymbolPathes CreatePathes_AttachExtend(const TrecNuo4SymbolAttachExtend& ARec,
                                            TGPRectF& ABounds, TGPRectF& ABlackBox,
                                            bool bOnlyCalc) {
    ABounds = ABlackBox = TGPRectF();
    TrecNuo4AttachExtendData D;
    if (!ARec.GetData(D)) return {};
    const TGPSizeF Digit = StyleDigitSize(ARec.NoteStyleIndex);
    QPainterPath Path;
    TGPRectF United;
    for (const TrecNuo4AttachExtendDataItem& Item : D.Items) {
        TGPRectF B;
        const QPainterPath P = AttachExtendItem_ToPath(Item, Digit, B);
        if (RectIsEmpty(B)) continue;
        Path.addPath(P);
        RectUnion(United, B);
    }
    if (RectIsEmpty(United)) return {};
    // Centred on x = 0.
    const double Dx = -United.width() / 2;
    United.translate(Dx, 0);
    TKoGDIPlusPath::PathTranslate(Path, Dx, 0);
    const QTransform M = MatrixOf(ARec.Transform);
    ABounds = TKoGDIPlusPath::GetNewBoundsAfterTransform(United, M);
    if (bOnlyCalc) return {};
    TKoGDIPlusPath::PathTransform(Path, M);
    ABlackBox = Path.boundingRect();
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, Path);
    return Items;
}

bool TNuo4SymbolAttachExtend::IsLineSymbol(double& ALength) {
    if (!FRec.IsLineSymbol()) return false;
    ALength = Bounds().width();
    return true;
}

bool TNuo4SymbolAttachExtend::EditFirstChar_Next() {
    const bool bDone = FRec.EditFirstChar_Next(
        [](char16_t C) { return Nuo4MusicFont().CodePointExsitsForCoreFont(C); });
    if (bDone) SetNeedUpdate();
    return bDone;
}

bool TNuo4SymbolAttachExtend::EditFirstChar_Prev() {
    // Going down stays inside the private-use block of the music font's own glyphs.
    const bool bDone = FRec.EditFirstChar_Prev(
        [](char16_t C) { return C > 0xF000 && Nuo4MusicFont().CodePointExsitsForCoreFont(C); });
    if (bDone) SetNeedUpdate();
    return bDone;
}

void TNuo4SymbolAttachExtend::CalcBounds(TGPRectF& ARect) {
    TGPRectF B;
    CreatePathes_AttachExtend(FRec, B, ARect, false);
}

void TNuo4SymbolAttachExtend::CreateElements() {
    TGPRectF B, Black;
    AddElementsFromSymbolPathes(CreatePathes_AttachExtend(FRec, B, Black, false));
}

// ---- Braces ---------------------------------------------------------------------------------

void AttachBrace_GetWidthFromLengthAndDigitSize(const TrecNuo4SymbolAttachBrace& ARec,
                                                double& AWidth, double& AThickLineWidth,
                                                double& AThickLineOffset) {
    const double W = StyleDigitSize(ARec.NoteStyleIndex).width();
    AThickLineWidth = 0.1 * DocDigitSize().width();
    switch (ARec.Style) {
        case absZhiKuoHao:
            AWidth = 0.8 * W;
            AThickLineOffset = 0.65 * AWidth;
            break;
        case absHuaKuoHao:
            AWidth = 0.5 * W;
            AThickLineOffset = 0;
            break;
        case absHuaKuoHao2:
        default:
            AWidth = 0.5 * W;
            AThickLineOffset = 1.3 * AWidth;
            break;
    }
}

QPainterPath AttachBrace_GetBracketPath(double ALength, double& AGapBetweenBarlineAndTop) {
    // The upper curl from the outer tip inward; y grows towards the middle of the bracket.
    static constexpr double Base[9][2] = {
        {0, 0.7171}, {0.1076, 0.7171}, {1.3909, 0.7179}, {2.3546, 0.4788}, {3, 0},
        {3, 0.2032}, {2.6101, 0.6021}, {2.0124, 0.9211}, {1.2072, 1.1594},
    };
    TGPPointF P[9], Q[9];
    for (int I = 0; I < 9; ++I) {
        P[I] = TGPPointF(Base[I][0], Base[I][1] * 1.5);
        Q[I] = TGPPointF(P[I].x(), ALength - P[I].y());  // the lower curl
    }
    AGapBetweenBarlineAndTop = P[8].y();
    QPainterPath Path;
    Path.moveTo(P[0]);
    Path.lineTo(P[1]);
    Path.cubicTo(P[2], P[3], P[4]);
    Path.lineTo(P[5]);
    Path.cubicTo(P[6], P[7], P[8]);
    Path.lineTo(Q[8]);
    Path.cubicTo(Q[7], Q[6], Q[5]);
    Path.lineTo(Q[4]);
    Path.cubicTo(Q[3], Q[2], Q[1]);
    Path.closeSubpath();
    return Path;
}

TNuo4SymbolPathes CreatePathes_AttachBrace(const TrecNuo4SymbolAttachBrace& ARec, TGPRectF& ABounds,
                                           double& AGapBetweenBarlineAndTop, bool bOnlyCalc) {
    AGapBetweenBarlineAndTop = 0;
    double Wd, Tw, Ox;
    AttachBrace_GetWidthFromLengthAndDigitSize(ARec, Wd, Tw, Ox);
    const double L = ARec.Length, E = ARec.Length_ExtraLine;
    const bool bVert = ARec.Direction == abdLeft || ARec.Direction == abdRight;
    ABounds = bVert ? TGPRectF(0, 0, Wd, L) : TGPRectF(0, 0, L, Wd);
    if (bOnlyCalc && !ARec.StyleIsZhiKuoHao()) return {};

    QPainterPath P;
    if (ARec.StyleIsZhiKuoHao()) {
        double Gap;
        P = AttachBrace_GetBracketPath(L, Gap);
        AGapBetweenBarlineAndTop = Gap;
        if (bOnlyCalc) return {};
        TKoGDIPlusPath::PathScale(P, Wd / 3, 1);
        P.addRect(TGPRectF(Ox - Tw / 2, Gap, Tw, L - 2 * Gap));
        if (E > 0) P.addRect(TGPRectF(Ox - Tw / 2, -E, Tw, E));
    } else {
        TGPRectF GlyphBounds;
        P = Nuo4MusicFont().CreatePath_CoreFont_Char(GetDestGraphics(),
                                                     CoreFontSymbolInfo(cfsHuaKuoHao),
                                                     TGPSizeF(Wd, L), GlyphBounds, false);
        if (ARec.StyleIsHuaKuoHao2())
            P.addRect(TGPRectF(Ox - Tw / 2, -std::max(E, 0.0), Tw, L + std::max(E, 0.0)));
    }
    switch (ARec.Direction) {
        case abdRight:
            break;
        case abdLeft:
            TKoGDIPlusPath::PathMirrorY(P, 0);
            TKoGDIPlusPath::PathTranslate(P, Wd, 0);
            break;
        case abdUp:
            TKoGDIPlusPath::PathRotate(P, -90);
            TKoGDIPlusPath::PathTranslate(P, 0, Wd);
            break;
        case abdDown:
            TKoGDIPlusPath::PathRotate(P, 90);
            TKoGDIPlusPath::PathTranslate(P, L, 0);
            break;
    }
    P.setFillRule(Qt::WindingFill);
    TNuo4SymbolPathes Items;
    SymbolPathes_AddFill(Items, P);
    return Items;
}

void TNuo4SymbolAttachBrace::SetLength(float AValue) {
    FRec.Length = AValue;
    SetNeedUpdate();
}

double TNuo4SymbolAttachBrace::GetWidth() const {
    double Wd, Tw, Ox;
    AttachBrace_GetWidthFromLengthAndDigitSize(FRec, Wd, Tw, Ox);
    return Wd;
}

void TNuo4SymbolAttachBrace::CalcBounds(TGPRectF& ARect) {
    double Gap;
    CreatePathes_AttachBrace(FRec, ARect, Gap, true);
}

void TNuo4SymbolAttachBrace::CreateElements() {
    TGPRectF B;
    double Gap;
    AddElementsFromSymbolPathes(CreatePathes_AttachBrace(FRec, B, Gap, false));
}

}  // namespace nuo4
