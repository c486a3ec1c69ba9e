#include "layout/draw_document.h"

#include <QLineF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "format/doc_options.h"
#include "format/section_title.h"
#include "layout/buffer_lyrics.h"
#include "layout/layout_paragraphs.h"
#include "layout/layout_system.h"
#include "layout/simple_buffer.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/note_symbol.h"
#include "render/symbol_view.h"

namespace nuo4 {

namespace {
constexpr TGPColor Grey = 0xFF808080u, Blue = 0xFF0000FFu, Red = 0xFFFF0000u;
constexpr TGPColor Purple = 0x80800080u;  // indicators, alpha 128
constexpr TGPColor MarkColor = 0x80FF0000u;
constexpr TGPColor TitleMarkColor = 0xC0FF0000u;

QString Q(const std::u16string& S) {
    return QString::fromUtf16(S.data(), qsizetype(S.size()));
}

// An auxiliary text with its reference point; returns its bounds.
TGPRectF DrawAuxText(TKoGraphics& G, const QString& AText, TGPPointF APt, TTextRectPos APos,
                     TGPColor AColor) {
    TGPRectF Bounds;
    const QPainterPath P = MusicFont_GetTextPath_AtPos(fuAuxInfo, AText, APt, APos, Bounds);
    G.FillPath(P, AColor);
    return Bounds;
}

bool PageOk(const TNuo4SimpleBuffer& B, int32_t APage) {
    return APage >= 0 && APage < int32_t(B.PageInfoArray.size());
}
bool LineOk(const TNuo4SimpleBuffer& B, int32_t ALine) {
    return ALine >= 0 && ALine < int32_t(B.LineInfoArray.size());
}

// Keeps the surface of the current drawing in the document options for the time of a call.
class TDestGraphicsScope {
  public:
    explicit TDestGraphicsScope(TKoGraphics* G) : FOld(GetDestGraphics()) { SetDestGraphics(G); }
    ~TDestGraphicsScope() { SetDestGraphics(FOld); }

