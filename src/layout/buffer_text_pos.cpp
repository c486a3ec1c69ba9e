#include "layout/buffer_text_pos.h"

#include <algorithm>

#include "format/abc_buffer.h"
#include "layout/simple_buffer.h"

namespace nuo4 {

namespace {

TKoRange Union(TKoRange A, TKoRange B) {
    if (!A.IsValid()) return B;
    if (!B.IsValid()) return A;
    const int32_t S = std::min(A.StartIndex, B.StartIndex);
    const int32_t E = std::max(A.StartIndex + A.Length, B.StartIndex + B.Length);
    return TKoRange(S, E - S);
}

// The range just after R (empty), or invalid.
TKoRange After(TKoRange R) {
    return R.IsValid() ? TKoRange(R.StartIndex + R.Length, 0) : TKoRange::Invalid();
}

}  // namespace

const TrecNuo4ABCParseInfo_VoiceSymbol* GetVoiceParseItemFromBasicIndex(const TNuo4SimpleBuffer& B,
                                                                        int32_t ABasicIndex) {
    const TNuo4Symbol* S = B.Basic_GetSymbol(ABasicIndex);
    const TNuo4ABCBuffer* T = B.GetABCBuffer();
    if (!S || !T) return nullptr;
    const auto& Info = S->CalcInfo.SymbolABCTextInfo;
    if (Info.aType != spwabtSectionVoice) return nullptr;
    const auto& Items = T->Section_Voice.Buffer;
    if (Info.VoiceBufIndex() < 0 || Info.VoiceBufIndex() >= int32_t(Items.size())) return nullptr;
    return Items[Info.VoiceBufIndex()].get();
}

TKoRange GetABCTextRangeOfTokenFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex,
                                              TNuo4ABCTokenType AType) {
    const auto* P = GetVoiceParseItemFromBasicIndex(B, ABasicIndex);
    return P ? P->GetTokenItems().GetRangeOfFirst(AType) : TKoRange::Invalid();
}

TKoRange GetABCTextRangeFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex, bool bAll) {
    const auto* P = GetVoiceParseItemFromBasicIndex(B, ABasicIndex);
    if (!P) return TKoRange::Invalid();
    if (bAll) return P->Header.ABCTextRange;
    const TNuo4ABCTokenInfoItems T = P->GetTokenItems();
    switch (B.Basic_GetSymbolType(ABasicIndex)) {
        case sbstNote: {
            TKoRange R = TKoRange::Invalid();
            for (TNuo4ABCTokenType Type : {ttNote_Pitches, ttNote_Duration, ttNote_Grace,
                                           ttNote_Articulations, ttControlOptions})
                R = Union(R, T.GetRangeOfFirst(Type));
            return R;
        }
        case sbstBarline:
            return T.GetRangeOfFirst(ttBarline_Pure_Barline);
        case sbstAccompMarker:
            return T.GetRangeOfFirst(ttAccompMarker);
        case sbstMeter:
            return T.GetRangeOfFirst(ttKeyAndMeters);
        case sbstText:
            return T.GetRangeOfFirst(ttText);
        case sbstReturn:
            return T.GetRangeOfFirst(ttReturn);
        default:
            return TKoRange::Invalid();
    }
}

TKoRange GetABCTextRangeFromBasicIndexRange(const TNuo4SimpleBuffer& B, TKoRange ARange) {
    if (!ARange.IsNonEmpty()) return TKoRange::Invalid();
    const TKoRange F = GetABCTextRangeFromBasicIndex(B, ARange.StartIndex, true);
    const TKoRange L = GetABCTextRangeFromBasicIndex(B, ARange.EndIndex(), true);
    if (!F.IsValid() || !L.IsValid()) return TKoRange::Invalid();
    return TKoRange(F.StartIndex, L.StartIndex + L.Length - F.StartIndex);
}

