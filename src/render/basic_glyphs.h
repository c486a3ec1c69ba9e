#pragma once
// Geometry of the basic glyphs of the voice other than notes: bar lines, accompaniment
// markers, meters, key signatures, key-and-meters groups, tempo marks, boxed bar numbers,
// volta brackets, paragraph marks and the simple lines and shapes of standard texts.
//
// Every builder returns path items in symbol-local millimetres (y down, y = 0 at the bottom of
// the digit cell) and its layout bounds. With bOnlyCalc only the bounds are computed. W x H is
// the digit size of the given note style, W0 x H0 the document digit size.

#include <QString>

#include "format/abc_common.h"
#include "format/music_common.h"
#include "format/note_style_index.h"
#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/text_element.h"
#include "render/draw_utils.h"
#include "render/symbol_element.h"

namespace nuo4 {

// ---- Bar lines ------------------------------------------------------------------------------

// The parts of a bar line as rectangles (lines) and squares (dots); shared by drawing and the
// tests of the layout rules.
struct TrecNuo4BarlineParts {
    std::vector<TGPRectF> Lines;  // thin and thick lines, or the dashes of a dashed line
    std::vector<TGPRectF> Dots;   // squares the repeat dots are inscribed in
    TGPRectF Bounds;
};
TrecNuo4BarlineParts GetBarlineParts(const TrecNuo4SymbolBarline& ARec);

// All parts in one fill item; with bScript lines and dots take the script strokes (a dashed
// bar line keeps its plain dashes).
TNuo4SymbolPathes CreatePath_Barline(const TrecNuo4SymbolBarline& ARec, TGPRectF& ABounds,
                                     bool bOnlyCalc, bool bScript);

// The layout engine moves the ends of a volta bracket away from a bar line by a coefficient
// times W0. Index 0: the plain offset; 1: the end of a volta where another starts; 2: the start
// of a volta where another ends.
enum TNuo4FangZiOffsetKind : uint8_t { fzokPlain, fzokSharedEnd, fzokSharedStart };
const char* EnumName(TNuo4FangZiOffsetKind AValue);
double GetBarlineFangZiOffsetCoef(TNuo4BarlineStyle AStyle, TNuo4FangZiOffsetKind AKind);

// ---- Accompaniment marker, meter, key, tempo, paragraph mark --------------------------------

TNuo4SymbolPathes CreatePath_AccompMarker(const TrecNuo4SymbolAccompMarker& ARec, TGPRectF& ABounds,
                                          bool bOnlyCalc);

// Empty unless 0 <= FenZi < 100 and 0 <= FenMu < 10; ACenterY is -H/2.
TNuo4SymbolPathes CreatePath_Meter(const TrecNuo4SymbolMeter& ARec, TGPRectF& ABounds,
                                   double& ACenterY, bool bOnlyCalc);

// The key signature as drawn (scale 1 for keys taken from a key-and-meters record).
struct TrecNuo4SymbolKeySignature {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    float Scale = 1.0f;
    int32_t MainKey = 0;  // 0 ... 6 for C ... B
    int32_t Accidental = 0;
    bool bWithOneIs = false;