  private:
    TKoGraphics* FOld;
};

void StrokeLine(TKoGraphics& G, QLineF L, TGPColor AColor, double AWidth) {
    QPainterPath P;
    P.moveTo(L.p1());
    P.lineTo(L.p2());
    TKoGDIPlusPath::PathStroke_Solid(&G, P, AColor, AWidth);
}

// The switches that the symbols read live in the symbol view settings.
void ApplyToSymbolView(const TrecNuo4AuxInfoSettings& A) {
    TrecNuo4SymbolViewSettings& V = Nuo4SymbolViewSettings();
    V.bShowAuxInfo_HidedSymbol = A.bShowHidedSymbol;
    V.bShowAuxInfo_ReturnSymbol = A.bShowReturnSymbol;
    V.bShowAuxInfo_LyricVerseStart = A.bShowLyricVerseStart;
    V.bShowAuxInfo_AttachmentsBk = A.bShowAttachmentsBk;
    V.bShowAuxInfo_PageSymbolBk = A.bShowPageSymbolBk;
}

}  // namespace

const char* EnumName(TNuo4OutputDest AValue) {
    switch (AValue) {
        case odDisplay:
            return "odDisplay";
        case odPrinter:
            return "odPrinter";
        case odPDF:
            return "odPDF";
        case odEMF:
            return "odEMF";
    }
    return "";
}

void TrecNuo4AuxInfoSettings::SetAllOff() {
    bShowGrid = bShowHidedSymbol = bShowBarNumber = bShowLineNumber = bShowAttachIndicator =
        bShowAWCoefLockedMarker = bShowPageNumber = bShowMarginMarker = bShowReturnSymbol =
            bShowLyricVerseStart = bShowAttachmentsBk = bShowPageSymbolBk = bShowRulesCheckMark =
                false;
    ApplyToSymbolView(*this);
}

void TrecNuo4AuxInfoSettings::SetAllOn() {
    bShowGrid = bShowHidedSymbol = bShowBarNumber = bShowLineNumber = bShowAttachIndicator =
        bShowAWCoefLockedMarker = bShowPageNumber = bShowMarginMarker = bShowReturnSymbol =
            bShowLyricVerseStart = bShowAttachmentsBk = bShowPageSymbolBk = bShowRulesCheckMark =
                true;
    ApplyToSymbolView(*this);
}

TrecNuo4AuxInfoSettings& Nuo4AuxInfoSettings() {
    static TrecNuo4AuxInfoSettings S;
    return S;
}

// ---- Coordinates ----------------------------------------------------------------------------

TGPPointF PagePosToViewPos(const TNuo4SimpleBuffer& B, const TrecNuo4PagePos& APos) {
    if (APos.PageIndex < 0 || APos.PageIndex >= int32_t(B.PageRectArray_View.size()))
        return TGPPointF(-1, -1);
    return B.PageRectArray_View[APos.PageIndex].topLeft() + APos.PosAtPage;
}

TrecNuo4PagePos ViewPosToPagePos(const TNuo4SimpleBuffer& B, TGPPointF AViewPos) {
    TrecNuo4PagePos R;
    for (int32_t P = int32_t(B.PageRectArray_View.size()) - 1; P >= 0; --P) {
        const TGPRectF& Rc = B.PageRectArray_View[P];
        if (AViewPos.x() >= Rc.left() && AViewPos.x() <= Rc.right() && AViewPos.y() >= Rc.top() &&
            AViewPos.y() <= Rc.bottom()) {
            R.PageIndex = P;
            R.PosAtPage = AViewPos - Rc.topLeft();
            return R;
        }
    }
    R.PosAtPage = AViewPos;
    return R;
}

// ---- Pieces ---------------------------------------------------------------------------------

std::u16string GetPageNumberText(int32_t APageIndex, int32_t APageCount) {
    const std::string S =
        "___ " + std::to_string(APageIndex + 1) + " / " + std::to_string(APageCount) + " ___";
    return std::u16string(S.begin(), S.end());
}

TGPColor GetLineNumberColor(TNuo4SimpleBuffer& B, int32_t ALine) {
    if (!LineOk(B, ALine)) return Grey;
    const TrecNuo4LineInfoItem& L = B.LineInfoArray[ALine];
    if (L.IsEmpty()) return Grey;
    if (LineHasDurationError(L, B.MeasureInfoArray)) return Red;
    const int32_t LastMeasure = L.MeasureIndexRange.EndIndex();
    if (LastMeasure >= 0 && LastMeasure < B.GetMeasureCount() &&
        !B.Basic_IsBarline(B.MeasureInfoArray[LastMeasure].BasicIndexRange.EndIndex()))
        return Red;
    return Grey;
}

std::vector<TrecNuo4LineMarker> GetLineMarkers(TNuo4SimpleBuffer& B, int32_t ALine) {
    std::vector<TrecNuo4LineMarker> R;
    if (!LineOk(B, ALine)) return R;
    const TrecNuo4LineInfoItem& L = B.LineInfoArray[ALine];
    const int32_t P = ParagraphIndexOfLine(B.ParagraphInfoArray, ALine);
    const TrecNuo4SymbolReturnPrivateOptions Opt =
        P >= 0 ? B.ParagraphInfoArray[P].Options : TrecNuo4SymbolReturnPrivateOptions();
    if (!L.IsEmpty() && L.bWithReturn) R.push_back({u'B', Opt.bJustifyHorz ? Blue : Grey});
    if (std::fabs(Opt.IndentValue) >= Nuo4OptionTolerance) R.push_back({u'I', Blue});
    const TKoRange Rg = L.GetBasicIndexRangeExcludeReturn();
    if (!L.IsEmpty() && B.Basic_CheckIndex(Rg)) {
        bool bAny = false, bAllButLast = true;
        for (int32_t I = Rg.StartIndex; I <= Rg.EndIndex(); ++I) {
            const bool bLocked = B.Basic_GetSymbol(I)->AWCoefIsLocked();
            bAny = bAny || bLocked;
            if (I < Rg.EndIndex() && !bLocked) bAllButLast = false;
        }
        if (bAny) R.push_back({u'L', bAllButLast ? Blue : Grey});
        const double Right = Nuo4DocOptions().Param_Paper.GetLayoutRight();
        TNuo4Symbol* Last = B.Basic_GetSymbol(Rg.EndIndex());
        if (std::fabs(Last->RightPos_Total() - Right) <= Nuo4LineWidthTolerance) {
            const bool bShortBar = Last->GetSymbolType() == sbstBarline &&
                                   Right - Last->RightPos_Self() > Nuo4LineWidthTolerance;
            R.push_back({u'J', bShortBar ? Red : Blue});
        }
    }
    for (const auto& S : B.SystemLineInfoArray)
        if (S.LineIndexRange.Length > 1 && S.LineIndexRange.Contains(ALine)) {
            R.push_back({u'M', Grey});
            break;
        }
    return R;
}

namespace {
struct TBeamRect {
    TGPRectF Rect;
    bool bScript = false;  // the note digit face is the script face
};
std::vector<TBeamRect> GetBeamRects(TNuo4SimpleBuffer& B, TKoRange ARange);
}  // namespace

std::vector<TGPRectF> GetUnderlineRects(TNuo4SimpleBuffer& B, TKoRange ARange) {
    std::vector<TGPRectF> R;
    for (const auto& Beam : GetBeamRects(B, ARange)) R.push_back(Beam.Rect);
    return R;
}

namespace {
std::vector<TBeamRect> GetBeamRects(TNuo4SimpleBuffer& B, TKoRange ARange) {
    std::vector<TBeamRect> Rects;
    if (!B.Basic_CheckIndex(ARange)) return Rects;
    std::vector<TNuo4Symbol*> Syms;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I)
        Syms.push_back(B.Basic_GetSymbol(I));
    const int N = int(Syms.size());
    auto NoteAt = [&](int I) {
        return I >= 0 && I < N ? dynamic_cast<TNuo4SymbolNote*>(Syms[I]) : nullptr;
    };
    // The note a connection reaches: the next symbol, or the one after a single marker.
    auto NextNote = [&](int I) {
        int J = I + 1;
        if (J < N && Syms[J]->GetSymbolType() == sbstAccompMarker) ++J;
        return NoteAt(J) ? J : -1;
    };
    std::vector<std::vector<int>> Runs;
    for (int I = 0; I < N;) {
        if (!NoteAt(I)) {
            ++I;
            continue;
        }
        std::vector<int> Run{I};
        int Cur = I;
        while (CalcUnderlineConnection(Syms, Cur)) {
            const int J = NextNote(Cur);
            if (J < 0) break;
            Run.push_back(J);
            Cur = J;
        }
        Runs.push_back(Run);
        I = Cur + 1;
    }
    for (int Level = 0; Level < 4; ++Level)
        for (const auto& Run : Runs) {
            TGPRectF Chain;
            const TrecNuo4PureNoteStyle* Style =
                GetPureNoteStylePtr(NoteAt(Run[0])->NoteStyleIndex());
            const bool bScript = Style && Style->IsScript();
            for (int K : Run) {
                TNuo4SymbolNote* Note = NoteAt(K);
                // The note geometry answers every level; a note has only its own count.
                const bool bHas = !Note->Hided() && Level < Note->GetUnderlineCount();
                const TGPRectF R =
                    bHas ? Note->GetBounds_Underline(Level).translated(Note->Pos()) : TGPRectF();
                if (RectIsEmpty(R)) {
                    if (!RectIsEmpty(Chain)) Rects.push_back({Chain, bScript});
                    Chain = TGPRectF();
                    continue;
                }
                Chain = RectIsEmpty(Chain) ? R : Chain.united(R);
            }
            if (!RectIsEmpty(Chain)) Rects.push_back({Chain, bScript});
        }
    return Rects;
}
}  // namespace

