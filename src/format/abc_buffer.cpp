#include "format/abc_buffer.h"

#include <algorithm>
#include <utility>

namespace nuo4 {

namespace {

constexpr char16_t CR = u'\r';
constexpr char16_t LF = u'\n';

int32_t Len(TText AText) {
    return static_cast<int32_t>(AText.size());
}

// Trimming with the white set of the scanner (0..32, U+0085, U+00A0).
TKoRange Trim(TText AText, int32_t AStart, int32_t AEnd) {
    while (AStart <= AEnd && ABC_IsWhiteChar(AText[AStart])) ++AStart;
    while (AEnd >= AStart && ABC_IsWhiteChar(AText[AEnd])) --AEnd;
    if (AStart > AEnd) return TKoRange::Invalid();
    return TKoRange::FromStartEnd(AStart, AEnd);
}

// Cuts one comment out of the last piece of a line.
void CutComment(TText AText, TKoRangeArray& APieces, TKoRange AComment) {
    TKoRange& Last = APieces.back();
    if (!Last.IsNonEmpty()) return;
    const int32_t PS = Last.StartIndex, PE = Last.EndIndex();
    const int32_t CS = AComment.StartIndex, CE = AComment.EndIndex();
    if (CS > PE || CE < PS) return;  // the comment lies beside the piece
    const TKoRange Left = CS > PS ? Trim(AText, PS, CS - 1) : TKoRange::Invalid();
    const TKoRange Right = CE < PE ? Trim(AText, CE + 1, PE) : TKoRange::Invalid();
    if (Left.IsNonEmpty()) {
        Last = Left;
        if (Right.IsNonEmpty()) APieces.push_back(Right);
    } else {
        Last = Right;
        // An earlier piece survives: the line keeps only real pieces.
        if (!Last.IsValid() && APieces.size() > 1) APieces.pop_back();
    }
}

// The pieces of every line, and whether a comment touches the line. Comments and lines are
// walked together, so the cost is the number of lines plus the lines each comment spans.
void ComputePieces(const TKoRangeArray& ALines, const TKoRangeArray& AComments, TText AText,
                   TTwoDimArrayOfTKoRange& APieces, std::vector<bool>* AHasComment) {
    const int32_t N = static_cast<int32_t>(ALines.size());
    APieces.assign(N, {});
    for (int32_t I = 0; I < N; ++I) {
        const TKoRange& L = ALines[I];
        APieces[I].push_back(L.IsNonEmpty() ? Trim(AText, L.StartIndex, L.EndIndex())
                                            : TKoRange::Invalid());
    }
    if (AHasComment) AHasComment->assign(N, false);
    // Overlapping comments (line comments widened over a block comment that spans many lines)
    // are cut as their union: cutting each on its own gives the same pieces, but would visit
    // the block's lines once per line comment inside it.
    TKoRangeArray Merged;
    Merged.reserve(AComments.size());
    for (const TKoRange& C : AComments) {
        if (!C.IsNonEmpty()) continue;
        if (!Merged.empty() && C.StartIndex <= Merged.back().EndIndex()) {
            if (C.EndIndex() > Merged.back().EndIndex())
                Merged.back() = TKoRange::FromStartEnd(Merged.back().StartIndex, C.EndIndex());
        } else {
            Merged.push_back(C);
        }
    }
    int32_t Line = 0;
    for (const TKoRange& C : Merged) {
        while (Line < N && ALines[Line].EndIndex() < C.StartIndex) ++Line;
        if (Line >= N) break;
        for (int32_t K = Line; K < N && ALines[K].StartIndex <= C.EndIndex(); ++K) {
            CutComment(AText, APieces[K], C);
            if (AHasComment) (*AHasComment)[K] = true;
        }
    }
}

bool StartsWithVoicePrefix(TText AText, TKoRange APiece) {
    return APiece.IsNonEmpty() && APiece.Length >= 2 &&
           (AText[APiece.StartIndex] == u'V' || AText[APiece.StartIndex] == u'v') &&
           AText[APiece.StartIndex + 1] == u':';
}

void ExtendTo(TKoRange& ARange, int32_t AEnd) {
    if (!ARange.IsValid()) return;
    if (AEnd > ARange.EndIndex()) ARange = TKoRange::FromStartEnd(ARange.StartIndex, AEnd);
}

constexpr TNuo4ABCSectionType AllSections[Nuo4ABCSectionTypeCount] = {
    astOptions, astFonts, astTitle, astVoice, astWords, astAttachments, astPage};

// The section a header line type opens; -1 for unknown headers and non-header types.
int SectionOfStartType(TNuo4ABCLineType AType) {
    for (TNuo4ABCSectionType S : AllSections)
        if (ABC_SectionStartLineType(S) == AType) return S;
    return -1;
}

}  // namespace

// ---- Unit-level functions -------------------------------------------------------------------

std::u16string ABC_AdjustLineBreak(TText AText) {
    // CR LF becomes CR. A lone LF (a file written with Unix line breaks) is a line break too:
    // dropping it would join every line of such a score into one and lose its sections.
    // Copied a line at a time: the whole score passes through here on every scan.
    std::u16string Result;
    Result.reserve(AText.size());
    size_t From = 0;
    for (size_t I = AText.find(LF); I != TText::npos; I = AText.find(LF, I + 1)) {
        Result.append(AText.substr(From, I - From));
        if (I == 0 || AText[I - 1] != CR) Result += CR;
        From = I + 1;
    }
    Result.append(AText.substr(From));
    return Result;
}

TKoRangeArray ABC_Scan_GetLineRangeArray(TText AText, bool bWithLineBreak) {
    TKoRangeArray Result;
    const int32_t N = Len(AText);
    int32_t A = 0;
    while (A < N) {
        int32_t B = A;
        while (B < N && AText[B] != CR && AText[B] != LF) ++B;
        if (B >= N) {
            Result.push_back(TKoRange::FromStartEnd(A, N - 1));
            break;
        }
        if (AText[B] == CR && B + 1 < N && AText[B + 1] == LF) {
            Result.push_back(TKoRange::FromStartEnd(A, bWithLineBreak ? B + 1 : B - 1));
            A = B + 2;
        } else {
            Result.push_back(TKoRange::FromStartEnd(A, bWithLineBreak ? B : B - 1));
            A = B + 1;
        }
    }
    return Result;
}

TKoRangeArray ABC_Scan_GetCommentRangeArray(TText AText) {
    const int32_t N = Len(AText);
    TKoRangeArray Blocks;
    for (size_t From = 0;;) {
        const size_t Open = AText.find(u"/*", From);
        if (Open == TText::npos) break;
        const int32_t S = static_cast<int32_t>(Open);
        int32_t Depth = 1, J = S + 2, End = -1;
        while (J + 1 < N) {
            if (AText[J] == u'/' && AText[J + 1] == u'*') {
                ++Depth;
                J += 2;
            } else if (AText[J] == u'*' && AText[J + 1] == u'/') {
                if (--Depth == 0) {
                    End = J + 1;
                    break;
                }
                J += 2;
            } else {
                ++J;
            }
        }
        if (End < 0) {
            Blocks.push_back(TKoRange::FromStartEnd(S, N - 1));
            break;
        }
        Blocks.push_back(TKoRange::FromStartEnd(S, End));
        From = static_cast<size_t>(End + 1);
    }

    TKoRangeArray Lines;
    for (size_t From = 0;;) {
        const size_t Pos = AText.find(u"//", From);
        if (Pos == TText::npos) break;
        const int32_t S = static_cast<int32_t>(Pos);
        if (S == 0 || AText[S - 1] == CR || AText[S - 1] == LF || AText[S - 1] == u' ') {
            int32_t E = S + 2;
            while (E < N && AText[E] != CR && AText[E] != LF) ++E;
            Lines.push_back(TKoRange::FromStartEnd(S, E - 1));
            From = static_cast<size_t>(E);
        } else {
            From = Pos + 1;
        }
    }

    if (Blocks.empty()) return Lines;
    if (Lines.empty()) return Blocks;

    // Both lists are sorted and free of overlaps within themselves, so one forward walk finds
    // the block comments each line comment overlaps.
    size_t K = 0;
    for (TKoRange& L : Lines) {
        while (K < Blocks.size() && Blocks[K].EndIndex() < L.StartIndex) ++K;
        int32_t S = L.StartIndex, E = L.EndIndex();
        for (size_t B = K; B < Blocks.size() && Blocks[B].StartIndex <= L.EndIndex(); ++B) {
            S = std::min(S, Blocks[B].StartIndex);
            E = std::max(E, Blocks[B].EndIndex());
        }
        L = TKoRange::FromStartEnd(S, E);
    }
    // Widening keeps the line comments sorted (a block that reaches back before one line
    // comment overlaps every earlier line comment it contains), so a merge sorts the union.
    TKoRangeArray Result(Lines.size() + Blocks.size());
    std::merge(Lines.begin(), Lines.end(), Blocks.begin(), Blocks.end(), Result.begin(),
               [](const TKoRange& A, const TKoRange& B) {
                   return A.StartIndex != B.StartIndex ? A.StartIndex < B.StartIndex
                                                       : A.EndIndex() < B.EndIndex();
               });
    return Result;
}

TTwoDimArrayOfTKoRange ABC_Scan_GetNonCommentRangeArray(const TKoRangeArray& ALineRanges,
                                                        const TKoRangeArray& ACommentRanges,
                                                        TText AText) {
    TTwoDimArrayOfTKoRange Result;
    ComputePieces(ALineRanges, ACommentRanges, AText, Result, nullptr);
    return Result;
}

bool ABC_Scan_IsSectionHeader(TText AText, TKoRange AFirstPiece, TNuo4ABCLineType& AType,
                              TKoRange& ANameRange) {
    AType = altSectionUnknown_Start;
    ANameRange = TKoRange::Invalid();
    if (!AFirstPiece.IsNonEmpty() || AFirstPiece.EndIndex() >= Len(AText)) return false;
    if (AText[AFirstPiece.StartIndex] != u'.') return false;
    for (int32_t I = AFirstPiece.StartIndex + 1; I <= AFirstPiece.EndIndex(); ++I)
        if (!ABC_IsLetterChar(AText[I])) return false;
    const TText Word = AText.substr(AFirstPiece.StartIndex, AFirstPiece.Length);
    for (TNuo4ABCSectionType S : AllSections) {
        if (ABC_SameTextIgnoreCase(Word, ABC_SectionHeaderName(S))) {
            AType = ABC_SectionStartLineType(S);
            ANameRange = AFirstPiece;
            break;
        }
    }
    return true;
}

// ---- TNuo4ABCBuffer: scanning ---------------------------------------------------------------

bool ABC_ReadTitleItem(TText AText, TKoRange ARange, TrecNUo4SectionTitleItem& AItem,
                       TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    return AItem.FromABCText(AText, ARange, ATokens, AEndPos);
}

int32_t ABC_Scan_ReadVoicePiece(TText AText, TKoRange APiece,
                                bool (*AReader)(TText, TKoRange, TNuo4VoiceSymbolPtr&, int32_t&),
                                std::vector<TNuo4VoiceSymbolPtr>& ASymbols) {
    int32_t LastEnd = -1;
    if (!ABC_RangeIsUsable(AText, APiece)) return LastEnd;
    // Tokens are cut here rather than collected first: the voice is the bulk of a score.
    const int32_t Last = APiece.EndIndex();
    int32_t P = APiece.StartIndex;
    while (P <= Last) {
        while (P <= Last && (AText[P] == u' ' || AText[P] == u'\t')) ++P;
        if (P > Last) break;
        const int32_t TokenStart = P;
        while (P <= Last && AText[P] != u' ' && AText[P] != u'\t') {
            if (AText[P] == u'{') {
                const int32_t Close =
                    ABC_FindMatchingClose(AText, TKoRange::FromStartEnd(P, Last), u"{", u"}");
                P = Close < 0 ? Last : Close;
            }
            ++P;
        }
        const int32_t TokenEnd = P - 1;
        int32_t Pos = TokenStart;
        while (Pos <= TokenEnd) {
            TNuo4VoiceSymbolPtr Symbol;
            int32_t EndPos = -1;
            // A reader that consumed nothing or ran past the token is treated as failing.
            if (!AReader(AText, TKoRange::FromStartEnd(Pos, TokenEnd), Symbol, EndPos) || !Symbol ||
                EndPos < Pos || EndPos > TokenEnd)
                break;
            ASymbols.push_back(std::move(Symbol));
            LastEnd = EndPos;
            Pos = EndPos + 1;
        }
    }
    return LastEnd;
}

TNuo4ABCBuffer::TNuo4ABCBuffer(TText AABCText, const TNuo4ABCSectionReaders& AReaders)
    : FABCText(ABC_AdjustLineBreak(AABCText)), FReaders(AReaders) {
    Scan_OverAll();
    ScanSection_Options();
    ScanSection_Fonts();
    ScanSection_Title();
    ScanSection_Voice();
    ScanSection_Lyrics();
    ScanSection_Attachments();
    ScanSection_Page();
}

void TNuo4ABCBuffer::Scan_OverAll() {
    LineRangeArray = ABC_Scan_GetLineRangeArray(FABCText, true);
    CommentRangeArray = ABC_Scan_GetCommentRangeArray(FABCText);
    ComputePieces(LineRangeArray, CommentRangeArray, FABCText, NonCommentRangesArrayArray,
                  &FLineHasComment);
    GetAllLinesType();
    CalcSectionLineRanges();
}

TKoRange TNuo4ABCBuffer::FirstPiece(int ALineIndex) const {
    if (!ValidLine(ALineIndex)) return TKoRange::Invalid();
    return NonCommentRangesArrayArray[ALineIndex].front();
}

void TNuo4ABCBuffer::GetAllLinesType() {
    const TText T = FABCText;
    const int N = GetABCLinesCount();
    LineTypeArray.assign(N, altEmptyOrComment);
    FNoKeyWord = true;

    // 1: empty lines, headers, and the section every other line stands in.
    TNuo4ABCLineType Current = altSectionNone;
    for (int I = 0; I < N; ++I) {
        if (!LineWithNonCommnet(I)) continue;
        TNuo4ABCLineType HeaderType;
        TKoRange NameRange;
        if (ABC_Scan_IsSectionHeader(T, FirstPiece(I), HeaderType, NameRange)) {
            LineTypeArray[I] = HeaderType;
            // Every _Start value is directly followed by its _Continue value.
            Current = static_cast<TNuo4ABCLineType>(HeaderType + 1);
            if (HeaderType != altSectionUnknown_Start) FNoKeyWord = false;
        } else {
            LineTypeArray[I] = Current;
        }
    }

    // 2: lines that parse as items of their section.
    for (int I = 0; I < N; ++I) {
        const TKoRange P = FirstPiece(I);
        int32_t EndPos = -1;
        switch (LineTypeArray[I]) {
            case altSectionOptions_Continue: {
                TrecNuo4ABCParseInfo_OptionItem Item;
                if (FReaders.OptionItem(T, P, Item, true, EndPos))
                    LineTypeArray[I] = altSectionOptions_Item;
                break;
            }
            case altSectionFonts_Continue: {
                TrecNuo4ABCParseInfo_FontInfo Item;
                if (FReaders.FontItem(T, P, Item, EndPos)) LineTypeArray[I] = altSectionFonts_Item;
                break;
            }
            case altSectionTitle_Continue: {
                TrecNUo4SectionTitleItem Item;
                TNuo4ABCTokenInfoItems Tokens;
                if (FReaders.TitleItem(T, P, Item, Tokens, EndPos))
                    LineTypeArray[I] = altSectionTitle_Item;
                break;
            }
            case altSectionAttachments_Continue: {
                TrecNuo4SectiontItemWithParseInfo_Attachments Item;
                if (FReaders.AttachmentItem(T, P, Item, EndPos))
                    LineTypeArray[I] = altSectionAttachments_Item;
                break;
            }
            case altSectionPage_Continue: {
                TrecNuo4SectiontItemWithParseInfo_Page Item;
                if (FReaders.PageItem(T, P, Item, EndPos)) LineTypeArray[I] = altSectionPage_Item;
                break;
            }
            default:
                break;
        }
    }

    // 3: prefix lines of the voice and the lyrics; "seen" holds across the whole text.
    bool bVoicePrefixSeen = false, bLyricsPrefixSeen = false;
    for (int I = 0; I < N; ++I) {
        if (LineTypeArray[I] == altSectionVoice_Continue) {
            if (StartsWithVoicePrefix(T, FirstPiece(I))) {
                LineTypeArray[I] = altSectionVoice_Prefix_Start;
                bVoicePrefixSeen = true;
            } else if (bVoicePrefixSeen) {
                LineTypeArray[I] = altSectionVoice_Prefix_Continue;
            }
        } else if (LineTypeArray[I] == altSectionLyrics_Continue) {
            if (FReaders.VersePrefix(T, FirstPiece(I))) {
                LineTypeArray[I] = altSectionLyrics_Prefix_Start;
                bLyricsPrefixSeen = true;
            } else if (bLyricsPrefixSeen) {
                LineTypeArray[I] = altSectionLyrics_Prefix_Continue;
            }
        }
    }

    // 4: the preamble.
    for (int I = 0; I < N; ++I) {
        if (LineTypeArray[I] != altSectionNone) continue;
        const TKoRange P = FirstPiece(I);
        if (StartsWithVoicePrefix(T, P))
            LineTypeArray[I] = altSectionNone_PrefixVoice_Start;
        else if (FReaders.VersePrefix(T, P))
            LineTypeArray[I] = altSectionNone_LyricsPrefix_Start;
        else
            LineTypeArray[I] = altSectionNone_PrefixNone;
    }
}

// One walk gives every section its range: a section runs from its header to the line before
// the next header of another section; a repeated header restarts it while it is still open,
// and a header of an already closed section is ignored.
void TNuo4ABCBuffer::CalcSectionLineRanges() {
    int Start[Nuo4ABCSectionTypeCount], End[Nuo4ABCSectionTypeCount];
    bool Closed[Nuo4ABCSectionTypeCount] = {};
    std::fill(std::begin(Start), std::end(Start), -1);
    std::fill(std::begin(End), std::end(End), -1);
    int Open = -1;
    const int N = GetABCLinesCount();
    for (int I = 0; I < N; ++I) {
        if (!ABC_IsHeaderLineType(LineTypeArray[I])) continue;
        const int S = SectionOfStartType(LineTypeArray[I]);
        if (Open >= 0 && S != Open) {
            End[Open] = I - 1;
            Closed[Open] = true;
            Open = -1;
        }
        if (S < 0 || Closed[S]) continue;
        Start[S] = I;
        Open = S;
    }
    if (Open >= 0) End[Open] = N - 1;
    for (int S = 0; S < Nuo4ABCSectionTypeCount; ++S)
        FSectionLines[S] =
            Start[S] >= 0 ? TKoRange::FromStartEnd(Start[S], End[S]) : TKoRange::Invalid();
}

void TNuo4ABCBuffer::ScanSection_Options() {
    auto& Sec = Section_Options;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astOptions];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        if (LineTypeArray[I] == altSectionOptions_Start) {
            Sec.ABCTextRange_SectionName = FirstPiece(I);
        } else if (LineTypeArray[I] == altSectionOptions_Item) {
            TrecNuo4ABCParseInfo_OptionItem Item;
            int32_t EndPos = -1;
            if (FReaders.OptionItem(FABCText, FirstPiece(I), Item, true, EndPos)) Sec.AddItem(Item);
        }
    }
}

