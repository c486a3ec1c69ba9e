#include "format/attach_branch_text.h"

namespace nuo4 {

namespace {

bool IsTakenKind(TNuo4ABCParseInfoType AType) {
    switch (AType) {
        case pitNote:
        case pitBarline:
        case pitAccompMarker:
        case pitMeter:
        case pitText:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::vector<TNuo4VoiceSymbolPtr> Branch_ReadVoiceSymbols(TText AVoiceText) {
    std::vector<TNuo4VoiceSymbolPtr> Symbols;
    const TKoRange All(0, static_cast<int32_t>(AVoiceText.size()));
    for (const TKoRange& Piece : ABC_SplitByWhite(AVoiceText, All, true)) {
        int32_t P = Piece.StartIndex;
        while (Piece.IsNonEmpty() && P <= Piece.EndIndex()) {
            TNuo4VoiceSymbolPtr Symbol;
            int32_t End;
            if (!ReadVoiceSymbol(AVoiceText, TKoRange::FromStartEnd(P, Piece.EndIndex()), Symbol,
                                 End) ||
                !Symbol || End < P)
                break;
            if (!IsTakenKind(Symbol->Header.aType)) return Symbols;
            Symbols.push_back(std::move(Symbol));
            P = End + 1;
        }
    }
    return Symbols;
}

bool Branch_VoiceTextIsValid(TText AVoiceText) {
    return !Branch_ReadVoiceSymbols(AVoiceText).empty();
}

std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> Branch_ReadLyricsVerses(TText ALyricsText) {
    std::vector<TrecNuo4ABCParseInfo_Lyrics_Verse> Verses;
    const TKoRange Trimmed =
        ABC_TrimRange(ALyricsText, TKoRange(0, static_cast<int32_t>(ALyricsText.size())));
    if (!Trimmed.IsNonEmpty()) return Verses;
    const std::u16string Text = ABC_Unescape(ALyricsText, Trimmed);
    const int32_t N = static_cast<int32_t>(Text.size());
    int32_t LineStart = 0;
    while (LineStart <= N) {
        int32_t LineEnd = LineStart;  // one past the line's last character
        while (LineEnd < N && Text[LineEnd] != u'\r' && Text[LineEnd] != u'\n') ++LineEnd;
        TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
        const TKoRange Line = ABC_TrimRange(Text, TKoRange(LineStart, LineEnd - LineStart));
        if (Line.IsNonEmpty()) {
            TrecNuo4LyricVersePrefix_WithParseInfo Prefix;
            int32_t PrefixEnd;
            int32_t From = Line.StartIndex;
            if (ReadLyricVersePrefix(Text, Line, Prefix, PrefixEnd)) {
                From = PrefixEnd + 1;
            } else {
                Prefix.SetToDefaultForLyrics(TKoRange(Line.StartIndex, 0));
                Prefix.Value.VertInfo.VerseNumber = static_cast<int32_t>(Verses.size());
                Prefix.Value.ExtraInfo.bOcupy = false;
            }
            Verse.Initialize(Prefix, {}, Prefix.Header.ABCTextRange);
            if (From <= Line.EndIndex())
                Verse.AppendToLyricsArray(Text, TKoRange::FromStartEnd(From, Line.EndIndex()));
        }
        Verses.push_back(std::move(Verse));
        if (LineEnd >= N) break;
        // CR LF is one line break.
        LineStart =
            LineEnd +
            (Text[LineEnd] == u'\r' && LineEnd + 1 < N && Text[LineEnd + 1] == u'\n' ? 2 : 1);
    }
    return Verses;
}

}  // namespace nuo4