QLineF GetRulesCheckMarkLine(const TGPRectF& ABox, double AOffset) {
    const double C = ABox.center().x();
    const double X0 = std::min(ABox.left(), C - 1.5), X1 = std::max(ABox.right(), C + 1.5);
    const double Y = ABox.bottom() + AOffset;
    return QLineF(X0, Y, X1, Y);
}

// ---- Drawing --------------------------------------------------------------------------------

void Draw_Basic(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange) {
    if (!B.Basic_CheckIndex(ARange)) return;
    for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
        TNuo4Symbol* S = B.Basic_GetSymbol(I);
        S->Update(false);
        S->Draw(G);
    }
    if (Nuo4DocOptions().bAutoBeam) Draw_Underlines(B, G, ADest, ARange);
}

void Draw_Underlines(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange) {
    if (!Nuo4DocOptions().bAutoBeam) return;
    const TGPColor Ink = Nuo4AuxInfoSettings().InkColor;
    for (const TBeamRect& Beam : GetBeamRects(B, ARange)) {
        if (!Beam.bScript) {
            G.FillRect(Beam.Rect, Ink);
            continue;
        }
        // A script face draws its beams as a hand-drawn stroke, a little higher.
        TGPRectF R = Beam.Rect;
        const double H = R.height() * 1.3;
        R.setTop(R.center().y() - H / 2);
        R.setHeight(H);
        G.FillPath(Nuo4MusicFont().CreateScriptLine_Horz(&G, R), Ink);
    }
}

