#include "format/section_lyrics.h"

#include <algorithm>
#include <utility>

namespace nuo4 {

// ---- Skip markers ------------------------------------------------------------------------

TrecNuo4HorzLocation TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip::ToHorzLocation() const {
    TrecNuo4HorzLocation L;
    L.aType = hltRelLocate_BarlineAndNote;
    L.RelLocate_BarlineAndNote_BarlinesCount = BarlinesCount;
    L.RelLocate_BarlineAndNote_NotesCount = NotesCount;
    return L;
}

std::u16string TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip::ToABCText() const {
    return ToHorzLocation().ToABCText();
}

bool ReadBarlinesAndNotesToSkip(TText AText, TKoRange ARange,
                                TrecNuo4ABCParseInfo_BarlinesAndNotesToSkip& ASkip,
                                int32_t& AEndPos) {
    ASkip.SetToInvalid();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    const char16_t C = AText[ARange.StartIndex];
    if (C != u'|' && C != u'/') return false;
    TrecNuo4HorzLocation L;
    int32_t End = -1;
    if (!ReadHorzLocation(AText, ARange, L, End) || L.aType != hltRelLocate_BarlineAndNote)
        return false;
    const TKoRange Range = TKoRange::FromStartEnd(ARange.StartIndex, End);
    ASkip.Header.aType = pitBarlinesAndNotesToSkip;
    ASkip.Header.ABCTextRange = Range;
    ASkip.BarlinesCount = L.RelLocate_BarlineAndNote_BarlinesCount;
    ASkip.NotesCount = L.RelLocate_BarlineAndNote_NotesCount;
    AEndPos = End;
    return true;
}

// ---- Lyrics ------------------------------------------------------------------------------

bool ReadLyric(TText AText, TKoRange ARange, TrecNuo4ABCParseInfo_Lyric& ALyric, int32_t& AEndPos) {
    ALyric.SetToInvalid();
    AEndPos = -1;
    TrecNuo4ABCParseInfo_Lyric L;
    int32_t End = -1;
    if (!ReadPureLyric(AText, ARange, L.Text, End)) return false;
    int32_t SkipEnd = -1;
    if (End < ARange.EndIndex() && ReadBarlinesAndNotesToSkip(AText, ABC_RangeFrom(ARange, End + 1),
                                                              L.RightLocation, SkipEnd)) {
        End = SkipEnd;
        while (End < ARange.EndIndex() && ABC_IsWhiteChar(AText[End + 1])) {
            ++End;
            if (AText[End] == u'\r' || AText[End] == u'\n') L.Text.bLineBreak = true;
        }
    }
    L.Header.aType = pitLyric;
    L.Header.ABCTextRange = TKoRange::FromStartEnd(ARange.StartIndex, End);
    ALyric = std::move(L);
    AEndPos = End;
    return true;
}

TNuo4ABCTokenInfoItems TrecNuo4ABCParseInfo_Lyric::GetTokenItems() const {
    TNuo4ABCTokenInfoItems R;
    if (Text.Header.IsValid()) R.AddItem(ttPureLyric, Text.Header.ABCTextRange);
    if (RightLocation.Header.IsValid())
        R.AddItem(ttBarlinesAndNotesToSkip, RightLocation.Header.ABCTextRange);
    return R;
}

TrecNuo4ABCParseInfo_SymbolHeader TrecNuo4ABCParseInfo_Lyric::GetFullHeader() const {
    TrecNuo4ABCParseInfo_SymbolHeader R;
    R.aType = Header.aType;
    R.ABCTextRange = Header.ABCTextRange;
    R.TokenItems = GetTokenItems();
    return R;
}

namespace {

std::u16string WriteLyric(const TrecNuo4ABCParseInfo_Lyric& ALyric, bool bBraced,
                          bool bWithLineBreak, bool bLineBreakUseCRLF) {
    std::u16string S = bBraced ? ALyric.Text.Data.ToABCText_Braced() : ALyric.Text.ToABCText();
    S += ALyric.RightLocation.ToABCText();
    if (bWithLineBreak && ALyric.Text.bLineBreak) S += bLineBreakUseCRLF ? u"\r\n" : u"\r";
    for (size_t P; (P = S.find(u" //")) != std::u16string::npos;) S.erase(P, 1);
    return S;
}

bool IsAsciiLetter(char16_t C) {
    return (C >= u'A' && C <= u'Z') || (C >= u'a' && C <= u'z');
}

}  // namespace

std::u16string TrecNuo4ABCParseInfo_Lyric::ToABCText(bool bWithLineBreak,
                                                     bool bLineBreakUseCRLF) const {
    return WriteLyric(*this, false, bWithLineBreak, bLineBreakUseCRLF);
}

// ---- Verses ------------------------------------------------------------------------------

void TrecNuo4ABCParseInfo_Lyrics_Verse::Initialize(
    const TrecNuo4LyricVersePrefix_WithParseInfo& APrefix,
    const std::vector<TrecNuo4ABCParseInfo_Lyric>& ALyricsArray, TKoRange AABCTextRange) {
    SetToInvalid();
    VersePrefix = APrefix;
    LyricsArray = ALyricsArray;
    ABCTextRange = AABCTextRange;
}

void TrecNuo4ABCParseInfo_Lyrics_Verse::AddItem(TrecNuo4ABCParseInfo_Lyric ALyric) {
    const TKoRange Range = ALyric.Header.ABCTextRange;
    LyricsArray.push_back(std::move(ALyric));
    const int32_t End = Range.EndIndex();
    if (ABCTextRange.IsValid() && Range.IsValid() && End > ABCTextRange.EndIndex())
        ABCTextRange = TKoRange::FromStartEnd(ABCTextRange.StartIndex, End);
}

bool TrecNuo4ABCParseInfo_Lyrics_Verse::AppendToLyricsArray(TText AABCText_Lyrics,
                                                            TKoRange AParseRange) {
    if (!ABC_RangeIsUsable(AABCText_Lyrics, AParseRange)) return false;
    // Leading white space would stop the first lyric; a line may begin with it.
    int32_t P = ABC_FindFirstNonWhite(AABCText_Lyrics, AParseRange);
    bool bAny = false;
    while (P >= 0 && P <= AParseRange.EndIndex()) {
        TrecNuo4ABCParseInfo_Lyric L;
        int32_t End = -1;
        if (!ReadLyric(AABCText_Lyrics, ABC_RangeFrom(AParseRange, P), L, End)) break;
        AddItem(std::move(L));
        bAny = true;
        P = End + 1;
    }
    return bAny;
}

namespace {

// Whether a lyrics line written from AStart on would be read as something else than lyrics: a
// section header ("." and letters), a verse prefix ("W:", "w2@1,1:") or a comment.
bool LineReadsAsOtherThanLyrics(TText AText, int32_t AStart) {
    int32_t End = AStart;
    const int32_t N = static_cast<int32_t>(AText.size());
    while (End < N && AText[End] != u'\r' && AText[End] != u'\n') ++End;
    if (End == AStart) return false;
    const TText Line = AText.substr(AStart, End - AStart);
    if (Line[0] == u'.' && (Line.size() == 1 || ABC_IsLetterChar(Line[1]))) return true;
    if (Line.starts_with(u"//") || Line.starts_with(u"/*")) return true;
    return (Line[0] == u'W' || Line[0] == u'w') &&
           Lyrics_StartsWithVersePrefix(AText, TKoRange(AStart, End - AStart));
}

}  // namespace

std::u16string TrecNuo4ABCParseInfo_Lyrics_Verse::ToABCText_Lyrics(
    TKoRangeArray& LyricTextRangeArray_WithinResult) const {
    // Lyrics that would make their line read as something else are braced; bracing one changes
    // only its own text, so the lines are checked again until none is left.
    std::vector<bool> Forced(LyricsArray.size(), false);
    for (;;) {
        const std::u16string Result = ToABCText_Lyrics(Forced, LyricTextRangeArray_WithinResult);
        bool bAgain = false;
        for (size_t I = 0; I < LyricsArray.size(); ++I) {
            const int32_t Start = LyricTextRangeArray_WithinResult[I].StartIndex;
            const bool bLineStart =
                Start == 0 || Result[Start - 1] == u'\n' || Result[Start - 1] == u'\r';
            if (Forced[I] || !bLineStart || LyricTextRangeArray_WithinResult[I].Length == 0)
                continue;
            if (LineReadsAsOtherThanLyrics(Result, Start)) Forced[I] = bAgain = true;
        }
        if (!bAgain) return Result;
    }
}

std::u16string TrecNuo4ABCParseInfo_Lyrics_Verse::ToABCText_Lyrics(
    const std::vector<bool>& AForceBraces, TKoRangeArray& LyricTextRangeArray_WithinResult) const {
    LyricTextRangeArray_WithinResult.clear();
    std::u16string Result;
    // Whether the result ends with the last character of a lyric written without braces, so
    // that the next lyric's first character could still join it when the text is read again.
    bool bPrevOpen = false;
    for (size_t I = 0; I < LyricsArray.size(); ++I) {
        const TrecNuo4ABCParseInfo_Lyric& L = LyricsArray[I];
        TrecNuo4SymbolPureLyricData Data = L.Text.Data;
        Data.CheckUnderlineArray();
        // The escaped form of a control character is as open to its neighbours as the plain one.
        std::u16string Escaped;
        const bool bPlain = Data.CanNoDaKuoHao_ForToABCText() || Data.ToABCText_Escaped(Escaped);
        bool bBraced = I < AForceBraces.size() && AForceBraces[I];
        if (bPlain && I > 0) {
            const char16_t First = Data.Text[0];
            // A later "|" or "/" would read as a skip marker; a closing punctuation mark or a
            // "-" right after a lyric would be read as part of it.
            if (First == u'|' || First == u'/') bBraced = true;
            if (bPrevOpen && !Result.empty() &&
                (ABC_IsClosingPunctuation(First) ||
                 (First == u'-' && ABC_IsWordChar(Result.back()))))
                bBraced = true;
        }
        const std::u16string S = WriteLyric(L, bBraced, true, true);
        if (!Result.empty() && !S.empty()) {
            const char16_t Before = Result.back(), After = S[0];
            // Two letters side by side would read as one word. Beyond ASCII letters the same
            // holds for every word character; a backslash could start an escape, and "/*"
            // (a skip marker before a lyric "*") a comment.
            if ((IsAsciiLetter(Before) && IsAsciiLetter(After)) ||
                (ABC_IsWordChar(Before) && ABC_IsWordChar(After)) || Before == u'\\' ||
                (Before == u'/' && After == u'*'))
                Result += u' ';
        }
        LyricTextRangeArray_WithinResult.push_back(
            TKoRange(static_cast<int32_t>(Result.size()), static_cast<int32_t>(S.size())));
        Result += S;
        if (!S.empty())
            bPrevOpen = bPlain && !bBraced && !L.RightLocation.IsValid() && !L.Text.bLineBreak;
    }
    return Result;
}

std::u16string TrecNuo4ABCParseInfo_Lyrics_Verse::ToABCText_Lyrics() const {
    TKoRangeArray Ranges;
    return ToABCText_Lyrics(Ranges);
}

std::u16string TrecNuo4ABCParseInfo_Lyrics_Verse::ToABCText() const {
    return VersePrefix.Value.ToABCText(true) + u"\r" + ToABCText_Lyrics();
}

// ---- Section -----------------------------------------------------------------------------

TrecNuo4ABCParseInfo_Lyric* TrecNuo4ABCParseInfo_Section_Lyrics::GetLastLyricPtr() {
    for (auto It = VerseBuffer.rbegin(); It != VerseBuffer.rend(); ++It)
        if (!It->LyricsArray.empty()) return &It->LyricsArray.back();
    return nullptr;
}

const TrecNuo4ABCParseInfo_Lyric* TrecNuo4ABCParseInfo_Section_Lyrics::GetLastLyricPtr() const {
    return const_cast<TrecNuo4ABCParseInfo_Section_Lyrics*>(this)->GetLastLyricPtr();
}

bool Lyrics_StartsWithVersePrefix(TText AText, TKoRange APiece) {
    TrecNuo4LyricVersePrefix_WithParseInfo Prefix;
    int32_t End = -1;
    return ReadLyricVersePrefix(AText, APiece, Prefix, End);
}

namespace {

bool CarriesLyrics(TNuo4ABCLineType AType) {
    switch (AType) {
        case altSectionLyrics_Continue:
        case altSectionLyrics_Prefix_Start:
        case altSectionLyrics_Prefix_Continue:
        case altSectionNone_LyricsPrefix_Start:
        case altSectionNone_LyricsPrefix_Continue:
            return true;
        default:
            return false;
    }
}

bool IsPrefixLine(TNuo4ABCLineType AType) {
    return AType == altSectionLyrics_Prefix_Start || AType == altSectionNone_LyricsPrefix_Start;
}

void StretchEnd(TKoRange& ARange, int32_t AEnd) {
    if (ARange.IsValid() && AEnd > ARange.EndIndex())
        ARange = TKoRange::FromStartEnd(ARange.StartIndex, AEnd);
}

}  // namespace

void ScanLyrics(const TNuo4ABCScanLines& ALines, TrecNuo4ABCParseInfo_Section_Lyrics& ASection) {
    const TText Text = ALines.Text;
    const size_t LineCount = std::min(
        {ALines.LineRanges.size(), ALines.LineTypes.size(), ALines.NonCommentRanges.size()});
    auto& Verses = ASection.VerseBuffer;
    // The lyric read last, as (verse, lyric) indexes, and the line it stands on.
    size_t LastVerse = 0, LastLyric = 0;
    size_t LastLine = SIZE_MAX;

    for (size_t Line = 0; Line < LineCount; ++Line) {
        const TNuo4ABCLineType Type = ALines.LineTypes[Line];
        if (!CarriesLyrics(Type)) continue;
        const TKoRangeArray& Pieces = ALines.NonCommentRanges[Line];
        int32_t From = -1;  // where reading starts in the first piece used

        TrecNuo4LyricVersePrefix_WithParseInfo Prefix;
        int32_t PrefixEnd = -1;
        if (IsPrefixLine(Type) && !Pieces.empty() &&
            ReadLyricVersePrefix(Text, Pieces[0], Prefix, PrefixEnd)) {
            TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
            Verse.Initialize(Prefix, {}, Prefix.Header.ABCTextRange);
            Verses.push_back(std::move(Verse));
            StretchEnd(ASection.ABCTextRange_All, PrefixEnd);
            From = PrefixEnd + 1;
        } else if (Verses.empty()) {
            // Lyrics before any prefix form a verse of their own at the start of their line.
            const TKoRange At(ALines.LineRanges[Line].StartIndex, 0);
            TrecNuo4ABCParseInfo_Lyrics_Verse Verse;
            Verse.VersePrefix.SetToDefaultForLyrics(At);
            Verse.ABCTextRange = At;
            Verses.push_back(std::move(Verse));
        }

        for (size_t PieceIndex = 0; PieceIndex < Pieces.size(); ++PieceIndex) {
            const TKoRange Piece = Pieces[PieceIndex];
            if (!Piece.IsNonEmpty()) continue;
            TKoRange ReadRange = Piece;
            if (PieceIndex == 0 && From >= 0) {
                // Lyrics may follow the prefix after white space ("W2@3,1: 我们").
                ReadRange = ABC_TrimRange(Text, ABC_RangeFrom(Piece, From));
                if (!ReadRange.IsNonEmpty()) continue;
            }
            int32_t P = ReadRange.StartIndex;
            while (P <= ReadRange.EndIndex()) {
                TrecNuo4ABCParseInfo_Lyric L;
                int32_t End = -1;
                if (!ReadLyric(Text, ABC_RangeFrom(ReadRange, P), L, End)) break;
                if (LastLine != SIZE_MAX && LastLine != Line)
                    Verses[LastVerse].LyricsArray[LastLyric].Text.bLineBreak = true;
                auto& Verse = Verses.back();
                Verse.AddItem(std::move(L));
                LastVerse = Verses.size() - 1;
                LastLyric = Verse.LyricsArray.size() - 1;
                LastLine = Line;
                StretchEnd(ASection.ABCTextRange_All, End);
                P = End + 1;
            }
        }
    }
    // The arrays grew by doubling; a long verse would otherwise hold up to twice the room its
    // lyrics need for as long as the scan lives.
    for (auto& Verse : Verses) Verse.LyricsArray.shrink_to_fit();
    Verses.shrink_to_fit();
}

// ---- Verse dialog ------------------------------------------------------------------------

std::u16string Lyrics_NormalizeVerseDialogText(TText AText) {
    std::vector<TKoRange> Lines;
    const int32_t Len = static_cast<int32_t>(AText.size());
    for (int32_t A = 0; A < Len;) {
        int32_t B = A;
        while (B < Len && AText[B] != u'\r' && AText[B] != u'\n') ++B;
        Lines.push_back(TKoRange(A, B - A));
        if (B < Len && AText[B] == u'\r' && B + 1 < Len && AText[B + 1] == u'\n') ++B;
        A = B + 1;
    }
    std::u16string Result;
    bool bStarted = false;
    for (const TKoRange& Line : Lines) {
        const TKoRange Trimmed = ABC_TrimRange(AText, Line);
        if (!bStarted && !Trimmed.IsNonEmpty()) continue;
        bStarted = true;
        if (Trimmed.IsNonEmpty()) Result += AText.substr(Trimmed.StartIndex, Trimmed.Length);
        Result += u'\r';
    }
    return Result;
}

}  // namespace nuo4