void TNuo4ABCBuffer::ScanSection_Fonts() {
    auto& Sec = Section_Fonts;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astFonts];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        if (LineTypeArray[I] == altSectionFonts_Start) {
            Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All = FirstPiece(I);
        } else if (LineTypeArray[I] == altSectionFonts_Item) {
            TrecNuo4ABCParseInfo_FontInfo Item;
            int32_t EndPos = -1;
            if (FReaders.FontItem(FABCText, FirstPiece(I), Item, EndPos)) {
                Sec.AddItem(Item);
                ExtendTo(Sec.ABCTextRange_All, EndPos);
            }
        }
    }
}

void TNuo4ABCBuffer::ScanSection_Title() {
    auto& Sec = Section_Title;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astTitle];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        if (LineTypeArray[I] == altSectionTitle_Start) {
            Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All = FirstPiece(I);
        } else if (LineTypeArray[I] == altSectionTitle_Item) {
            TrecNUo4SectionTitleItem Item;
            TNuo4ABCTokenInfoItems Tokens;
            int32_t EndPos = -1;
            if (FReaders.TitleItem(FABCText, FirstPiece(I), Item, Tokens, EndPos)) {
                Sec.AddItem(Item, Tokens);
                ExtendTo(Sec.ABCTextRange_All, EndPos);
            }
        }
    }
}