void Draw_Attach(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, TKoRange ARange) {
    for (const int32_t A : B.Attach_GetIndexesOfBasicRange(ARange)) {
        TNuo4Symbol* S = B.Attach_GetSymbol(A);
        S->Update(false);
        S->Draw(G);
    }
}

void Draw_PageSymbol(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest, int32_t AIndex) {
    if (TNuo4Symbol* S = B.PageBuffer_GetSymbol(AIndex)) {
        S->Update(false);
        S->Draw(G);
    }
}

void Draw_TitleBlock(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest) {
    const TGPColor Ink = Nuo4AuxInfoSettings().InkColor;
    for (const auto& Item : B.TitleBlockPathes)
        for (const QPainterPath& P : Item) G.FillPath(P, Ink);
}

void DrawPageNumber(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage, TGPColor AColor) {
    if (!PageOk(B, APage)) return;
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    DrawAuxText(G, Q(GetPageNumberText(APage, int32_t(B.PageInfoArray.size()))),
                TGPPointF(P.Width / 2, P.Height - P.MarginBottom / 2), rpMiddleMiddle, AColor);
}

void Draw_BarNumberAndLineNumber(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t ALine,
                                 bool bBarlineNumber, bool bLineNumber) {
    if (!LineOk(B, ALine) || B.Basic_GetCount() == 0) return;
    const TrecNuo4LineInfoItem& L = B.LineInfoArray[ALine];
    const TGPSizeF D = DocDigitSize();
    const TrecNuo4AuxInfoSettings& A = Nuo4AuxInfoSettings();
    if (bLineNumber) {
        TGPRectF R =
            DrawAuxText(G, QString::number(ALine + 1), TGPPointF(0, L.BaselineY - D.height() / 2),
                        rpLeftMiddle, GetLineNumberColor(B, ALine));
        for (const auto& M : GetLineMarkers(B, ALine))
            R = DrawAuxText(G, QString(QChar(M.Letter)), TGPPointF(R.right(), R.center().y()),
                            rpLeftMiddle, M.Color);
    }
    if (bBarlineNumber && !L.IsEmpty())
        for (int32_t M = L.MeasureIndexRange.StartIndex; M <= L.MeasureIndexRange.EndIndex(); ++M) {
            if (!B.CheckMeasureIndex(M)) continue;
            const TNuo4Symbol* First =
                B.Basic_GetSymbol(B.MeasureInfoArray[M].BasicIndexRange.StartIndex);
            if (!First) continue;
            const TGPPointF Pt = First->Pos() + TGPPointF(A.BarNumberOffsetCoefX * D.width(),
                                                          A.BarNumberOffsetCoefY * D.height());
            DrawAuxText(G, Q(GetBarNumberOfMeasure(B.SystemLineInfoArray, B.LineInfoArray, M)), Pt,
                        rpLeftBaseline,
                        MeasureHasDurationError(B.MeasureInfoArray[M]) ? A.BarNumberErrorColor
                                                                       : A.BarNumberColor);
        }
}

