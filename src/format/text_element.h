#pragma once
// Text elements: the pieces a standard text is built of (white space, plain text, key and
// meter changes, inline notes, chords and graces, tempo marks, boxed bar numbers, lines and
// shapes). The same grammar serves voice texts (between the quotes) and the texts of the
// attachments and page sections (the whole given range).

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_tokens.h"
#include "format/music_common.h"

namespace nuo4 {

enum TNuo4TextElementType : uint8_t {
    stetInvalid,
    stetWhiteSpace,
    stetGap,
    stetNormalText,
    stetMultiLineRightAlignText,
    stetKeyAndMeters,
    stetPureNote,
    stetTempo,
    stetGrace,
    stetChord,
    stetBarNumber,
    stetWaveLine,
    stetSolidLine,
    stetGeneralLine,
    stetRectangle,
    stetEllipse,
    stetArc,
};
const char* EnumName(TNuo4TextElementType AValue);

enum TNuo4TempoIsType : uint8_t { tit4th, tit8th, tit4thDot };
const char* EnumName(TNuo4TempoIsType AValue);

enum TNuo4GeneralLineType : uint8_t {
    gltSolidLine,
    gltDashedLine,
    gltDottedLine,
    gltWaveline,
    gltSolidLine_Arrow,
    gltWaveline_Arrow,
    gltSolidLine_Arrow_SingleSide,
};
constexpr int Nuo4GeneralLineTypeCount = 7;
const char* EnumName(TNuo4GeneralLineType AValue);

struct TrecNuo4SizeF {
    float Width = 0;
    float Height = 0;
    bool operator==(const TrecNuo4SizeF&) const = default;
};

// Only the fields of aType are meaningful.
struct TRecNuo4TextElement {
    TNuo4TextElementType aType = stetInvalid;
    int32_t WhiteSpaceCount = 0;
    float Gap = 0;
    std::u16string NormalText;               // decoded, at most Nuo4CharArray2Capacity
    std::u16string MultiLineRightAlignText;  // at most Nuo4CharArray2Capacity
    TrecNuo4KeyAndMeters KeyAndMeters;
    TrecNuo4MusicPureNote PureNote;
    int32_t Tempo = 0;
    TNuo4TempoIsType TempoIsType = tit4th;
    bool bGraceIsRight = false;
    bool bGraceIs8th = false;
    TNuo4Pitches GracePitches;
    TNuo4Pitches ChordPitches;
    TNuo4NoteSubStyle ChordSubStyle = nssNormal;
    std::u16string sBarNumber;  // raw
    float Arc_Length = 0;
    int32_t Arc_Style = 0;
    bool WaveLine_bVert = false;
    float WaveLine_Length = 0;
    bool SolidLine_bVert = false;
    float SolidLine_Length = 0;
    TNuo4GeneralLineType GeneralLine_Type = gltSolidLine;
    bool GeneralLine_bVert = false;
    float GeneralLine_Length = 0;
    TrecNuo4SizeF Rectangle_Size;
    bool Rectangle_bDashed = false;
    bool Rectangle_bFilled = false;
    TrecNuo4SizeF Ellipse_Size;
    bool Ellipse_bDashed = false;
    bool Ellipse_bFilled = false;

    void SetToDefault() { *this = TRecNuo4TextElement(); }
    void SetNormalText(std::u16string AText);

    // Each accessor gives the element's data when it is of that kind.
    bool IsNormalText(std::u16string& AText) const;
    bool IsPureNote(TrecNuo4MusicPureNote& ANote) const;
    bool IsKeyAndMeters(TrecNuo4KeyAndMeters& AValue) const;
    bool IsBarNumber(std::u16string& ABarNumber) const;
    bool IsChord(TNuo4Pitches& APitches, TNuo4NoteSubStyle& ASubStyle) const;
    // A chord element of exactly one pitch.
    bool IsChord_SingleNote(TrecNuo4Pitch& APitch) const;
    bool IsArc(float& ALength, int32_t& AStyle) const;
    bool IsWaveLine(bool& bVert, float& ALength) const;
    bool IsSolidLine(bool& bVert, float& ALength) const;
    bool IsGeneralLine(TNuo4GeneralLineType& AType, bool& bVert, float& ALength) const;
    bool IsRectangle(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const;
    bool IsEllipse(TrecNuo4SizeF& ASize, bool& bDashed, bool& bFilled) const;
    // Quarter-note beats per minute of a tempo element, 0 for other elements.
    double GetTempo_BPM() const;

    // A text that reads back as this element (normal text escaped so that it stays plain
    // text inside a voice text: white, braces, quotes and backslashes as escapes). Elements
    // without a written form (invalid, multi-line) give nothing.
    std::u16string ToABCText() const;
};
using TNuo4TextElementArray = std::vector<TRecNuo4TextElement>;

struct TrecNuo4ABCParseInfo_TextElement {
    // pitText_WhiteSpace ... pitText_Arc with the element's range and one token: ttNumber for
    // gaps and tempi, ttString otherwise.
    TrecNuo4ABCParseInfo_SymbolHeader Header;
    TRecNuo4TextElement Element;
};
using TNuo4TextElementParseInfoArray = std::vector<TrecNuo4ABCParseInfo_TextElement>;

// Splits the whole range into elements; fails only on an unusable range.
bool ReadTextElements(TText AText, TKoRange ARange, TNuo4TextElementParseInfoArray& AElements);
// The elements of a whole string (positions are those of the string).
TNuo4TextElementArray GetElementArray_FromABCText(TText AText_ABC);

// "{bny:%.2d}" of an integer, "{bny:" + text + "}" of a text.
std::u16string GetABCText_BarNumber(int32_t ABarNumber);
std::u16string GetABCText_BarNumber(TText ABarNumber);
// A normal text is written unchanged: its escaping is the caller's.
std::u16string GetABCText_NormalText(TText AText);
// "{" + pitch + duration + "}".
std::u16string GetABCText_PureNote(const TrecNuo4MusicPureNote& ANote);

}  // namespace nuo4