void TNuo4ABCBuffer::ScanSection_Voice() {
    auto& Sec = Section_Voice;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astVoice];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    const TText T = FABCText;
    // Room for a symbol per four characters of the section (a typical symbol and its space are
    // three to five), so that a long voice does not move its pointer array again and again.
    const TKoRange& Lines = Sec.ABCTextRange_Line;
    const int32_t SectionChars = LineRangeArray[Lines.EndIndex()].EndIndex() -
                                 LineRangeArray[Lines.StartIndex].StartIndex + 1;
    Sec.Buffer.reserve(static_cast<size_t>(SectionChars / 4 + 1));
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        const TNuo4ABCLineType Type = LineTypeArray[I];
        if (Type == altSectionVoice_Start) {
            Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All = FirstPiece(I);
            continue;
        }
        if (Type != altSectionVoice_Continue && Type != altSectionVoice_Prefix_Start &&
            Type != altSectionVoice_Prefix_Continue)
            continue;
        const TKoRangeArray& Pieces = NonCommentRangesArrayArray[I];
        for (size_t K = 0; K < Pieces.size(); ++K) {
            TKoRange Piece = Pieces[K];
            if (!Piece.IsNonEmpty()) continue;
            if (K == 0 && Type == altSectionVoice_Prefix_Start) {
                // The prefix is no symbol: the content starts after it.
                Sec.PrefixRange = TKoRange(Piece.StartIndex, 2);
                ExtendTo(Sec.ABCTextRange_All, Sec.PrefixRange.EndIndex());
                Piece = ABC_RangeFrom(Piece, Piece.StartIndex + 2);
                if (!Piece.IsNonEmpty()) continue;
            }
            ExtendTo(Sec.ABCTextRange_All,
                     ABC_Scan_ReadVoicePiece(T, Piece, FReaders.VoiceSymbol, Sec.Buffer));
        }
    }
    // The room guessed above is given back: it would stay for as long as the scan lives.
    Sec.Buffer.shrink_to_fit();
}