void Draw_RulesCheckMarks_Line(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t ALine) {
    if (!LineOk(B, ALine) || !Nuo4AuxInfoSettings().bShowRulesCheckMark) return;
    const TKoRange R = B.LineInfoArray[ALine].BasicIndexRange;
    auto Mark = [&](TNuo4Symbol* S, double AOffset) {
        if (S) StrokeLine(G, GetRulesCheckMarkLine(S->BoundsWithPos(), AOffset), MarkColor, 0.5);
    };
    // The line's own attachments that one of the lists names, in attach-buffer order.
    std::vector<int32_t> Errors;
    for (const auto* List :
         {&B.RulesCheckResult_ErrorArray_Lyric, &B.RulesCheckResult_ErrorArray_AttachBrace,
          &B.RulesCheckResult_ErrorArray_Arc})
        Errors.insert(Errors.end(), List->begin(), List->end());
    std::sort(Errors.begin(), Errors.end());
    if (!Errors.empty())
        for (const int32_t A : B.Attach_GetIndexesOfBasicRange(R))
            if (std::binary_search(Errors.begin(), Errors.end(), A)) Mark(B.Attach_GetSymbol(A), 0);
    for (int32_t I : B.RulesCheckResult_ErrorArray_Barline)
        if (R.Contains(I)) Mark(B.Basic_GetSymbol(I), 1);
    for (int32_t I : B.RulesCheckResult_ErrorArray_OutOfPage)
        if (R.Contains(I)) Mark(B.Basic_GetSymbol(I), 0);
}

void Draw_AllSymbols_Page(TNuo4SimpleBuffer& B, TKoGraphics& G, TNuo4OutputDest ADest,
                          int32_t APageIndex, bool bBarlineNumber, bool bLineNumber,
                          bool bPageNumber, bool bFillBkGnd, const QImage* ABkGndImage) {
    // A document without lines still has its first page for the title and the page symbols.
    const bool bEmptyDoc = B.PageInfoArray.empty() && APageIndex == 0;
    if (!PageOk(B, APageIndex) && !bEmptyDoc) return;
    TDestGraphicsScope Scope(&G);
    const TrecNuo4AuxInfoSettings& A = Nuo4AuxInfoSettings();
    const TrecNuo4DocOptionsParam_Paper& Paper = Nuo4DocOptions().Param_Paper;
    const bool bDisplay = ADest == odDisplay || ADest == odEMF;
    if (bFillBkGnd && ADest == odPrinter) {
        G.FillRect(TGPRectF(0, 0, Paper.Width, Paper.Height), A.PaperColor);
        if (ABkGndImage && !ABkGndImage->isNull() && G.Painter())
            G.Painter()->drawImage(QPointF(0, 0), *ABkGndImage);
    }
    for (int32_t I = 0; I < B.PageBuffer_GetCount(); ++I)
        if (B.PageBuffer_GetPageIndex(I) == APageIndex) Draw_PageSymbol(B, G, ADest, I);
    if (A.bPrintPageNumber)
        DrawPageNumber(B, G, APageIndex, A.InkColor);
    else if (bDisplay && bPageNumber)
        DrawPageNumber(B, G, APageIndex, WithAlpha(A.InkColor, 64));
    if (APageIndex == 0 && B.bWithTitleBlock) {
        Draw_TitleBlock(B, G, ADest);
        const int32_t K = tbitKeyAndMeters;
        if (bDisplay && A.bShowRulesCheckMark && B.RulesCheckResult_Error_TitleBlock_KeyAndMeters &&
            K < int32_t(B.TitleItemsBoundsArray.size()))
            StrokeLine(G, GetRulesCheckMarkLine(B.TitleItemsBoundsArray[K], 0), TitleMarkColor,
                       0.5);
    }
    if (bEmptyDoc) return;
    const TKoRange Lines = B.PageInfoArray[APageIndex].LineIndexRange;
    const TGPPointF PageOrigin = APageIndex < int32_t(B.PageRectArray_View.size())
                                     ? B.PageRectArray_View[APageIndex].topLeft()
                                     : TGPPointF();
    for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L) {
        if (!LineOk(B, L)) continue;
        const TrecNuo4LineInfoItem& Line = B.LineInfoArray[L];
        if (bDisplay && !RectIsEmpty(B.ScoreArea) &&
            !Line.Bounds.Black.translated(PageOrigin).intersects(B.ScoreArea))
            continue;
        Draw_BarNumberAndLineNumber(B, G, L, bBarlineNumber, bLineNumber);
        Draw_Basic(B, G, ADest, Line.BasicIndexRange);
        Draw_Attach(B, G, ADest, Line.BasicIndexRange);
        Draw_LyricUnderlines(B, G, Line.BasicIndexRange, A.InkColor);
        if (bDisplay) Draw_RulesCheckMarks_Line(B, G, L);
    }
}

