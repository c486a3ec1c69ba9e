// The notes of the symbol specimen: every duration, octaves and accidentals, the four digit
// faces and the italic and reduced sub styles, rests and drums, chords in both spacing modes,
// grace groups before and after the note, and the articulations stacked above notes, all
// drawn through the note and articulation symbols.
#ifdef NUO4_CLI_WITH_RENDER

#include <QString>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/cli/sheet_symbols.h"
#include "format/doc_options.h"
#include "format/symbol_note.h"
#include "render/articulation_symbol.h"
#include "render/music_font.h"
#include "render/note_style.h"
#include "render/note_symbol.h"

namespace nuo4::cli {

namespace {

constexpr TGPColor GuideColor = 0xFFE2DED3, LabelColor = 0xFF6B6B6B;
constexpr TNuo4FontUsage LabelUsage = fuAuxInfo;

void Label(TKoGraphics& G, const QString& AText, QPointF APt) {
    TGPRectF B;
    G.FillPath(MusicFont_GetTextPath_AtPos_NoCached(LabelUsage, AText, APt, rpMiddleTop, B),
               LabelColor);
}

void HLine(TKoGraphics& G, double AX0, double AX1, double AY, TGPColor AColor, double AWidth) {
    QPainterPath P(QPointF(AX0, AY));
    P.lineTo(AX1, AY);
    TKoGDIPlusPath::PathStroke_Solid(&G, P, AColor, AWidth);
}

// Options a row is drawn with; restored afterwards.
struct TRowOptions {
    TNuo4DigitFace Face = dfFace0;
    bool bGapMode = false;
    bool bCommonRightDuration = true;
};

class TOptionsScope {
  public:
    explicit TOptionsScope(const TRowOptions& A) : FSaved(Nuo4DocOptions()) {
        TrecNuo4DocOptions& O = Nuo4DocOptions();
        // Each note draws its own underlines here: there is no layout to join them.
        O.bAutoBeam = false;
        O.Param_MainDigit.Face = A.Face;
        O.Param_Chord.NoteSpacing.bGapMode = A.bGapMode;
        O.Param_Chord.bUseCommonRightDuration = A.bCommonRightDuration;
        RebuildAll();
    }
    ~TOptionsScope() {
        TrecNuo4DocOptions& O = Nuo4DocOptions();
        void* Dest = O.DestGraphics;
        O = FSaved;
        O.DestGraphics = Dest;
        RebuildAll();
    }