void TNuo4ABCBuffer::ScanSection_Lyrics() {
    auto& Sec = Section_Lyrics;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astWords];
    if (Sec.ABCTextRange_Line.IsValid())
        Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All =
            FirstPiece(Sec.ABCTextRange_Line.StartIndex);
    // Verses with a prefix count even in the preamble, so the grammar sees every line.
    FReaders.Lyrics(ScanLines(), Sec);
}

void TNuo4ABCBuffer::ScanSection_Attachments() {
    auto& Sec = Section_Attachments;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astAttachments];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        if (LineTypeArray[I] == altSectionAttachments_Start) {
            Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All = FirstPiece(I);
        } else if (LineTypeArray[I] == altSectionAttachments_Item) {
            TrecNuo4SectiontItemWithParseInfo_Attachments Item;
            int32_t EndPos = -1;
            if (FReaders.AttachmentItem(FABCText, FirstPiece(I), Item, EndPos)) {
                Sec.Buffer.push_back(std::move(Item));
                ExtendTo(Sec.ABCTextRange_All, EndPos);
            }
        }
    }
    // An item holds every kind's record (kilobytes): no room for more than the items read.
    Sec.Buffer.shrink_to_fit();
}

void TNuo4ABCBuffer::ScanSection_Page() {
    auto& Sec = Section_Page;
    Sec.Clear();
    Sec.ABCTextRange_Line = FSectionLines[astPage];
    if (!Sec.ABCTextRange_Line.IsValid()) return;
    for (int I = Sec.ABCTextRange_Line.StartIndex; I <= Sec.ABCTextRange_Line.EndIndex(); ++I) {
        if (LineTypeArray[I] == altSectionPage_Start) {
            Sec.ABCTextRange_SectionName = Sec.ABCTextRange_All = FirstPiece(I);
        } else if (LineTypeArray[I] == altSectionPage_Item) {
            TrecNuo4SectiontItemWithParseInfo_Page Item;
            int32_t EndPos = -1;
            if (FReaders.PageItem(FABCText, FirstPiece(I), Item, EndPos)) {
                Sec.AddItem(Item);
                ExtendTo(Sec.ABCTextRange_All, EndPos);
            }
        }
    }
}