void Draw_AllSymbols_ToDisplay(TNuo4SimpleBuffer& B, TKoGraphics& G) {
    const TrecNuo4AuxInfoSettings& A = Nuo4AuxInfoSettings();
    for (int32_t P = 0; P < int32_t(B.PageRectArray_View.size()); ++P) {
        const TGPPointF O = B.PageRectArray_View[P].topLeft();
        G.TranslateTransform(O.x(), O.y());
        Draw_AllSymbols_Page(B, G, odDisplay, P, A.bShowBarNumber, A.bShowLineNumber,
                             A.bShowPageNumber, false, nullptr);
        G.TranslateTransform(-O.x(), -O.y());
    }
}

// ---- Indicators -----------------------------------------------------------------------------

void DrawAWCoefLockedIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage) {
    if (!PageOk(B, APage) || !Nuo4AuxInfoSettings().bShowAWCoefLockedMarker) return;
    TDestGraphicsScope Scope(&G);
    const TKoRange R = B.PageInfoArray[APage].BasicIndexRange;
    for (int32_t I = R.StartIndex; R.IsNonEmpty() && I <= R.EndIndex(); ++I) {
        TNuo4Symbol* S = B.Basic_GetSymbol(I);
        if (!S || !S->AWCoefIsLocked()) continue;
        const TGPRectF Box = S->BoundsWithPos();
        DrawAuxText(G, QStringLiteral("*"), TGPPointF(Box.right(), Box.top() - 1), rpMiddleBottom,
                    0x800000FFu);
    }
}

void DrawHighlightSymbolIndicator(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage) {
    const int32_t A = B.InternalStatus.Highlight.AttachIndex;
    if (A < 0 || !Nuo4AuxInfoSettings().bShowAttachIndicator || B.Attach_GetPageIndex(A) != APage)
        return;
    const TNuo4Symbol* S = B.Attach_GetSymbol(A);
    const TNuo4Symbol* Owner = B.Basic_GetSymbol(B.Attach_GetBasicIndex(A));
    if (S && Owner) TKoGDIPlusDrawing::DrawDashedLine(&G, Purple, Owner->Pos(), S->Pos());
}

void DrawPageBreakMarker(TNuo4SimpleBuffer& B, TKoGraphics& G, int32_t APage) {
    if (!PageOk(B, APage)) return;
    const int32_t Last = B.PageInfoArray[APage].LineIndexRange.EndIndex();
    const int32_t P = ParagraphIndexOfLine(B.ParagraphInfoArray, Last);
    if (P < 0 || !B.ParagraphInfoArray[P].Options.bPageBreak ||
        B.ParagraphInfoArray[P].LineIndexRange.EndIndex() != Last)
        return;
    const double Y = B.LineInfoArray[Last].Bounds.Layout.bottom();
    TKoGDIPlusDrawing::DrawDashedLine(&G, Purple, QPointF(0, Y),
                                      QPointF(Nuo4DocOptions().Param_Paper.Width, Y));
}

// ---- Printing -------------------------------------------------------------------------------

