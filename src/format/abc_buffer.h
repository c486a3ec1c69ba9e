#pragma once
// The scanned score text: lines, comments, non-comment pieces, line types and one parse record
// per known section, plus the edits that add or change whole section items.
//
// Positions are UTF-16 code units of the scanned text, whose line breaks are single CRs.
// "Line" ranges of section records are ranges of line indexes.

#include <cstdint>
#include <string>
#include <vector>

#include "format/abc_common.h"
#include "format/abc_lines.h"
#include "format/abc_tokens.h"
#include "format/doc_options.h"
#include "format/font_table.h"
#include "format/ko_range.h"
#include "format/section_attachments.h"
#include "format/section_fonts.h"
#include "format/section_lyrics.h"
#include "format/section_page.h"
#include "format/section_title.h"
#include "format/section_voice.h"

namespace nuo4 {

// ---- Unit-level scanning functions --------------------------------------------------------

// Every LF removed: CR LF becomes CR, a lone LF disappears.
std::u16string ABC_AdjustLineBreak(TText AText);
// One range per line; with bWithLineBreak each range includes its CR, LF or CR LF. A text that
// ends with a line break has no empty last line; an empty text has no lines.
TKoRangeArray ABC_Scan_GetLineRangeArray(TText AText, bool bWithLineBreak);
// Block comments (nested, an unterminated one runs to the end of the text) and line comments
// ("//" at the text start or after CR, LF or a space, up to the next CR or LF); a line comment
// overlapping block comments is widened to their union. Sorted by start, then end.
TKoRangeArray ABC_Scan_GetCommentRangeArray(TText AText);
// Per line, the trimmed pieces outside comments, left to right; at least one element per
// line, the invalid range when nothing remains. ACommentRanges sorted by start.
TTwoDimArrayOfTKoRange ABC_Scan_GetNonCommentRangeArray(const TKoRangeArray& ALineRanges,
                                                        const TKoRangeArray& ACommentRanges,
                                                        TText AText);
// Whether the first non-comment piece of a line makes it a header line: "." followed only by
// letters. AType is the _Start type of the named section (altSectionUnknown_Start when it names
// none) and ANameRange the header word (invalid for an unknown section).
bool ABC_Scan_IsSectionHeader(TText AText, TKoRange AFirstPiece, TNuo4ABCLineType& AType,
                              TKoRange& ANameRange);

// The item grammars the scanner calls. The defaults are the grammars of the sections; a test
// can hand in its own to check the scanner's mechanics on their own.
bool ABC_ReadTitleItem(TText AText, TKoRange ARange, TrecNUo4SectionTitleItem& AItem,
                       TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos);
struct TNuo4ABCSectionReaders {
    bool (*OptionItem)(TText, TKoRange, TrecNuo4ABCParseInfo_OptionItem&, bool,
                       int32_t&) = &ReadOptionItem;
    bool (*FontItem)(TText, TKoRange, TrecNuo4ABCParseInfo_FontInfo&, int32_t&) = &ReadFontItem;
    bool (*TitleItem)(TText, TKoRange, TrecNUo4SectionTitleItem&, TNuo4ABCTokenInfoItems&,
                      int32_t&) = &ABC_ReadTitleItem;
    bool (*AttachmentItem)(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Attachments&,
                           int32_t&) = &ReadAttachmentItem;
    bool (*PageItem)(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Page&,
                     int32_t&) = &ReadPageItem;
    bool (*VoiceSymbol)(TText, TKoRange, TNuo4VoiceSymbolPtr&, int32_t&) = &ReadVoiceSymbol;
    bool (*VersePrefix)(TText, TKoRange) = &Lyrics_StartsWithVersePrefix;
    void (*Lyrics)(const TNuo4ABCScanLines&, TrecNuo4ABCParseInfo_Section_Lyrics&) = &ScanLyrics;
};

// The symbols of one non-comment piece of the voice: the piece is split into tokens at spaces
// and tabs (a brace group never splits); in each token symbols are read one after another
// until the token is used up or one fails (the rest of the token is skipped). Returns the end
// position of the last symbol read, -1 when none.
int32_t ABC_Scan_ReadVoicePiece(TText AText, TKoRange APiece,
                                bool (*AReader)(TText, TKoRange, TNuo4VoiceSymbolPtr&, int32_t&),
                                std::vector<TNuo4VoiceSymbolPtr>& ASymbols);

// ---- The scanned text ----------------------------------------------------------------------

class TNuo4ABCBuffer {
  public:
    struct TrecNuo4FontCheckInfoItem {
        TNuo4FontUsage FontUsage = fuDefault;
        std::u16string FamilyName;  // as written in the text
    };

