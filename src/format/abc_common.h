#pragma once
// Text primitives every grammar of the score text is built on.
//
// All functions take the whole text plus a range bounding the part to look at. Positions and
// ranges are UTF-16 code unit indexes into that text. A range is usable when the text is not
// empty, StartIndex >= 0, Length > 0 and its end index lies inside the text; a primitive given
// an unusable range fails without reading the text. Parsers report the position of the last
// character they consumed (the end position); a grammar continues at end position + 1.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "format/ko_range.h"

namespace nuo4 {

using TText = std::u16string_view;
using TStringList = std::vector<std::u16string>;

// ---- Character classes -------------------------------------------------------------------

bool ABC_IsWhiteChar(char16_t C);
bool ABC_IsDigitChar(char16_t C);
bool ABC_IsHexDigitChar(char16_t C);
bool ABC_IsLetterChar(char16_t C);
bool ABC_IsWordChar(char16_t C);
bool ABC_IsWideChar(char16_t C);
bool ABC_IsOpeningPunctuation(char16_t C);
bool ABC_IsClosingPunctuation(char16_t C);
bool ABC_IsClosingPunctuationWithoutBrackets(char16_t C);
int ABC_HexDigitValue(char16_t C);  // -1 for a non-hex character

// ---- Characters and ranges ---------------------------------------------------------------

// Inline: every primitive and grammar step asks this first.
inline bool ABC_RangeIsUsable(TText AText, TKoRange ARange) {
    return !AText.empty() && ARange.StartIndex >= 0 && ARange.Length > 0 &&
           static_cast<int64_t>(ARange.StartIndex) + ARange.Length <=
               static_cast<int64_t>(AText.size());
}
inline char16_t ABC_CharAt(TText AText, int32_t AIndex) {  // 0 outside the text
    return AIndex < 0 || static_cast<size_t>(AIndex) >= AText.size() ? char16_t(0) : AText[AIndex];
}
bool ABC_IsCR(TText AText, int32_t AIndex);
bool ABC_IsLF(TText AText, int32_t AIndex);
bool ABC_IsCRLF(TText AText, int32_t AIndex);
bool ABC_IsWhiteAt(TText AText, int32_t AIndex);
bool ABC_IsLeftBraceAt(TText AText, int32_t AIndex);

int32_t ABC_FindFirstWhite(TText AText, TKoRange ARange, bool bFromRight = false);
int32_t ABC_FindFirstNonWhite(TText AText, TKoRange ARange, bool bFromRight = false);
TKoRange ABC_TrimRange(TText AText, TKoRange ARange);
bool ABC_RangeIsWhite(TText AText, TKoRange ARange);
std::u16string ABC_GetRangeText(TText AText, TKoRange ARange);
TKoRange ABC_FirstWordRange(TText AText, TKoRange ARange);
// The range from APos to the end of ARange (invalid when APos lies past it).
TKoRange ABC_RangeFrom(TKoRange ARange, int32_t APos);

// ---- Matching -----------------------------------------------------------------------------

bool ABC_StartsWith(TText AText, TKoRange ARange, TText S, bool bWordEnd = false,
                    bool bIgnoreCase = false);
// Longest matching string of the list wins, the earlier one on equal length.
bool ABC_StartsWithOneOf(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                         bool bWordEnd, bool bIgnoreCase, int& AIndex, int32_t& AEndPos);
int32_t ABC_Find(TText AText, TKoRange ARange, TText S);
int32_t ABC_FindEarliestOf(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                           int& AIndex);
int32_t ABC_FindEarliestCharOf(TText AText, TKoRange ARange, TText AChars, int& AIndex);
int32_t ABC_FindMatchingClose(TText AText, TKoRange ARange, TText AOpen, TText AClose);
bool ABC_RangeBetween(TText AText, TKoRange ARange, TText AOpen, TText AClose,
                      TKoRange& AInnerRange, int32_t& AEndPos);
bool ABC_IsWrappedBy(TText AText, TKoRange ARange, char16_t AOpenChar, char16_t ACloseChar);
bool ABC_IsWrappedByBraces(TText AText, TKoRange ARange);
TKoRange ABC_StripBraces(TText AText, TKoRange ARange);
std::u16string ABC_StripBracesOfString(TText S);
std::u16string ABC_GetRangeTextWithoutBraces(TText AText, TKoRange ARange);
bool ABC_RangeEquals(TText AText, TKoRange ARange, TText S, bool bIgnoreCase = false);

// ASCII-only case folding, as every name of the notation matches.
char16_t ABC_AsciiLower(char16_t C);
bool ABC_SameTextIgnoreCase(TText A, TText B);

// ---- Splitting ----------------------------------------------------------------------------

TKoRangeArray ABC_SplitBySeparator(TText AText, TKoRange ARange, char16_t ASep, bool bBraceGroups,
                                   bool bTrim);
TKoRangeArray ABC_SplitByWhite(TText AText, TKoRange ARange, bool bBraceGroups);
bool ABC_SplitNameValues(TText AText, TKoRange ARange, char16_t ASep, char16_t ANameValueChar,
                         bool bBraceGroups, bool bNeedValue, TKoRange& ANameRange,
                         TKoRangeArray& AValueRanges, int32_t& AEndPos);

// ---- Numbers ------------------------------------------------------------------------------

bool ABC_ParseInt(TText AText, TKoRange ARange, int32_t& AValue, int32_t& AEndPos);
bool ABC_ParseFloat(TText AText, TKoRange ARange, bool bWholeRange, float& AValue,
                    int32_t& AEndPos);
// printf-style formatting with "." as the decimal separator whatever the locale.
std::u16string ABC_FormatFloat(double AValue, int ADecimals);
std::u16string ABC_FormatInt(int64_t AValue);
std::u16string ABC_FormatPoint(double AX, double AY);  // "(%.2f,%.2f)"

// ---- Booleans, flags, colours, usages -----------------------------------------------------

bool ABC_ParseBool(TText AText, TKoRange ARange, bool bWordEnd, bool& AValue, int32_t& AEndPos);
std::u16string ABC_BoolToText(bool AValue);  // "True" / "False"

enum TNuo4FontStyleFlag : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TNuo4FontStyles = uint8_t;  // set of TNuo4FontStyleFlag
bool ABC_ParseFontStyle(TText AText, TKoRange ARange, TNuo4FontStyles& AStyles, int32_t& AEndPos);
std::u16string ABC_FontStyleToText(TNuo4FontStyles AStyles);

enum TNuo4AttachmentsOcupyType : uint8_t { atotUp, atotDown, atotLeft, atotRight };
using TNuo4AttachmentsOcupyTypes = uint8_t;  // bit (1 << value) per side
bool ABC_ParseOcupy(TText AText, TKoRange ARange, TNuo4AttachmentsOcupyTypes& ASides,
                    int32_t& AEndPos);
std::u16string ABC_OcupyToText(TNuo4AttachmentsOcupyTypes ASides);

using TNuo4Color = uint32_t;  // ARGB, alpha in the top byte
constexpr TNuo4Color Nuo4DefaultColor = 0xff000000u;
bool ABC_ParseColor(TText AText, TKoRange ARange, TNuo4Color& AColor, int32_t& AEndPos);
std::u16string ABC_ColorToText(TNuo4Color AColor);  // "$%.8x"

enum TNuo4FontUsage : uint8_t {
    fuCore,
    fuDefault,
    fuIntro,
    fuTitle,
    fuSubTitle,
    fuSubTitle2,
    fuWordsByAndMusicBy,
    fuKeyAndMeters,
    fuExpression,
    fuLyric,
    fuLyricPrefix,
    fuLyricVerseIndex,
    fuDrumPitch,
    fuAuxInfo,
    fuText,
    fuFangZiText,
    fuAttachText1,
    fuAttachText2,
    fuAttachText3,
    fuAttachText4,
    fuPartName,
    fuMemo1,
    fuMemo2,
    fuMemo3,
    fuMemo4,
};
constexpr int Nuo4FontUsageCount = 25;
const char16_t* ABC_FontUsageName(TNuo4FontUsage AUsage);
bool ABC_ParseFontUsage(TText AText, TKoRange ARange, TNuo4FontUsage& AUsage, int32_t& AEndPos);

enum TNuo4LineSymbolContinueStyle : uint8_t { lscsFull, lscsLeft, lscsRight };
const char16_t* ABC_LineSymbolContinueStyleName(TNuo4LineSymbolContinueStyle AStyle);
bool ABC_ParseLineSymbolContinueStyle(TText AText, TKoRange ARange,
                                      TNuo4LineSymbolContinueStyle& AStyle, int32_t& AEndPos);

// ---- Escapes ------------------------------------------------------------------------------

// Reads one escape or plain character at the start of the range.
bool ABC_ReadCharOrEscape(TText AText, TKoRange ARange, char16_t& AChar, int32_t& AEndPos,
                          bool& bEscaped);
std::u16string ABC_Unescape(TText AText, TKoRange ARange);
std::u16string ABC_EscapeChar(char16_t C, bool bSpaceAsEscape, bool bForceEscape = false,
                              bool bDecimal = false);
std::u16string ABC_EscapeText(TText S, bool bSpaceAsEscape, bool bForceEscape = false,
                              bool bDecimal = false);
int32_t ABC_CountLeadingWhite(TText AText, TKoRange ARange);
int32_t ABC_FindEscaped(TText AText, TKoRange ARange, TText S);
int32_t ABC_FindEarliestEscaped(TText AText, TKoRange ARange, const std::vector<TText>& AList,
                                int& AIndex);
std::u16string ABC_LineBreaksToEscapes(TText S);

// What a stored text must not carry raw when a writer puts it into a line of the score.
enum TNuo4TextGuard : uint8_t {
    tgCommentsAndLineBreaks = 0,  // always guarded
    tgCommas = 1,                 // commas outside brace groups (they would split a value list)
    tgOpenBraces = 2,             // a "{" without its "}" (it would swallow the rest)
    tgCloseBraces = 4,            // a "}" without its "{" (it would close an enclosing group)
    tgBraces = tgOpenBraces | tgCloseBraces,
    tgWhite = 8,        // white outside brace groups (it would end a voice token)
    tgQuotes = 16,      // double quotes (they would end a voice text)
    tgEndWhite = 32,    // white at either end (a trimmed value would lose it)
    tgAllWhite = 64,    // white anywhere, inside brace groups too (a label ends at white)
    tgAfterMark = 128,  // the writer puts a mark ("{", "[", a quote) before the text, so a
                        // "//" at its start opens no comment
};
// The text as a writer puts it into the score so that the scanner reads it back as the same
// text: "/*" and a "//" that could open a line comment (at the start, after a space, CR or LF)
// get their first "/" coded, CR and LF become "\r" and "\n", and what AGuards names is coded
// too. A text without such characters is returned unchanged; the result decodes (escapes) to
// the decoded original.
std::u16string ABC_GuardText(TText S, uint8_t AGuards = tgCommentsAndLineBreaks);

// ---- Fixed capacities of texts held in symbol records --------------------------------------

constexpr size_t Nuo4CharArray1Capacity = 200;
constexpr size_t Nuo4CharArray2Capacity = 1000;
std::u16string ABC_CutToCapacity(std::u16string S, size_t ACapacity);

// ---- Conversions used by tools and tests ---------------------------------------------------

std::u16string ABC_FromUtf8(std::string_view S);  // invalid sequences become U+FFFD
std::string ABC_ToUtf8(std::u16string_view S);    // lone surrogates become U+FFFD

}  // namespace nuo4