TNuo4PrintDrawScope::TNuo4PrintDrawScope(TNuo4SimpleBuffer& B)
    : FBuffer(B),
      FHighlight(B.InternalStatus.Highlight),
      FGraphics(GetDestGraphics()),
      FAux(Nuo4AuxInfoSettings()),
      FView(Nuo4SymbolViewSettings()) {
    // Highlighted symbols print unhighlighted.
    auto Unhighlight = [&](TNuo4SymbolBuffer& Buf, TNuo4SymbolBufferType T) {
        for (int32_t I = 0; I < int32_t(Buf.size()); ++I)
            if (Buf[I] && Buf[I]->Highlighted()) {
                Buf[I]->SetHighlighted(false);
                FHighlighted.push_back((int32_t(T) << 28) | I);
            }
    };
    Unhighlight(B.BasicBuffer, sbtBasic);
    Unhighlight(B.AttachBuffer, sbtAttach);
    Unhighlight(B.PageBuffer, sbtPage);
    B.InternalStatus.Highlight.Clear();
    Nuo4AuxInfoSettings().SetAllOff();
}

TNuo4PrintDrawScope::~TNuo4PrintDrawScope() {
    FBuffer.InternalStatus.Highlight = FHighlight;
    for (int32_t I : FHighlighted)
        if (TNuo4Symbol* S = FBuffer.GetSymbol(
                TrecNuo4SymbolBufferIndex::Create(TNuo4SymbolBufferType(I >> 28), I & 0x0FFFFFFF)))
            S->SetHighlighted(true);
    SetDestGraphics(FGraphics);
    Nuo4AuxInfoSettings() = FAux;
    Nuo4SymbolViewSettings() = FView;
}

bool Draw_AllSymbols_ToPrinter(TNuo4SimpleBuffer& B, QPrinter& APrinter, TKoRange APageRange,
                               const std::u16string& AFileName,
                               const std::function<bool(int32_t)>& AOnPage) {
    if (!APageRange.IsNonEmpty() || !PageOk(B, APageRange.StartIndex) ||
        !PageOk(B, APageRange.EndIndex()))
        return false;
    TNuo4PrintDrawScope Scope(B);
    const bool bPrintPageNumber = Scope.SavedAux().bPrintPageNumber;

    const TrecNuo4DocOptionsParam_Paper& Paper = Nuo4DocOptions().Param_Paper;
    APrinter.setDocName(QStringLiteral("NUO4 - ") + Q(AFileName));
    APrinter.setFullPage(true);
    if (!APrinter.setPageSize(QPageSize(QSizeF(Paper.Width, Paper.Height), QPageSize::Millimeter,
                                        QString(), QPageSize::ExactMatch)))
        return false;
    APrinter.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    // The dialog's own range would make the printer skip pages the range already chose.
    APrinter.setPrintRange(QPrinter::AllPages);
    APrinter.setFromTo(0, 0);
    QPainter Painter;
    if (!Painter.begin(&APrinter)) return false;
    for (int32_t P = APageRange.StartIndex; P <= APageRange.EndIndex(); ++P) {
        if ((P > APageRange.StartIndex && !APrinter.newPage()) || (AOnPage && !AOnPage(P))) {
            APrinter.abort();
            return false;
        }
        TKoGraphics G(&Painter);
        PrepareGraphics(G, 1);
        SetDestGraphics(&G);
        Draw_AllSymbols_Page(B, G, odPrinter, P, false, false, bPrintPageNumber, true, nullptr);
    }
    return Painter.end();
}

bool Draw_AllSymbols_ToPrinter(TNuo4SimpleBuffer& B, TKoRange APageRange,
                               const std::u16string& AFileName, const std::string& AOutputFile) {
    QPrinter Printer(QPrinter::HighResolution);
    if (!AOutputFile.empty()) {
        Printer.setOutputFormat(QPrinter::PdfFormat);
        Printer.setOutputFileName(QString::fromStdString(AOutputFile));
    }
    return Draw_AllSymbols_ToPrinter(B, Printer, APageRange, AFileName);
}

}  // namespace nuo4
