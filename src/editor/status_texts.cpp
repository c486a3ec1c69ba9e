#include "editor/status_texts.h"

#include <algorithm>

#include "render/symbol_types.h"

namespace nuo4 {

const int Nuo4StatusPanelWidths[Nuo4StatusPanelCount] = {50, 80, 50, 220, 220, 500, 380, 220};

QString Nuo4StatusText_Scale(double AScale) {
    return QString::asprintf("%.0f%%", AScale * 100);
}

int32_t Nuo4LineOfBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    const auto& L = B.LineInfoArray;
    // Lines hold consecutive basic ranges: the last line starting at or before the index.
    auto It = std::upper_bound(L.begin(), L.end(), ABasicIndex,
                               [](int32_t I, const TrecNuo4LineInfoItem& Line) {
                                   return I < Line.BasicIndexRange.StartIndex;
                               });
    if (It == L.begin()) return -1;
    --It;
    return It->BasicIndexRange.Contains(ABasicIndex) ? int32_t(It - L.begin()) : -1;
}

int32_t Nuo4PageOfLine(const TNuo4SimpleBuffer& B, int32_t ALine) {
    for (int32_t P = 0; P < int32_t(B.PageInfoArray.size()); ++P)
        if (B.PageInfoArray[P].LineIndexRange.Contains(ALine)) return P;
    return -1;
}

QString Nuo4StatusText_Caret(const TNuo4SimpleBuffer* B) {
    if (B && B->Basic_GetCount() > 0) {
        const TrecNuo4CaretPos_Index C = B->InternalStatus.Selection.CaretPos_End;
        const int32_t I = std::clamp(C.GetEditPos(), 0, B->Basic_GetLast());
        const int32_t Line = Nuo4LineOfBasicIndex(*B, I);
        const int32_t Page = Nuo4PageOfLine(*B, Line);
        const int32_t Measure = B->GetMeasureIndex_FromBasicIndex(I);
        if (Line >= 0 && Page >= 0) {
            const int32_t Col = I - B->LineInfoArray[Line].BasicIndexRange.StartIndex + 1;
            const QString M = Measure >= 0 ? QString::number(Measure + 1) : QStringLiteral("-");
            return QStringLiteral("第%1小节, 第%2页,第%3行,第%4列")
                .arg(M)
                .arg(Page + 1)
                .arg(Line + 1)
                .arg(Col);
        }
    }
    return QStringLiteral("第-小节, 第-页,第-行,第-列");
}

QString Nuo4StatusText_Totals(const TNuo4SimpleBuffer* B) {
    if (!B || B->Basic_GetCount() == 0) return QStringLiteral("共0小节,1页,0行,0个符号");
    return QStringLiteral("共%1小节,%2页,%3行,%4个符号")
        .arg(B->GetMeasureCount())
        .arg(std::max<int>(1, int(B->PageInfoArray.size())))
        .arg(int(B->LineInfoArray.size()))
        .arg(B->Basic_GetCount());
}

QString Nuo4StatusText_Symbol(const TNuo4SimpleBuffer* B, int32_t I) {
    if (!B || !B->Basic_CheckIndex(I))
        return QStringLiteral("Symbol: -, Index=-, Pos=-,-mm, Bounds=-,-,-,-");
    TNuo4Symbol* S = B->Basic_GetSymbol(I);
    const QPointF P = S->Pos();
    const QRectF R = S->BoundsWithPos();
    return QString::asprintf("Symbol: %s, Index=%d, Pos=%.1f,%.1fmm, Bounds=%.1f,%.1f,%.1f,%.1f",
                             EnumName(S->GetSymbolType()), I, P.x(), P.y(), R.left(), R.top(),
                             R.width(), R.height());
}

QString Nuo4StatusText_Pointer(QPointF APage, QPointF AView, QPoint ADevice) {
    return QString::asprintf("Page=%.1f,%.1fmm, View=%.1f,%.1fmm, Device=%d,%d", APage.x(),
                             APage.y(), AView.x(), AView.y(), ADevice.x(), ADevice.y());
}

QString Nuo4StatusText_Text(int ALine, int AColumn, int ASelStart, int ASelLength, int ALength) {
    return QStringLiteral("ABC: %1行,%2列,Sel=%3,%4,L=%5")
        .arg(ALine)
        .arg(AColumn)
        .arg(ASelStart)
        .arg(ASelLength)
        .arg(ALength);
}

int32_t Nuo4BasicIndexAtPagePos(const TNuo4SimpleBuffer& B, int32_t APage, QPointF APagePos) {
    if (APage < 0 || APage >= int32_t(B.PageInfoArray.size())) return -1;
    const TKoRange R = B.PageInfoArray[APage].BasicIndexRange;
    for (int32_t I = R.StartIndex; R.IsNonEmpty() && I <= R.EndIndex(); ++I)
        if (TNuo4Symbol* S = B.Basic_GetSymbol(I))
            if (S->BoundsWithPos().contains(APagePos)) return I;
    return -1;
}

}  // namespace nuo4
