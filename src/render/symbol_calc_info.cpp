#include "render/symbol_calc_info.h"

#include <algorithm>

namespace nuo4 {

const char* EnumName(TNuo4ArcPassType AValue) {
    switch (AValue) {
        case aptStart:
            return "aptStart";
        case aptEnd:
            return "aptEnd";
        case aptPass:
            return "aptPass";
    }
    return "";
}

const char* EnumName(TNuo4SymbolABCTextInfoType AValue) {
    switch (AValue) {
        case spwabtNone:
            return "spwabtNone";
        case spwabtSectionVoice:
            return "spwabtSectionVoice";
        case spwabtSectionLyrics:
            return "spwabtSectionLyrics";
        case spwabtSectionAttachments:
            return "spwabtSectionAttachments";
        case spwabtSectionPage:
            return "spwabtSectionPage";
        case spwabtReserved:
            return "spwabtReserved";
    }
    return "";
}

namespace {

TGPRectF MoveLeftEdge(TGPRectF R, double ADelta) {
    R.setLeft(R.left() - ADelta);
    return R;
}

TGPRectF MoveRightEdge(TGPRectF R, double ADelta) {
    R.setRight(R.right() + ADelta);
    return R;
}

}  // namespace

void TrecNuo4SymbolCalcInfo::Update_Bounds_Total(bool bLyricOcupy) {
    // United in double and stored once: one rounding, and no conversions per group.
    TrecNuo4CalcInfo_BoundsInfo T = Bounds_Self;
    T.MyUnion(AttachmentsInfo.Articulations.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Arcs.Get().Bounds);
    T.MyUnion(AttachmentsInfo.FangZis.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Attachments.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Lyrics.Get().Bounds, !bLyricOcupy, false);
    if (ExtraBoundsForLyric_Left != 0) {
        T.Black = MoveLeftEdge(T.Black, ExtraBoundsForLyric_Left);
        T.Layout = MoveLeftEdge(T.Layout, ExtraBoundsForLyric_Left);
    }
    if (ExtraBoundsForLyric_Right != 0) {
        T.Black = MoveRightEdge(T.Black, ExtraBoundsForLyric_Right);
        T.Layout = MoveRightEdge(T.Layout, ExtraBoundsForLyric_Right);
    }
    Bounds_Total = T;
}

namespace {

// The smaller top of the non-empty boxes; 0 when all are empty.
double TopOf(std::initializer_list<const TGPRectF32*> ARects) {
    bool bAny = false;
    double Top = 0;
    for (const TGPRectF32* R : ARects) {
        if (RectIsEmpty(*R)) continue;
        Top = bAny ? std::min(Top, R->top()) : R->top();
        bAny = true;
    }
    return Top;
}

}  // namespace

double TrecNuo4SymbolCalcInfo::GetArticulationsTop() const {
    return TopOf({&AttachmentsInfo.Articulations.Get().Bounds.Layout, &Bounds_Self.Layout});
}

double TrecNuo4SymbolCalcInfo::GetArcsTop() const {
    return TopOf({&AttachmentsInfo.Articulations.Get().Bounds.Layout, &Bounds_Self.Layout,
                  &AttachmentsInfo.Arcs.Get().Bounds.Layout});
}

}  // namespace nuo4