    static TrecNuo4SymbolKeySignature FromKey(const TrecNuo4KeySignature& AKey,
                                              const TrecNuo4NoteStyleIndex& AStyle);
};
// "1=" (optional), the accidental (optional), a gap of 0.1 W, the key letter, their tops in
// line; "1=" and the letter are centred on -H/2 and the accidental reaches below them. The
// bounds begin at x = 0, so the gap stays in front of a bare letter. Nothing for a key letter
// outside 0 ... 6.
TNuo4SymbolPathes CreatePath_KeySignature(const TrecNuo4SymbolKeySignature& ARec, TGPRectF& ABounds,
                                          double& ACenterY, bool bOnlyCalc);

// The key (when valid) and the meters left to right, W0 apart; the group's left at APt.X and its
// centre line at APt.Y.
TNuo4SymbolPathes CreatePath_KeyAndMeters(const TrecNuo4KeyAndMeters& AValue,
                                          const TrecNuo4NoteStyleIndex& AStyle, TGPPointF APt,
                                          TGPRectF& ABounds, bool bOnlyCalc);

// The note-and-equals glyph and two or three digits; left at APt.X, centred on APt.Y. Empty
// outside 10 ... 250.
TNuo4SymbolPathes CreatePath_Tempo(int32_t ATempo, TNuo4TempoIsType AType, TGPPointF APt,
                                   TGPRectF& ABounds, bool bOnlyCalc);

// The paragraph mark with its left-bottom on the origin.
TNuo4SymbolPathes CreatePath_Return(const TrecNuo4NoteStyleIndex& AStyle, TGPRectF& ABounds,
                                    bool bOnlyCalc);

// ---- Volta bracket --------------------------------------------------------------------------

struct TrecNuo4SymbolFangZi {
    TrecNuo4NoteStyleIndex NoteStyleIndex;
    TNuo4LineSymbolContinueStyle ContinueStyle = lscsFull;
    float FangZiLength = 30.0f;       // mm
    float FangZiHeight = 0;           // mm; 0 = automatic
    std::u16string Text_ABC = u"1.";  // score-text escapes

    void SetToDefault() { *this = TrecNuo4SymbolFangZi(); }
    bool operator==(const TrecNuo4SymbolFangZi&) const = default;
};
// 0.8 times the line spacing of the fuFangZiText font.
double GetFangZiAutoHeight();
// The text (first piece and whole bracket) and the open bracket as a stroke 0.07 H0 thick.
TNuo4SymbolPathes CreatePath_FangZi(const TrecNuo4SymbolFangZi& ARec, TGPRectF& ABounds,
                                    bool bOnlyCalc);

// ---- Lines and shapes of standard texts -----------------------------------------------------

// All start at APt (their left-top) and use the document digit size.
TNuo4SymbolPathes CreatePath_SolidLine(TGPPointF APt, double ALength, bool bVert, TGPRectF& ABounds,
                                       bool bOnlyCalc);
TNuo4SymbolPathes CreatePath_GeneralLine(TGPPointF APt, TNuo4GeneralLineType AType, double ALength,
                                         bool bVert, TGPRectF& ABounds, bool bOnlyCalc);
TNuo4SymbolPathes CreatePath_WaveLine(TGPPointF APt, double ALength, bool bVert, TGPRectF& ABounds,
                                      bool bOnlyCalc);
// Filled, or outlined 0.1 W0 wide (dashed when asked) when not filled. Nothing when a side
// is not positive.
TNuo4SymbolPathes CreatePath_TextRectangle(TGPPointF APt, TrecNuo4SizeF ASize, bool bEllipse,
                                           bool bDashed, bool bFilled, TGPRectF& ABounds,
                                           bool bOnlyCalc);

// The arc element of a standard text: a full arc of ALength (at least 2) whose chord starts at
// APt and bends upwards. Styles 1 ... 4: elliptic filled with end mark 1 ... 4 (arrow, dot,
// both, short line); 5 ... 9: flat filled with end mark 0 ... 4; anything else elliptic filled
// without mark. The arc and each mark are one fill item.
TNuo4SymbolPathes CreatePath_TextArc(TGPPointF APt, double ALength, int32_t AStyle,
                                     TGPRectF& ABounds, bool bOnlyCalc);

// The boxed bar number: the text with its left-bottom at (APt.X + 0.7, APt.Y), a rounded frame
// 0.2 thick with radius 0.5 around the text widened by 0.7 on the left and right.
TNuo4SymbolPathes CreatePath_BarNumber(const QString& AText, TNuo4FontUsage AUsage, TGPPointF APt,
                                       TGPRectF& ABounds, bool bOnlyCalc);

}  // namespace nuo4
