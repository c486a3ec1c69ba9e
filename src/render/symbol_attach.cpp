#include "render/symbol_attach.h"

#include <cmath>

#include "render/basic_glyphs.h"
#include "render/note_glyphs.h"
#include "render/note_style.h"
#include "render/symbol_arc.h"
#include "render/symbol_attach_common.h"
#include "render/text_glyphs.h"

namespace nuo4 {

// ---- Special text ---------------------------------------------------------------------------

TNuo4SymbolPathes CreatePathes_AttachText(const TrecNuo4SymbolAttachText& ARec, TGPRectF& ABounds,
                                          bool bOnlyCalc) {
    ABounds = TGPRectF();
    TGPRectF B;
    TNuo4SymbolPathes Items = CreatePath_Text_FromElementArray(
        ARec.GetElementArray(), ARec.FontUsage, ARec.NoteStyleIndex, TGPPointF(0, 0), B, bOnlyCalc);
    if (RectIsEmpty(B)) return {};
    // Centred on the origin, then transformed about it.
    const double Dx = -B.width() / 2;
    B.translate(Dx, 0);
    const QTransform M = MatrixOf(ARec.Transform);
    ABounds = TKoGDIPlusPath::GetNewBoundsAfterTransform(B, M);
    if (bOnlyCalc) return {};
    SymbolPathes_Translate(Items, TGPPointF(Dx, 0));
    SymbolPathes_Transform(Items, M);
    return Items;
}

bool TNuo4SymbolAttachText::PathIsEmpty(TText AText_ABC, TNuo4FontUsage AUsage) {
    TrecNuo4SymbolAttachText R;
    R.FontUsage = AUsage;
    R.SetABCText(AText_ABC);
    TGPRectF B;
    return SymbolPathes_Union(CreatePathes_AttachText(R, B, false)).isEmpty();
}

void TNuo4SymbolAttachText::CalcBounds(TGPRectF& ARect) {
    CreatePathes_AttachText(FRec, ARect, true);
}

void TNuo4SymbolAttachText::CreateElements() {
    TGPRectF B;
    TNuo4SymbolPathes Items = CreatePathes_AttachText(FRec, B, false);
    // The same text under the same transform is the same outline, whatever the owner: kept once.
    for (TrecNuo4SymbolPathItem& I : Items) I.APath = SharedGlyphPath(I.APath);
    AddElementsFromSymbolPathes(Items);
}

// ---- Special volta and lines ----------------------------------------------------------------

namespace {

// The repeat sign without a count: two hooks and two small circles between them.
TNuo4SymbolPathes CreatePathes_RepeatNoCount(double L, TGPSizeF ADigit, TGPRectF& ABounds,
                                             bool bOnlyCalc) {
    const double W = ADigit.width(), H = ADigit.height();
    const double T = 0.07 * H, Q = H / 2;
    double C = std::sqrt(std::max(0.0, L / W / 10)) * 2.5 * W;
    if (C < 2 * W) C *= 0.7;
    const double Side = (L - C) / 2, Height = Q / 2 + 0.6 * H;
    ABounds = TGPRectF(0, 0, L, Height);
    if (bOnlyCalc) return {};
    TNuo4SymbolPathes Items;
    QPainterPath Left;
    Left.moveTo(0, Height);
    Left.lineTo(0, Q / 2);
    Left.lineTo(Side - Q / 2, Q / 2);
    SymbolPathes_AddStroke(Items, Left, T);
    for (double X : {Side, Side + C}) {
        QPainterPath Circle;
        Circle.addEllipse(TGPPointF(X, Q / 2), Q / 2, Q / 2);
        SymbolPathes_AddStroke(Items, Circle, T);
    }
    QPainterPath Right;
    Right.moveTo(Side + C + Q / 2, Q / 2);
    Right.lineTo(L, Q / 2);
    Right.lineTo(L, Height);
    SymbolPathes_AddStroke(Items, Right, T);
    return Items;
}

}  // namespace

TNuo4SymbolPathes CreatePathes_AttachFangZi(const TrecNuo4SymbolAttachFangZi& ARec,
                                            TGPRectF& ABounds, bool bOnlyCalc) {
    ABounds = TGPRectF();
    const double L = ARec.Length;
    switch (ARec.FangZiType) {
        case afztFangZi: {
            TrecNuo4SymbolFangZi F;
            F.NoteStyleIndex = ARec.NoteStyleIndex;
            F.ContinueStyle = ARec.ContinueStyle;
            F.FangZiLength = ARec.Length;
            F.FangZiHeight = 0;  // automatic
            F.Text_ABC = ARec.Text_ABC;
            return CreatePath_FangZi(F, ABounds, bOnlyCalc);
        }
        case afztRepeatNoCount:
            return CreatePathes_RepeatNoCount(L, StyleDigitSize(ARec.NoteStyleIndex), ABounds,
                                              bOnlyCalc);
        case afztDashedLine:
            return CreatePath_GeneralLine(TGPPointF(0, 0), gltDashedLine, L, false, ABounds,
                                          bOnlyCalc);
        case afztLine:
            return CreatePath_SolidLine(TGPPointF(0, 0), L, false, ABounds, bOnlyCalc);
        case afztWaveLine:
            return CreatePath_WaveLine(TGPPointF(0, 0), L, false, ABounds, bOnlyCalc);
    }
    return {};
}

void TNuo4SymbolAttachFangZi::SetLength(float AValue) {
    FRec.Length = AValue;
    FFangZiBounds = TGPRectF();
    SetNeedUpdate();
}

void TNuo4SymbolAttachFangZi::CalcBounds(TGPRectF& ARect) {
    if (RectIsEmpty(FFangZiBounds)) CreatePathes_AttachFangZi(FRec, FFangZiBounds, true);
    ARect = FFangZiBounds;
}

void TNuo4SymbolAttachFangZi::CreateElements() {
    AddElementsFromSymbolPathes(CreatePathes_AttachFangZi(FRec, FFangZiBounds, false));
}

// ---- Crescendo and diminuendo ---------------------------------------------------------------

void AttachDynamic_GetHeightAndThickness(const TrecNuo4SymbolAttachDynamic& ARec, double& AHeight,
                                         double& AThickness) {
    const double H = StyleDigitSize(ARec.NoteStyleIndex).height();
    AHeight = 0.5 * H;
    AThickness = 0.07 * H;
}

TNuo4SymbolPathes CreatePathces_Dynamic(const TrecNuo4SymbolAttachDynamic& ARec, TGPRectF& ABounds,
                                        bool bOnlyCalc) {
    double Hgt, T;
    AttachDynamic_GetHeightAndThickness(ARec, Hgt, T);
    const double L = ARec.Length;
    ABounds = TGPRectF(0, -Hgt / 2, L, Hgt);
    if (bOnlyCalc) return {};
    // The narrow end is at the left for a crescendo and at the right for a diminuendo.
    const double XNarrow = ARec.bJianRuo ? L : 0, XWide = ARec.bJianRuo ? 0 : L;
    QPainterPath P;
    if (!ARec.bPartial) {
        P.moveTo(XWide, -Hgt / 2);
        P.lineTo(XNarrow, 0);
        P.lineTo(XWide, Hgt / 2);
    } else {
        P.moveTo(XNarrow, -Hgt / 4);
        P.lineTo(XWide, -Hgt / 2);
        P.moveTo(XNarrow, Hgt / 4);
        P.lineTo(XWide, Hgt / 2);
    }
    return SymbolPathes_Stroke(P, T);
}

void TNuo4SymbolAttachDynamic::CalcBounds(TGPRectF& ARect) {
    CreatePathces_Dynamic(FRec, ARect, true);
}

void TNuo4SymbolAttachDynamic::CreateElements() {
    TGPRectF B;
    AddElementsFromSymbolPathes(CreatePathces_Dynamic(FRec, B, false));
}

// ---- Factory --------------------------------------------------------------------------------

std::unique_ptr<TNuo4Symbol> CreateAttachmentsSymbol(const TrecNuo4SectionItem_Attachments& AItem) {
    switch (AItem.Header.aType) {
        case satitText:
            return std::make_unique<TNuo4SymbolAttachText>(AItem.Text);
        case satitFangZi:
            return std::make_unique<TNuo4SymbolAttachFangZi>(AItem.FangZi);
        case satitArc:
            return std::make_unique<TNuo4SymbolAttachArc>(AItem.Arc);
        case satitDynamic:
            return std::make_unique<TNuo4SymbolAttachDynamic>(AItem.ADynamic);
        case satitOften:
            return std::make_unique<TNuo4SymbolAttachOften>(AItem.Often);
        case satitExtend:
            return std::make_unique<TNuo4SymbolAttachExtend>(AItem.Extend);
        case satitBranch:
            return std::make_unique<TNuo4SymbolAttachBranch>(AItem.Branch);
        case satitBrace:
            return std::make_unique<TNuo4SymbolAttachBrace>(AItem.Brace);
    }
    return nullptr;
}

}  // namespace nuo4