TKoRange GetABCTextRangeForAllSymbol_ControlOptions(const TNuo4SimpleBuffer& B,
                                                    int32_t ABasicIndex) {
    const auto* P = GetVoiceParseItemFromBasicIndex(B, ABasicIndex);
    if (!P) return TKoRange::Invalid();
    const TNuo4ABCTokenInfoItems T = P->GetTokenItems();
    const TKoRange Own = T.GetRangeOfFirst(ttControlOptions);
    if (Own.IsValid()) return Own;
    switch (B.Basic_GetSymbolType(ABasicIndex)) {
        case sbstNote:
            return After(
                Union(T.GetRangeOfFirst(ttNote_Pitches), T.GetRangeOfFirst(ttNote_Duration)));
        case sbstBarline:
            return After(T.GetRangeOfFirst(ttBarline_Pure_Barline));
        default:
            return After(GetABCTextRangeFromBasicIndex(B, ABasicIndex, false));
    }
}

int32_t GetABCTextInsertPosFromBasicIndex(const TNuo4SimpleBuffer& B, int32_t ABasicIndex) {
    const int32_t N = B.Basic_GetCount();
    if (N == 0) {
        const TNuo4ABCBuffer* T = B.GetABCBuffer();
        return T ? T->SectionVoice_GetInsertPosWhenBufferIsEmtpy() : -1;
    }
    if (ABasicIndex == N) {
        const TKoRange L = GetABCTextRangeFromBasicIndex(B, N - 1, true);
        return L.IsValid() ? L.StartIndex + L.Length : -1;
    }
    const TKoRange R = GetABCTextRangeFromBasicIndex(B, ABasicIndex, true);
    return R.IsValid() ? R.StartIndex : -1;
}

TKoRange GetABCTextRangeFromAttachIndex(const TNuo4SimpleBuffer& B, int32_t AAttachIndex) {
    const TNuo4Symbol* S = B.Attach_GetSymbol(AAttachIndex);
    const TNuo4ABCBuffer* T = B.GetABCBuffer();
    if (!S || !T) return TKoRange::Invalid();
    const auto& Info = S->CalcInfo.SymbolABCTextInfo;
    switch (Info.aType) {
        case spwabtSectionAttachments: {
            const auto& Items = T->Section_Attachments.Buffer;
            if (Info.AttachmentsBufIndex() < 0 ||
                Info.AttachmentsBufIndex() >= int32_t(Items.size()))
                return TKoRange::Invalid();
            return Items[Info.AttachmentsBufIndex()].Header.ABCTextRange;
        }
        case spwabtSectionLyrics: {
            const auto& Verses = T->Section_Lyrics.VerseBuffer;
            if (Info.LyricVerseBufIndex() < 0 ||
                Info.LyricVerseBufIndex() >= int32_t(Verses.size()))
                return TKoRange::Invalid();
            const auto& Lyrics = Verses[Info.LyricVerseBufIndex()].LyricsArray;
            if (Info.LyricPos() < 0 || Info.LyricPos() >= int32_t(Lyrics.size()))
                return TKoRange::Invalid();
            return Lyrics[Info.LyricPos()].Text.Header.ABCTextRange;
        }
        case spwabtSectionVoice:
            // Articulations, arcs and voltas are written in their owner's text.
            return GetABCTextRangeFromBasicIndex(B, B.Attach_GetBasicIndex(AAttachIndex), true);
        default:
            return TKoRange::Invalid();
    }
}

TKoRange GetABCTextRangeFromPageSymbolIndex(const TNuo4SimpleBuffer& B, int32_t APageIndex) {
    const TNuo4Symbol* S = B.PageBuffer_GetSymbol(APageIndex);
    const TNuo4ABCBuffer* T = B.GetABCBuffer();
    if (!S || !T) return TKoRange::Invalid();
    const int32_t I = S->CalcInfo.SymbolABCTextInfo.PageBufIndex();
    const auto& Items = T->Section_Page.Buffer;
    if (I < 0 || I >= int32_t(Items.size())) return TKoRange::Invalid();
    return Items[I].Header.ABCTextRange;
}

}  // namespace nuo4
