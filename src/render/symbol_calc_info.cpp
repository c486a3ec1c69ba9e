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
    Bounds_Total = Bounds_Self;
    Bounds_Total.MyUnion(AttachmentsInfo.Articulations.Get().Bounds);
    Bounds_Total.MyUnion(AttachmentsInfo.Arcs.Get().Bounds);
    Bounds_Total.MyUnion(AttachmentsInfo.FangZis.Get().Bounds);
    Bounds_Total.MyUnion(AttachmentsInfo.Attachments.Get().Bounds);
    Bounds_Total.MyUnion(AttachmentsInfo.Lyrics.Get().Bounds, !bLyricOcupy, false);
    if (ExtraBoundsForLyric_Left != 0) {
        Bounds_Total.Black = MoveLeftEdge(Bounds_Total.Black, ExtraBoundsForLyric_Left);
        Bounds_Total.Layout = MoveLeftEdge(Bounds_Total.Layout, ExtraBoundsForLyric_Left);
    }
    if (ExtraBoundsForLyric_Right != 0) {
        Bounds_Total.Black = MoveRightEdge(Bounds_Total.Black, ExtraBoundsForLyric_Right);
        Bounds_Total.Layout = MoveRightEdge(Bounds_Total.Layout, ExtraBoundsForLyric_Right);
    }
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