// ---- TNuo4ABCBuffer: queries ----------------------------------------------------------------

std::u16string TNuo4ABCBuffer::CreateEmptyDoc() {
    std::u16string S;
    auto Line = [&S](std::u16string_view L) {
        S += L;
        S += u"\r\n";
    };
    Line(u"// ************** NUO-ABC File Ver 1.0 (for Nuoscore4.95g) **************");
    Line(u"");
    Line(u"");
    for (std::u16string_view Header : {u".Options", u".Fonts"}) {
        Line(Header);
        Line(u"");
        Line(u"");
    }
    Line(u".Title");
    for (std::u16string_view Name : {u"Intro", u"Title", u"SubTitle", u"SubTitle2", u"KeyAndMeters",
                                     u"WordsByAndMusicBy", u"Expression"})
        Line(std::u16string(Name) + u" = ");
    Line(u"");
    Line(u"");
    Line(u".Voice");
    Line(u" $ ");
    Line(u"");
    Line(u"");
    for (std::u16string_view Header : {u".Words", u".Attachments", u".Page"}) {
        Line(Header);
        Line(u"");
        Line(u"");
    }
    return S;
}

int TNuo4ABCBuffer::GetLineIndexFromPos(int32_t APos) const {
    int Row = -1, Col = -1;
    GetRowColFromPos(APos, Row, Col);
    return Row;
}

void TNuo4ABCBuffer::GetRowColFromPos(int32_t APos, int& Row, int& Col) const {
    Row = Col = -1;
    const int N = GetABCLinesCount();
    if (N == 0 || APos < 0) return;
    const TKoRange& Last = LineRangeArray.back();
    if (APos > Last.EndIndex()) {
        if (FABCText.back() == CR) {
            Row = N;
            Col = 0;
        } else {
            Row = N - 1;
            Col = APos - Last.StartIndex;
        }
        return;
    }
    // The last line that starts at or before the position.
    auto It = std::upper_bound(LineRangeArray.begin(), LineRangeArray.end(), APos,
                               [](int32_t P, const TKoRange& L) { return P < L.StartIndex; });
    Row = static_cast<int>(It - LineRangeArray.begin()) - 1;
    Col = APos - LineRangeArray[Row].StartIndex;
}

bool TNuo4ABCBuffer::LineWithCommnet(int ALineIndex) const {
    return ValidLine(ALineIndex) && FLineHasComment[ALineIndex];
}

bool TNuo4ABCBuffer::LineWithNonCommnet(int ALineIndex) const {
    if (!ValidLine(ALineIndex)) return false;
    for (const TKoRange& P : NonCommentRangesArrayArray[ALineIndex])
        if (P.IsNonEmpty()) return true;
    return false;
}

bool TNuo4ABCBuffer::LineIsEmpyOrComment(int ALineIndex) const {
    return !LineWithNonCommnet(ALineIndex);
}

bool TNuo4ABCBuffer::LineIsNonEmpy(int ALineIndex) const {
    return LineWithCommnet(ALineIndex) || LineWithNonCommnet(ALineIndex);
}