  private:
    TrecNuo4DocOptions FSaved;
};

// One cell: a note written in the score notation, with what the text cannot say.
struct TNoteCell {
    explicit TNoteCell(std::u16string AText) : Text(std::move(AText)) {}
    std::u16string Text;
    QString Label;  // the text when empty
    TNuo4NoteSubStyle SubStyle = nssNormal;
    bool bGraceAfter = false;
    bool bGrace8th = false;
    std::vector<TNuo4Articulation> Articulations;
    // A percussion character replaces the pitch (written coded in the text).
    char16_t DrumChar = 0;
    bool bDrumCoreFont = false;
};

TNoteCell Drum(const char16_t* ADuration, char16_t AChar, bool bCoreFont, const QString& ALabel) {
    TNoteCell C{std::u16string(u"X") + ADuration};
    C.DrumChar = AChar;
    C.bDrumCoreFont = bCoreFont;
    C.Label = ALabel;
    return C;
}

std::unique_ptr<TNuo4SymbolNote> MakeNote(const TNoteCell& C) {
    TrecNuo4SymbolNote R;
    if (!GetSymbolRecNote_FromABCText(C.Text, R)) return nullptr;
    if (C.DrumChar != 0) {
        TrecNuo4Pitch P;
        P.Initialize_ToDrumPitch(C.DrumChar, C.bDrumCoreFont);
        R.SetPitches_Main({P});
    }
    R.GraceNote.Mut().Options.bRight = C.bGraceAfter;
    R.GraceNote.Mut().Options.b8th = C.bGrace8th;
    auto S = std::make_unique<TNuo4SymbolNote>(R);
    if (C.SubStyle != nssNormal) S->SetSubStyle(C.SubStyle);
    S->Update(true);
    return S;
}

// The articulations of a note stacked upward from the top of its box, as the layout does.
std::vector<std::unique_ptr<TNuo4SymbolArticulation>> MakeArticulations(const TNoteCell& C,
                                                                        TNuo4SymbolNote& ANote,
                                                                        double& ATop) {
    std::vector<std::unique_ptr<TNuo4SymbolArticulation>> R;
    const double Dh = ANote.DigitSize().height();
    const double CoefY = Nuo4DocOptions().ArticulationPosCoefY;
    double Y =
        GetBounds_MainAndChord(ANote.SymbolRec, false, false, ANote.ForceChordSubStyle()).top() +
        CoefY * Dh;
    ATop = std::min(ATop, ANote.Bounds().top());
    for (TNuo4Articulation A : C.Articulations) {
        auto S = TNuo4SymbolArticulation::CreateFromDocument(A);
        S->SetNoteStyleIndex(ANote.NoteStyleIndex());
        S->Update(true);
        S->SetPos(QPointF(0, Y));
        ATop = std::min(ATop, Y + S->Bounds().top());
        Y = Y - S->Bounds().height() + CoefY * Dh;
        R.push_back(std::move(S));
    }
    return R;
}

// Cells left to right on a common baseline, each as wide as the note's ink or advance; faint
// guides mark the digit cell of the normal style.
double DrawRow(TKoGraphics& G, double AX, double AY, double AWidth, const TRowOptions& AOptions,
               const std::vector<TNoteCell>& ACells) {
    TOptionsScope Scope(AOptions);
    constexpr double Pad = 3.0, LabelGap = 1.8;
    const double H = DocDigitSize().height();
    struct TPlaced {
        std::unique_ptr<TNuo4SymbolNote> Note;
        std::vector<std::unique_ptr<TNuo4SymbolArticulation>> Marks;
        QString Label;
        double Width = 0, Top = 0, Bottom = 0;
    };
    std::vector<std::vector<TPlaced>> Lines(1);
    double X = 0;
    for (const TNoteCell& C : ACells) {
        TPlaced P;
        P.Note = MakeNote(C);
        if (!P.Note) continue;
        P.Top = P.Note->Bounds().top();
        P.Marks = MakeArticulations(C, *P.Note, P.Top);
        const TGPRectF B = P.Note->Bounds();
        P.Bottom = B.bottom();
        P.Label = C.Label.isEmpty() ? QString::fromStdU16String(C.Text) : C.Label;
        const double LabelW =
            TKoGDIPlusText::GetStringWidth(&G, P.Label, MusicFont_GetFont(LabelUsage));
        P.Width = std::max(std::max(B.width(), LabelW), P.Note->AW() * 0.6) + Pad;
        if (X + P.Width > AWidth && X > 0) {
            Lines.emplace_back();
            X = 0;
        }
        X += P.Width;
        Lines.back().push_back(std::move(P));
    }
    double Y = AY;
    for (std::vector<TPlaced>& L : Lines) {
        double Above = H + 1, Below = 0;
        for (const TPlaced& P : L) {
            Above = std::max(Above, -P.Top + 1);
            Below = std::max(Below, P.Bottom);
        }
        const double Base = Y + Above;
        HLine(G, AX, AX + AWidth, Base, GuideColor, 0.08);
        HLine(G, AX, AX + AWidth, Base - H, GuideColor, 0.08);
        double Cx = AX;
        for (TPlaced& P : L) {
            const TGPRectF B = P.Note->Bounds();
            const double RefX = Cx + P.Width / 2 - B.center().x();
            P.Note->SetPos(QPointF(RefX, Base));
            P.Note->Draw(G);
            for (auto& M : P.Marks) {
                M->SetPos(QPointF(RefX, Base + M->Pos().y()));
                M->Draw(G);
            }
            Label(G, P.Label, QPointF(Cx + P.Width / 2, Base + Below + LabelGap));
            Cx += P.Width;
        }
        Y = Base + Below + LabelGap + 4.5;
    }
    return Y - AY;
}

std::vector<TNoteCell> Cells(std::initializer_list<const char16_t*> ATexts) {
    std::vector<TNoteCell> R;
    for (const char16_t* T : ATexts) R.emplace_back(T);
    return R;
}

double DrawDurations(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawRow(G, AX, AY, AWidth, {},
                   Cells({u"5____", u"5___", u"5___.", u"5__", u"5__.", u"5__..", u"5_", u"5_.",
                          u"5_..", u"5_...", u"5", u"5.", u"5..", u"5...", u"5-", u"5--", u"5---",
                          u"5----", u"5-------"}));
}

double DrawOctaves(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawRow(G, AX, AY, AWidth, {},
                   Cells({u"1ddd", u"1dd", u"1d", u"1", u"1g", u"1gg", u"1ggg", u"2d_", u"3dd__",
                          u"6ddd___", u"7g_", u"4gg__.", u"0g", u"0d_"}));
}

double DrawAccidentals(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawRow(G, AX, AY, AWidth, {},
                   Cells({u"#1", u"b3", u"#b7", u"#4g", u"b6d", u"#5gg_", u"b2d_.", u"#b1-", u"#2",
                          u"b7", u"#6dd__"}));
}

double DrawFace(TKoGraphics& G, double AX, double AY, double AWidth, TNuo4DigitFace AFace) {
    TRowOptions O;
    O.Face = AFace;
    return DrawRow(G, AX, AY, AWidth, O,
                   Cells({u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"0", u"X", u"3g_.", u"6d__",
                          u"#4.", u"5--", u"[135]_", u"{12}5"}));
}

double DrawFace0(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawFace(G, AX, AY, AWidth, dfFace0);
}
double DrawFace1(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawFace(G, AX, AY, AWidth, dfFace1);
}
double DrawFace2(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawFace(G, AX, AY, AWidth, dfFace2);
}
double DrawFace3(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawFace(G, AX, AY, AWidth, dfFace3);
}

double DrawSubStyles(TKoGraphics& G, double AX, double AY, double AWidth) {
    std::vector<TNoteCell> C;
    const struct {
        TNuo4NoteSubStyle Style;
        const char* Name;
    } Styles[] = {{nssNormal, "Normal"},           {nssZip, "Zip"},
                  {nssSmallSize, "Small"},         {nssGrace, "Grace"},
                  {nssItalicNormal, "Italic"},     {nssItalicZip, "ItalicZip"},
                  {nssItalicSmallSize, "ItSmall"}, {nssItalicGrace, "ItGrace"}};
    for (const auto& S : Styles) {
        TNoteCell Cell{u"#3g_."};
        Cell.SubStyle = S.Style;
        Cell.Label = QString::fromLatin1(S.Name);
        C.push_back(Cell);
    }
    return DrawRow(G, AX, AY, AWidth, {}, C);
}

double DrawRestsAndDrums(TKoGraphics& G, double AX, double AY, double AWidth) {
    std::vector<TNoteCell> C =
        Cells({u"0", u"0_", u"0__", u"0.", u"0-", u"0---", u"0g", u"X", u"X_", u"X__.", u"X-"});
    C.push_back(Drum(u"", u'\u5693', false, QStringLiteral("X嚓")));
    C.push_back(Drum(u"_", u'\u5693', false, QStringLiteral("X嚓_")));
    C.push_back(Drum(u"__", u'\u54DA', false, QStringLiteral("X咚__")));
    C.push_back(Drum(u"_", u'W', false, QStringLiteral("XW_")));
    C.push_back(Drum(u"", u'\u2605', true, QStringLiteral("x★ 音乐字体")));
    C.push_back(Drum(u"_.", u'\u2605', true, QStringLiteral("x★_.")));
    return DrawRow(G, AX, AY, AWidth, {}, C);
}

double DrawChordsFixed(TKoGraphics& G, double AX, double AY, double AWidth) {
    return DrawRow(
        G, AX, AY, AWidth, {},
        Cells({u"[13]", u"[135]", u"[1357]", u"[135]_", u"[135]__", u"[135].", u"[135]..",
               u"[135]-", u"[135]---", u"[1d35g]", u"[1d3d5d]_", u"[#14b6]", u"[15g]_."}));
}

double DrawChordsGap(TKoGraphics& G, double AX, double AY, double AWidth) {
    TRowOptions O;
    O.bGapMode = true;
    return DrawRow(G, AX, AY, AWidth, O,
                   Cells({u"[13]", u"[135]", u"[1357]", u"[135]_", u"[135]__", u"[135].", u"[135]-",
                          u"[1d35g]", u"[1d3d5d]_", u"[1gg3gg]", u"[#14b6]"}));
}

double DrawChordsOwnDurations(TKoGraphics& G, double AX, double AY, double AWidth) {
    TRowOptions O;
    O.bCommonRightDuration = false;
    return DrawRow(G, AX, AY, AWidth, O, Cells({u"[135].", u"[135]..", u"[135]-", u"[13]_."}));
}

double DrawGraces(TKoGraphics& G, double AX, double AY, double AWidth) {
    std::vector<TNoteCell> C = Cells(
        {u"{1}5", u"{12}5", u"{123}5", u"{1234}5", u"{6d}1_", u"{b7g1g}6", u"{3}[135]", u"{1g}5-"});
    TNoteCell E{u"{12}5"};
    E.bGrace8th = true;
    E.Label = QStringLiteral("{12}5 8th");
    C.push_back(E);
    for (const char16_t* T : {u"{1}5", u"{12}5", u"{123}5_", u"{21}[13]"}) {
        TNoteCell A{T};
        A.bGraceAfter = true;
        A.Label = QString::fromStdU16String(T) + QStringLiteral(" 后");
        C.push_back(A);
    }
    return DrawRow(G, AX, AY, AWidth, {}, C);
}

double DrawArticulations(TKoGraphics& G, double AX, double AY, double AWidth) {
    std::vector<TNoteCell> C;
    for (int I = 0; I < Nuo4ArticulationCount; ++I) {
        const TNuo4Articulation A = TNuo4Articulation(I);
        TNoteCell Cell{u"5"};
        Cell.Articulations = {A};
        Cell.Label = QString::fromStdU16String(ArticulationName(A));
        C.push_back(Cell);
    }
    TNoteCell Two{u"3gg_"};
    Two.Articulations = {mfsaDunYin, mfsaZhongYin};
    Two.Label = QStringLiteral("DunYin+ZhongYin");
    C.push_back(Two);
    TNoteCell Chord{u"[135]"};
    Chord.Articulations = {mfsaYanYin};
    Chord.Label = QStringLiteral("[135] YanYin");
    C.push_back(Chord);
    return DrawRow(G, AX, AY, AWidth, {}, C);
}

}  // namespace

const std::vector<TSymbolSpecimenSection>& NoteSymbolSpecimenSections() {
    static const std::vector<TSymbolSpecimenSection> Sections = {
        {"音符时值  64分音符 … 全音符加四拍", DrawDurations},
        {"八度点  上下三个八度，与减时线同在", DrawOctaves},
        {"变音记号  升 降 还原", DrawAccidentals},
        {"数字字体 0", DrawFace0},
        {"数字字体 1", DrawFace1},
        {"数字字体 2", DrawFace2},
        {"数字字体 3  手写体：线与点取字形笔画", DrawFace3},
        {"子样式  常规 压缩 小号 倚音 与斜体", DrawSubStyles},
        {"休止符与打击乐", DrawRestsAndDrums},
        {"和弦  固定间距 1.7 H", DrawChordsFixed},
        {"和弦  间隙模式 0.4 H", DrawChordsGap},
        {"和弦  各音自带附点与延长线", DrawChordsOwnDurations},
        {"倚音  前倚音与后倚音，共用减时线与连线", DrawGraces},
        {"技法记号", DrawArticulations},
    };
    return Sections;
}

}  // namespace nuo4::cli

#endif