    // Adjusts line breaks, scans the whole text and every section.
    explicit TNuo4ABCBuffer(TText AABCText,
                            const TNuo4ABCSectionReaders& AReaders = TNuo4ABCSectionReaders());
    TNuo4ABCBuffer(const TNuo4ABCBuffer&) = delete;
    TNuo4ABCBuffer& operator=(const TNuo4ABCBuffer&) = delete;
    TNuo4ABCBuffer(TNuo4ABCBuffer&&) = default;
    TNuo4ABCBuffer& operator=(TNuo4ABCBuffer&&) = default;

    // The text of a new document (CR LF line breaks, as a file holds it).
    static std::u16string CreateEmptyDoc();

    const std::u16string& ABCText() const { return FABCText; }
    int GetABCLinesCount() const { return static_cast<int>(LineRangeArray.size()); }

    // The line of a text position; a position past the text lies on the last line, or on the
    // line after it (index = line count) when the text ends with a line break. -1 when the
    // text has no lines or APos < 0.
    int GetLineIndexFromPos(int32_t APos) const;
    void GetRowColFromPos(int32_t APos, int& Row, int& Col) const;

    bool LineWithCommnet(int ALineIndex) const;
    bool LineWithNonCommnet(int ALineIndex) const;
    bool LineIsEmpyOrComment(int ALineIndex) const;  // true outside the text
    bool LineIsNonEmpy(int ALineIndex) const;
    // The first non-comment piece of a line (invalid when the line has none).
    TKoRange FirstPiece(int ALineIndex) const;

    bool NoKeyWord() const { return FNoKeyWord; }

    TKoRange GetLineIndexRange_Section(TNuo4ABCSectionType ASection) const;
    TKoRange GetLineIndexRange_SectionOptions() const;
    TKoRange GetLineIndexRange_SectionFonts() const;
    TKoRange GetLineIndexRange_SectionTitle() const;
    TKoRange GetLineIndexRange_SectionVoice() const;
    TKoRange GetLineIndexRange_SectionLyrics() const;
    TKoRange GetLineIndexRange_SectionAttachments() const;
    TKoRange GetLineIndexRange_SectionPage() const;

    // The last line of the section that holds a comment or content; -1 without a header.
    int GetLastNonEmptyLine_Section(TNuo4ABCSectionType ASection) const;
    int GetLastNonEmptyLine_SectionOptions() const;
    int GetLastNonEmptyLine_SectionFonts() const;
    int GetLastNonEmptyLine_SectionVoice() const;
    int GetLastNonEmptyLine_SectionLyrics() const;
    int GetLastNonEmptyLine_SectionAttachments() const;
    int GetLastNonEmptyLine_SectionPage() const;

