#include "app/cli/json_dump.h"
#include "format/section_lyrics.h"

namespace nuo4::cli {

namespace {

// A range with the text it covers, so that a dump can be read without the score beside it.
json RangeWithText(TKoRange ARange, TText AText) {
    json J = {{"range", RangeToJson(ARange)}};
    J["text"] = Utf8(ABC_GetRangeText(AText, ARange));
    return J;
}

json HorzLocationToJson(const TrecNuo4HorzLocation& ALocation) {
    return {{"aType", EnumName(ALocation.aType)}, {"text", Utf8(ALocation.ToABCText())}};
}

json PrefixToJson(const TrecNuo4LyricVersePrefix_WithParseInfo& APrefix, TText AText) {
    const auto& V = APrefix.Value;
    json J = HeaderToJson(APrefix.Header);
    J["headerText"] = Utf8(ABC_GetRangeText(AText, APrefix.Header.ABCTextRange));
    J["VertInfo"] = {{"VerseNumber", V.VertInfo.VerseNumber},
                     {"VerseCount", V.VertInfo.VerseCount},
                     {"bShowVerseIndex", V.VertInfo.bShowVerseIndex},
                     {"bLockVertLocation", V.VertInfo.bLockVertLocation},
                     {"VertLocation_Locked", V.VertInfo.VertLocation_Locked}};
    J["HorzLocation"] = HorzLocationToJson(V.HorzLocation);
    J["ExtraInfo"] = {{"bOcupy", V.ExtraInfo.bOcupy},
                      {"FontUsage", Utf8(ABC_FontUsageName(V.ExtraInfo.FontUsage))},
                      {"Scale", V.ExtraInfo.Scale}};
    J["verseIndexText"] = Utf8(V.VertInfo.GetVerseIndexText());
    J["text"] = Utf8(V.ToABCText(true));
    return J;
}

json LyricToJson(const TrecNuo4ABCParseInfo_Lyric& ALyric, TText AText) {
    const TrecNuo4SymbolPureLyricData& D = ALyric.Text.Data;
    json Counts = json::array();
    for (int32_t C : D.TextUnderlineCountArray) Counts.push_back(C);
    json J = HeaderToJson(ALyric.GetFullHeader());
    J["source"] = Utf8(ABC_GetRangeText(AText, ALyric.Header.ABCTextRange));
    J["Data"] = {{"Text", Utf8(D.Text)},
                 {"TextCenteredRange", RangeToJson(D.TextCenteredRange)},
                 {"prefix", Utf8(D.GetPrefixText())},
                 {"centred", Utf8(D.GetCenteredText())},
                 {"postfix", Utf8(D.GetPostfixText())},
                 {"TextUnderlineCountArray", Counts},
                 {"IsEnglishLyric", D.IsEnglishLyric()}};
    J["RightLocation"] = {{"BarlinesCount", ALyric.RightLocation.BarlinesCount},
                          {"NotesCount", ALyric.RightLocation.NotesCount}};
    J["bLineBreak"] = ALyric.Text.bLineBreak;
    J["text"] = Utf8(ALyric.ToABCText(false, false));
    return J;
}

}  // namespace

json LyricsSectionToJson(const TrecNuo4ABCParseInfo_Section_Lyrics& ASection, TText AText) {
    json Verses = json::array();
    for (const auto& V : ASection.VerseBuffer) {
        json Lyrics = json::array();
        for (const auto& L : V.LyricsArray) Lyrics.push_back(LyricToJson(L, AText));
        json JV = {{"ABCTextRange", RangeToJson(V.ABCTextRange)},
                   {"VersePrefix", PrefixToJson(V.VersePrefix, AText)},
                   {"LyricsArray", Lyrics},
                   {"IsCompound", V.IsCompound()}};
        JV["text"] = Utf8(V.ToABCText());
        Verses.push_back(JV);
    }
    json J = {{"ABCTextRange_SectionName", RangeWithText(ASection.ABCTextRange_SectionName, AText)},
              {"ABCTextRange_All", RangeToJson(ASection.ABCTextRange_All)},
              {"ABCTextRange_Line", RangeToJson(ASection.ABCTextRange_Line)},
              {"VerseBuffer", Verses}};
    return J;
}

}  // namespace nuo4::cli