TKoRange TNuo4ABCBuffer::GetLineIndexRange_Section(TNuo4ABCSectionType ASection) const {
    return FSectionLines[ASection];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionOptions() const {
    return FSectionLines[astOptions];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionFonts() const {
    return FSectionLines[astFonts];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionTitle() const {
    return FSectionLines[astTitle];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionVoice() const {
    return FSectionLines[astVoice];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionLyrics() const {
    return FSectionLines[astWords];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionAttachments() const {
    return FSectionLines[astAttachments];
}
TKoRange TNuo4ABCBuffer::GetLineIndexRange_SectionPage() const {
    return FSectionLines[astPage];
}

int TNuo4ABCBuffer::GetLastNonEmptyLine_Section(TNuo4ABCSectionType ASection) const {
    const TKoRange R = FSectionLines[ASection];
    if (!R.IsNonEmpty()) return -1;
    for (int I = R.EndIndex(); I >= R.StartIndex; --I)
        if (LineIsNonEmpy(I)) return I;
    return -1;
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionOptions() const {
    return GetLastNonEmptyLine_Section(astOptions);
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionFonts() const {
    return GetLastNonEmptyLine_Section(astFonts);
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionVoice() const {
    return GetLastNonEmptyLine_Section(astVoice);
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionLyrics() const {
    return GetLastNonEmptyLine_Section(astWords);
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionAttachments() const {
    return GetLastNonEmptyLine_Section(astAttachments);
}
int TNuo4ABCBuffer::GetLastNonEmptyLine_SectionPage() const {
    return GetLastNonEmptyLine_Section(astPage);
}

// ---- TNuo4ABCBuffer: edits ------------------------------------------------------------------

void TNuo4ABCBuffer::InsertAtLineAfter(int ALine, std::u16string AText,
                                       TrecNuo4ABCTextReplaceItem& AItem) const {
    const int N = GetABCLinesCount();
    if (ALine + 1 < N) {
        AItem.InitializeForInsert(LineRangeArray[ALine + 1].StartIndex, std::move(AText));
        return;
    }
    if (!FABCText.empty() && FABCText.back() != CR) AText.insert(AText.begin(), CR);
    AItem.InitializeForInsert(TextLength(), std::move(AText));
}

void TNuo4ABCBuffer::InsertNewSection(TNuo4ABCSectionType ASection, TText AItemText,
                                      bool bTrailingCR, TrecNuo4ABCTextReplaceItem& AItem) const {
    std::u16string S(1, CR);
    S += ABC_SectionHeaderName(ASection);
    S += CR;
    S += AItemText;
    if (bTrailingCR) S += CR;
    AItem.InitializeForInsert(TextLength(), std::move(S));
}

void TNuo4ABCBuffer::SectionVoice_AppendSymbol(TText ASymbolText,
                                               TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (ASymbolText.empty()) return;
    if (NoKeyWord()) {
        // A text without sections is a bare melody: the symbol just follows it.
        ATextReplaceItem.InitializeForInsert(TextLength(), std::u16string(ASymbolText));
        return;
    }
    if (!Section_Voice.ABCTextRange_SectionName.IsValid()) {
        InsertNewSection(astVoice, ASymbolText, false, ATextReplaceItem);
        return;
    }
    std::u16string S(ASymbolText);
    if (!Section_Voice.BufferIsEmpty() && ASymbolText.find(u'$') == TText::npos) S += u" $ ";
    S += CR;
    InsertAtLineAfter(GetLastNonEmptyLine_SectionVoice(), std::move(S), ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionLyrics_AppendLyricsVerse(
    TText ABCText_LyricsVerse, TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (ABCText_LyricsVerse.empty()) return;
    if (NoKeyWord() || !Section_Lyrics.ABCTextRange_SectionName.IsValid()) {
        InsertNewSection(astWords, ABCText_LyricsVerse, false, ATextReplaceItem);
        return;
    }
    InsertAtLineAfter(GetLastNonEmptyLine_SectionLyrics(), std::u16string(ABCText_LyricsVerse) + CR,
                      ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionAttachments_AddItemText(
    TText AItemText, TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (AItemText.empty()) return;
    if (NoKeyWord() || !Section_Attachments.ABCTextRange_SectionName.IsValid()) {
        InsertNewSection(astAttachments, AItemText, true, ATextReplaceItem);
        return;
    }
    InsertAtLineAfter(GetLastNonEmptyLine_SectionAttachments(), std::u16string(AItemText) + CR,
                      ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionAttachments_AddItem(
    const TrecNuo4SectionItem_Attachments& NewItem,
    TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    SectionAttachments_AddItemText(NewItem.ToABCText(), ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionOptions_EditItemText(
    TNuo4SectionOptionItemType AItemType, TText AItemText,
    TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    const bool bSectionExists = !NoKeyWord() && Section_Options.ABCTextRange_SectionName.IsValid();
    if (AItemText.empty() && !bSectionExists) return;
    if (!bSectionExists) {
        InsertNewSection(astOptions, AItemText, true, ATextReplaceItem);
        return;
    }
    for (const auto& Item : Section_Options.Buffer) {
        if (Item.ItemType != AItemType || !Item.Header.ABCTextRange.IsValid()) continue;
        if (!AItemText.empty()) {
            ATextReplaceItem.Initialize(Item.Header.ABCTextRange, std::u16string(AItemText));
            return;
        }
        // A group back at its defaults writes no text: its line goes, so that the defaults
        // apply again. A line that holds nothing else goes with its line break.
        const int L = GetLineIndexFromPos(Item.Header.ABCTextRange.StartIndex);
        const bool bAlone = L >= 0 && !LineWithCommnet(L) &&
                            ABC_TrimRange(FABCText, LineRangeArray[L]) == Item.Header.ABCTextRange;
        ATextReplaceItem.InitializeForDelete(bAlone ? LineRangeArray[L] : Item.Header.ABCTextRange);
        return;
    }
    if (AItemText.empty()) return;
    InsertAtLineAfter(GetLastNonEmptyLine_SectionOptions(), std::u16string(AItemText) + CR,
                      ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionOptions_EditItem(const TrecNuo4ABCParseInfo_OptionItem& NewItem,
                                             TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    SectionOptions_EditItemText(NewItem.ItemType, NewItem.ToABCText(), ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionFonts_EditItemText(TNuo4FontUsage AFontUsage, TText AItemText,
                                               TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (AItemText.empty()) return;
    if (NoKeyWord() || !Section_Fonts.ABCTextRange_SectionName.IsValid()) {
        InsertNewSection(astFonts, AItemText, true, ATextReplaceItem);
        return;
    }
    for (const auto& Item : Section_Fonts.Buffer) {
        if (Item.FontUsage == AFontUsage && Item.Header.ABCTextRange.IsValid()) {
            ATextReplaceItem.Initialize(Item.Header.ABCTextRange, std::u16string(AItemText));
            return;
        }
    }
    InsertAtLineAfter(GetLastNonEmptyLine_SectionFonts(), std::u16string(AItemText) + CR,
                      ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionFonts_EditItem(const TrecNuo4ABCParseInfo_FontInfo& NewItem,
                                           TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    SectionFonts_EditItemText(NewItem.FontUsage, NewItem.ToABCText(), ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionPage_AddItemText(TText AItemText,
                                             TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (AItemText.empty()) return;
    if (NoKeyWord() || !Section_Page.ABCTextRange_SectionName.IsValid()) {
        InsertNewSection(astPage, AItemText, true, ATextReplaceItem);
        return;
    }
    // CR + item at the end of the last non-empty line, before its line break: inserting after
    // the break would glue the item to whatever line follows (another section's header).
    const int L = GetLastNonEmptyLine_SectionPage();
    const TKoRange& Line = LineRangeArray[L];
    const int32_t Pos = FABCText[Line.EndIndex()] == CR ? Line.EndIndex() : Line.EndIndex() + 1;
    ATextReplaceItem.InitializeForInsert(Pos, std::u16string(1, CR) + std::u16string(AItemText));
}

void TNuo4ABCBuffer::SectionPage_AddItem(const TrecNuo4SectionItem_Page& NewItem,
                                         TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    SectionPage_AddItemText(NewItem.ToABCText(), ATextReplaceItem);
}

void TNuo4ABCBuffer::SectionTitle_EditTitleBlockText(
    TText AMultiLineText, TText AWithHeaderText,
    TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    ATextReplaceItem.SetToInvalid();
    if (NoKeyWord() || !Section_Title.ABCTextRange_SectionName.IsValid()) {
        if (AMultiLineText.empty()) return;
        InsertNewSection(astTitle, AMultiLineText, true, ATextReplaceItem);
        return;
    }
    // An empty writer result would delete the header: nothing to do then.
    const TKoRange All = Section_Title.ABCTextRange_All;
    if (AWithHeaderText.empty() || !All.IsValid()) return;
    // The written title ends with a line break and the replaced range does not: without this,
    // every edit of the title would leave one more empty line behind it.
    std::u16string S(AWithHeaderText);
    if (S.back() == CR && All.EndIndex() + 1 < TextLength() && FABCText[All.EndIndex() + 1] == CR)
        S.pop_back();
    ATextReplaceItem.Initialize(All, std::move(S));
}

void TNuo4ABCBuffer::SectionTitle_EditTitleBlock(
    const TrecNuo4SectionTitleBuffer& NewTitleBlock,
    TrecNuo4ABCTextReplaceItem& ATextReplaceItem) const {
    SectionTitle_EditTitleBlockText(NewTitleBlock.ToABCText(false), NewTitleBlock.ToABCText(true),
                                    ATextReplaceItem);
}

int32_t TNuo4ABCBuffer::SectionVoice_GetInsertPosWhenBufferIsEmtpy() const {
    if (!Section_Voice.BufferIsEmpty()) return -1;
    const TKoRange All = Section_Voice.ABCTextRange_All;
    if (!All.IsNonEmpty()) return 0;
    // The start of the line after the header (or the prefix): the header line may carry a
    // comment, and a header at the very end has no next line.
    const int L = GetLineIndexFromPos(All.EndIndex());
    if (L + 1 < GetABCLinesCount()) return LineRangeArray[L + 1].StartIndex;
    return TextLength();
}

int32_t TNuo4ABCBuffer::SectionVoice_GetLastInsertPosWhenBufferIsNonEmtpy() const {
    if (Section_Voice.BufferIsEmpty()) return -1;
    return Section_Voice.Buffer.back()->Header.ABCTextRange.EndIndex() + 1;
}

// ---- TNuo4ABCBuffer: clean-up ---------------------------------------------------------------

bool TNuo4ABCBuffer::RemoveBlankLines(const TKoRange& ALines, const TKoRange& AAll,
                                      TNuo4ABCTextReplaceItems& AItems) const {
    AItems.clear();
    if (!ALines.IsValid() || !AAll.IsNonEmpty() || ALines.Length <= 1) return false;
    for (int I = ALines.StartIndex + 1; I < ALines.EndIndex(); ++I) {
        const TKoRange& L = LineRangeArray[I];
        if (ABC_RangeIsWhite(FABCText, L)) {
            TrecNuo4ABCTextReplaceItem Item;
            Item.InitializeForDelete(L);
            AItems.AddItem(Item);
        }
    }
    return !AItems.empty();
}

bool TNuo4ABCBuffer::FormatSectionVoice_RemoveBlankLines(
    TNuo4ABCTextReplaceItems& TextReplaceItems) const {
    if (!Section_Voice.ABCTextRange_SectionName.IsValid()) {
        TextReplaceItems.clear();
        return false;
    }
    return RemoveBlankLines(Section_Voice.ABCTextRange_Line, Section_Voice.ABCTextRange_All,
                            TextReplaceItems);
}

bool TNuo4ABCBuffer::FormatSectionAttachments_RemoveBlankLines(
    TNuo4ABCTextReplaceItems& TextReplaceItems) const {
    if (!Section_Attachments.ABCTextRange_SectionName.IsValid()) {
        TextReplaceItems.clear();
        return false;
    }
    return RemoveBlankLines(Section_Attachments.ABCTextRange_Line,
                            Section_Attachments.ABCTextRange_All, TextReplaceItems);
}

bool TNuo4ABCBuffer::FormatSectionVoice_RemoveComment(
    TNuo4ABCTextReplaceItems& TextReplaceItems) const {
    TextReplaceItems.clear();
    const auto& Sec = Section_Voice;
    const TKoRange All = Sec.ABCTextRange_All;
    if (!Sec.ABCTextRange_SectionName.IsValid() || !All.IsNonEmpty() ||
        Sec.ABCTextRange_Line.Length <= 1)
        return false;
    // The comment list may hold overlapping ranges (a block comment and the line comment
    // widened over it); deleting both would remove text outside them, so they are merged.
    TKoRangeArray Merged;
    for (const TKoRange& C : CommentRangeArray) {
        if (!C.IsNonEmpty() || C.StartIndex < All.StartIndex || C.EndIndex() > All.EndIndex())
            continue;
        if (!Merged.empty() && C.StartIndex <= Merged.back().EndIndex())
            Merged.back() = TKoRange::FromStartEnd(
                Merged.back().StartIndex, std::max(Merged.back().EndIndex(), C.EndIndex()));
        else
            Merged.push_back(C);
    }
    TextReplaceItems = TNuo4ABCTextReplaceItems::MakeDeletes(Merged);
    return !TextReplaceItems.empty();
}

void TNuo4ABCBuffer::UpdateOptions() const {
    for (int I = 0; I < GetABCLinesCount(); ++I) {
        if (LineTypeArray[I] != altSectionOptions_Item) continue;
        TrecNuo4ABCParseInfo_OptionItem Item;
        int32_t EndPos = -1;
        FReaders.OptionItem(FABCText, FirstPiece(I), Item, false, EndPos);
    }
}

void TNuo4ABCBuffer::UpdateFonts() {
    if (INuo4FontTable* Table = Nuo4GetFontTable()) UpdateFonts(*Table);
}

void TNuo4ABCBuffer::UpdateFonts(INuo4FontTable& ATable) {
    FontsCheckInfoArray.clear();
    ATable.ResetTextFonts();
    for (const auto& Item : Section_Fonts.Buffer) {
        if (Item.FontUsage == fuCore || Item.FontUsage >= Nuo4FontUsageCount) continue;
        const std::u16string Obtained = ATable.SetFont(Item.FontUsage, Item.FontInfo);
        if (!ABC_SameTextIgnoreCase(Obtained, Item.FontInfo.FamilyName))
            FontsCheckInfoArray.push_back({Item.FontUsage, Item.FontInfo.FamilyName});
    }
}

void TNuo4ABCBuffer::SectionFonts_UpdateAllTitleBlockFonts(
    TNuo4ABCTextReplaceItems& ATextReplaceItems) const {
    ATextReplaceItems.clear();
    if (const INuo4FontTable* Table = Nuo4GetFontTable())
        SectionFonts_UpdateAllTitleBlockFonts(*Table, ATextReplaceItems);
}

void TNuo4ABCBuffer::SectionFonts_UpdateAllTitleBlockFonts(
    const INuo4FontTable& ATable, TNuo4ABCTextReplaceItems& ATextReplaceItems) const {
    ATextReplaceItems.clear();
    static constexpr TNuo4FontUsage Usages[] = {fuIntro,     fuTitle,        fuSubTitle,
                                                fuSubTitle2, fuKeyAndMeters, fuWordsByAndMusicBy,
                                                fuExpression};
    const bool bHasSection = !NoKeyWord() && Section_Fonts.ABCTextRange_SectionName.IsValid();
    // Insertions for several missing usages would all land at the same position (or each
    // create a section of its own), so they are gathered into one.
    std::u16string Inserted;
    for (const TNuo4FontUsage U : Usages) {
        TrecNuo4ABCParseInfo_FontInfo Item;
        Item.FontUsage = U;
        Item.FontInfo = ATable.GetFontInfo(U);
        if (!Item.FontInfo.IsValid()) continue;
        const std::u16string Text = Item.ToABCText();
        TrecNuo4ABCTextReplaceItem Replace;
        Replace.SetToInvalid();
        if (bHasSection) {
            for (const auto& Existing : Section_Fonts.Buffer)
                if (Existing.FontUsage == U && Existing.Header.ABCTextRange.IsValid()) {
                    Replace.Initialize(Existing.Header.ABCTextRange, Text);
                    break;
                }
        }
        if (!Replace.IsInvalid()) {
            ATextReplaceItems.AddItem(Replace);
            continue;
        }
        if (!Inserted.empty()) Inserted += CR;
        Inserted += Text;
    }
    if (Inserted.empty()) return;
    TrecNuo4ABCTextReplaceItem Insert;
    if (bHasSection)
        InsertAtLineAfter(GetLastNonEmptyLine_SectionFonts(), Inserted + CR, Insert);
    else
        InsertNewSection(astFonts, Inserted, true, Insert);
    ATextReplaceItems.AddItem(Insert);
}

}  // namespace nuo4