    // ---- Edits: each fills the replace item, invalid when there is nothing to do ----------
    void SectionVoice_AppendSymbol(TText ASymbolText,
                                   TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionLyrics_AppendLyricsVerse(TText ABCText_LyricsVerse,
                                         TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionAttachments_AddItem(const TrecNuo4SectionItem_Attachments& NewItem,
                                    TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionOptions_EditItem(const TrecNuo4ABCParseInfo_OptionItem& NewItem,
                                 TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionFonts_EditItem(const TrecNuo4ABCParseInfo_FontInfo& NewItem,
                               TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionPage_AddItem(const TrecNuo4SectionItem_Page& NewItem,
                             TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionTitle_EditTitleBlock(const TrecNuo4SectionTitleBuffer& NewTitleBlock,
                                     TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;

    // The same edits from item texts already written (the record forms call these with the
    // item's ToABCText()).
    void SectionAttachments_AddItemText(TText AItemText,
                                        TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionOptions_EditItemText(TNuo4SectionOptionItemType AItemType, TText AItemText,
                                     TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionFonts_EditItemText(TNuo4FontUsage AFontUsage, TText AItemText,
                                   TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    void SectionPage_AddItemText(TText AItemText,
                                 TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;
    // AMultiLineText is the title without its header, AWithHeaderText with it.
    void SectionTitle_EditTitleBlockText(TText AMultiLineText, TText AWithHeaderText,
                                         TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const;

    // Where the layout engine inserts into the voice: -1 when the buffer holds symbols; 0
    // without a voice header; otherwise the start of the line after the header.
    int32_t SectionVoice_GetInsertPosWhenBufferIsEmtpy() const;
    // Right after the last parsed symbol; -1 when the buffer is empty.
    int32_t SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy() const;

    // ---- Clean-up: true when at least one replacement was produced ------------------------
    bool FormatSectionVoice_RemoveBlankLines(TNuo4ABCTextReplaceItems& TextReplaceItems) const;
    bool FormatSectionAttachments_RemoveBlankLines(
        TNuo4ABCTextReplaceItems& TextReplaceItems) const;
    bool FormatSectionVoice_RemoveComment(TNuo4ABCTextReplaceItems& TextReplaceItems) const;

    // Parses every option item line again, assigning the values to the global options.
    void UpdateOptions() const;

    // Resets the font table to its defaults, then sets the font of every fonts item in text
    // order; each item whose family the table does not end up with (compared ignoring case) is
    // listed in FontsCheckInfoArray, which is refilled. Items of fuCore are skipped: that
    // usage is the music font's own. The first form uses the installed table and does nothing
    // without one.
    void UpdateFonts();
    void UpdateFonts(INuo4FontTable& ATable);
    // One edit per title-block usage (fuIntro, fuTitle, fuSubTitle, fuSubTitle2,
    // fuKeyAndMeters, fuWordsByAndMusicBy, fuExpression) carrying that usage's current font:
    // existing items are replaced; the usages without an item are written together in one
    // insertion (a single new ".Fonts" section when there is none).
    void SectionFonts_UpdateAllTitleBlockFonts(TNuo4ABCTextReplaceItems& ATextReplaceItems) const;
    void SectionFonts_UpdateAllTitleBlockFonts(const INuo4FontTable& ATable,
                                               TNuo4ABCTextReplaceItems& ATextReplaceItems) const;

    TNuo4ABCScanLines ScanLines() const {
        return {FABCText, LineRangeArray, LineTypeArray, NonCommentRangesArrayArray};
    }

  private:
    std::u16string FABCText;

  public:
    TKoRangeArray LineRangeArray;
    TKoRangeArray CommentRangeArray;
    TTwoDimArrayOfTKoRange NonCommentRangesArrayArray;
    std::vector<TNuo4ABCLineType> LineTypeArray;
    TrecNuo4ABCParseInfo_Section_Options Section_Options;
    TrecNuo4ABCParseInfo_Section_Fonts Section_Fonts;
    TrecNuo4ABCParseInfo_Section_Title Section_Title;
    TrecNuo4ABCParseInfo_Section_Voice Section_Voice;
    TrecNuo4ABCParseInfo_Section_Lyrics Section_Lyrics;
    TrecNuo4ABCParseInfo_Section_Attachments Section_Attachments;
    TrecNuo4ABCParseInfo_Section_Page Section_Page;
    std::vector<TrecNuo4FontCheckInfoItem> FontsCheckInfoArray;

  private:
    TNuo4ABCSectionReaders FReaders;
    std::vector<bool> FLineHasComment;
    TKoRange FSectionLines[Nuo4ABCSectionTypeCount];
    bool FNoKeyWord = true;

    void Scan_OverAll();
    void GetAllLinesType();
    void CalcSectionLineRanges();
    void ScanSection_Options();
    void ScanSection_Fonts();
    void ScanSection_Title();
    void ScanSection_Voice();
    void ScanSection_Lyrics();
    void ScanSection_Attachments();
    void ScanSection_Page();

    bool ValidLine(int ALineIndex) const {
        return ALineIndex >= 0 && ALineIndex < GetABCLinesCount();
    }
    int32_t TextLength() const { return static_cast<int32_t>(FABCText.size()); }
    // Insertion at the line after L: CR is put first when L is the last line and has no line
    // break, so the new text never joins L.
    void InsertAtLineAfter(int ALine, std::u16string AText,
                           TrecNuo4ABCTextReplaceItem& AItem) const;
    // A missing section is created at the end of the text.
    void InsertNewSection(TNuo4ABCSectionType ASection, TText AItemText, bool bTrailingCR,
                          TrecNuo4ABCTextReplaceItem& AItem) const;
    bool RemoveBlankLines(const TKoRange& ALines, const TKoRange& AAll,
                          TNuo4ABCTextReplaceItems& AItems) const;
};

}  // namespace nuo4
