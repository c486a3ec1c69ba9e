#include "layout/buffer_lyrics.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "format/doc_options.h"
#include "layout/simple_buffer.h"
#include "layout/symbol_prefetch.h"
#include "render/music_font.h"
#include "render/note_symbol.h"
#include "render/symbol_lyric.h"

namespace nuo4 {

namespace {

TNuo4SymbolLyric* LyricAt(const TNuo4SimpleBuffer& B, int32_t A) {
    return B.Attach_IsLyric(A) ? dynamic_cast<TNuo4SymbolLyric*>(B.Attach_GetSymbol(A)) : nullptr;
}

bool InAccompPassage(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    for (const TKoRange& R : B.AccompMarkerRangeArray)
        if (R.Contains(AIndex)) return true;
    return false;
}

int32_t NextNoteAfter(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    for (int32_t I = AIndex + 1; I < B.Basic_GetCount(); ++I)
        if (B.Basic_IsNote(I)) return I;
    return -1;
}

bool IsRestAt(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    const TNuo4SymbolNote* N = B.Basic_GetSymbolNote(AIndex);
    return N && N->IsRest();
}

// The Lyrics group of a note from its lyric symbols: every lyric inks it, the occupying ones
// also give it room.
void Lyric_UpdateGroupBounds(const TNuo4SimpleBuffer& B, TNuo4Symbol& AOwner) {
    if (!AOwner.BasicInfo().AttachmentsInfo.Lyrics.IsPresent()) return;
    TrecNuo4CalcInfo_AttachmentsInfoItem& G = AOwner.MutBasicInfo().AttachmentsInfo.Lyrics.Mut();
    TrecNuo4CalcInfo_BoundsInfo Bounds;
    for (int32_t A : G.AttachIndexArray) {
        TNuo4Symbol* S = B.Attach_GetSymbol(A);
        if (!S) continue;
        const TGPPointF At = S->AttachInfo().AttachPos;
        const TGPRectF Box = S->BlackBox().translated(At);
        RectUnion(Bounds.Black, Box);
        auto* L = dynamic_cast<TNuo4SymbolLyric*>(S);
        if (!L)
            RectUnion(Bounds.Layout, Box);
        else if (L->IsOcupy())
            RectUnion(Bounds.Layout, L->SpacingBox().translated(At));
    }
    G.Bounds = Bounds;
}

const TrecNuo4ABCParseInfo_Lyrics_Verse* VerseAt(const TNuo4SimpleBuffer& B, int32_t V) {
    const auto& Verses = B.GetABCBuffer()->Section_Lyrics.VerseBuffer;
    return V >= 0 && V < int32_t(Verses.size()) ? &Verses[V] : nullptr;
}

bool VerseHasLyrics(const TrecNuo4ABCParseInfo_Lyrics_Verse& V) {
    return V.IsValid() && V.AttachIndexRange.IsNonEmpty() && V.FromBasicIndex >= 0;
}

int32_t VerseLastNote(const TNuo4SimpleBuffer& B, const TrecNuo4ABCParseInfo_Lyrics_Verse& V) {
    return B.Attach_GetBasicIndex(V.AttachIndexRange.EndIndex());
}

}  // namespace

double Lyric_GetLineSpacing(TNuo4FontUsage AUsage, double AScale) {
    const double S = std::fabs(AScale - 1.0) > 0.01 ? AScale : 1.0;
    return Nuo4DocOptions().GetLyricTextLineTotalSpacing(
        float(MusicFont_GetFontInfoItem(AUsage).LineSpacing * S));
}

void Lyric_CreateAll(TNuo4SimpleBuffer& B) {
    if (!B.GetABCBuffer() || B.Basic_GetCount() == 0) return;
    auto& Verses = B.GetABCBuffer()->Section_Lyrics.VerseBuffer;
    // The note of the previous verse's last lyric anchors a relative verse location.
    int32_t Ref = 0;
    for (int32_t V = 0; V < int32_t(Verses.size()); ++V) {
        TrecNuo4ABCParseInfo_Lyrics_Verse& Verse = Verses[V];
        Verse.AttachIndexRange = TKoRange::Invalid();
        Verse.FromBasicIndex = -1;
        if (!Verse.IsValid() || Verse.IsEmpty()) continue;
        const TrecNuo4LyricVersePrefix& Prefix = Verse.VersePrefix.Value;
        if (Prefix.HorzLocation.IsRelative() && !B.Basic_CheckIndex(Ref)) continue;
        int32_t Note = B.GetBasicIndexFromHorzLocation(Prefix.HorzLocation, Ref);
        if (!B.Basic_IsNote(Note)) continue;
        Verse.FromBasicIndex = Note;
        const double Spacing =
            Lyric_GetLineSpacing(Prefix.ExtraInfo.FontUsage, Prefix.ExtraInfo.Scale);
        const double Y = Prefix.GetRealVertLocation() * Spacing;
        int32_t Last = -1;
        for (int32_t K = 0; K < int32_t(Verse.LyricsArray.size()); ++K) {
            const TrecNuo4ABCParseInfo_Lyric& Lyric = Verse.LyricsArray[K];
            // The owners follow one another through the voice.
            B.Basic_PrefetchAhead(Note);
            TNuo4Symbol* Owner = B.Basic_GetSymbol(Note);
            TrecNuo4SymbolLyric Rec;
            Rec.NoteStyleIndex = Owner->NoteStyleIndex();
            // The scanned buffer outlives this layout: the lyric refers to its scanned data.
            Rec.Data.Refer(Lyric.Text.Data);
            Rec.ExtraData = Prefix.ExtraInfo;
            if (K == 0) Rec.VerseIndexText = Verse.GetVerseIndexText();
            auto S = std::make_unique<TNuo4SymbolLyric>(std::move(Rec));
            S->Update(true);
            S->CalcInfo.SymbolABCTextInfo.InitializeToLyrics(V, K);
            S->CalcInfo.bIsLyricVerseStart = K == 0;
            TrecNuo4AttachBufferItem Item;
            Item.Symbol = std::move(S);
            Item.SourceIndex = Item.SourceIndex2 = Note;
            Item.AttachOffset = TGPPointF(0, Y);
            const int32_t A = B.Attach_AddItem(std::move(Item));
            if (A < 0) break;
            Verse.AttachIndexRange =
                Verse.AttachIndexRange.IsValid()
                    ? TKoRange::FromStartEnd(Verse.AttachIndexRange.StartIndex, A)
                    : TKoRange(A, 1);
            Last = Note;
            Note = B.GetBasicIndexFromHorzLocation(Lyric.RightLocation.ToHorzLocation(), Note);
            if (!B.Basic_IsNote(Note)) break;
        }
        // Every verse of a temporary voice resolves a relative location from its first symbol.
        if (Last >= 0 && !B.IsAttachBranch()) Ref = Last;
    }
}

TrecNuo4NextLyricPos FindNextLyricPos(const TNuo4SimpleBuffer& B, int32_t ANote, bool bFollowSlurs,
                                      bool bSkipRests, bool bSkipAccomp) {
    TrecNuo4NextLyricPos R;
    if (!B.Basic_IsNote(ANote)) return R;
    int32_t End = ANote;
    // Along slurs: the farthest end of the arcs that start here, again from there.
    for (bool bMoved = bFollowSlurs; bMoved;) {
        bMoved = false;
        int32_t Far = End;
        // The per-start table keeps this linear over a score; a buffer whose arcs were not
        // gathered has no table and is searched in full.
        if (B.SlurFarEndArray.size() == size_t(B.Basic_GetCount()))
            Far = std::max(Far, B.SlurFarEndArray[size_t(End)]);
        else
            for (const auto& Arc : B.ArcInfoArray)
                if (!Arc.WithTuplet() && Arc.BasicIndexRange.StartIndex == End)
                    Far = std::max(Far, Arc.BasicIndexRange.EndIndex());
        if (Far > End) {
            End = Far;
            bMoved = true;
        }
    }
    int32_t N = NextNoteAfter(B, End);
    for (bool bChanged = true; bChanged && N >= 0;) {
        bChanged = false;
        while (bSkipAccomp && N >= 0 && InAccompPassage(B, N)) {
            N = NextNoteAfter(B, N);
            bChanged = true;
        }
        while (bSkipRests && N >= 0 && IsRestAt(B, N)) {
            N = NextNoteAfter(B, N);
            bChanged = true;
        }
    }
    if (N < 0) return R;
    R.BasicIndex = N;
    for (int32_t I = ANote + 1; I < N; ++I)
        if (B.Basic_IsNote(I)) ++R.NotesSkipped;
    return R;
}

void TNuo4SimpleBuffer::AdjustLyricsVertPos() {
    if (!FABCBuffer) return;
    const auto& Section = FABCBuffer->Section_Lyrics;
    const int32_t Total = Section.CalcInfo.TotalVerseCount;
    for (auto& L : LineInfoArray) {
        L.LyricVerseBufferIndex_RelocatedCompoundVerse_CompoundToSplit.clear();
        L.LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound.clear();
    }

    // Compound verses to centre, with the direction they are met in: split (separate verses
    // follow) or join (separate verses come before).
    struct TRelocated {
        int32_t Verse;
        bool bSplit, bJoin;
        double Y;  // offset from the first lyric line
    };
    std::vector<TRelocated> Relocated;
    for (int32_t C : Section.CalcInfo.CompoundVerseArray) {
        const auto* CV = VerseAt(*this, C);
        if (!CV || !VerseHasLyrics(*CV) || CV->GetVertInfoPtr()->bLockVertLocation) continue;
        const TKoRange Numbers = CV->GetVertInfoPtr()->GetVerseNumberRange();
        const int32_t First = CV->FromBasicIndex, Last = VerseLastNote(*this, *CV);
        // The separate verses starting first after the compound one, and those ending last
        // before it.
        int32_t SplitAt = -1, JoinAt = -1;
        std::vector<const TrecNuo4ABCParseInfo_Lyrics_Verse*> Others;
        for (int32_t V = 0; V < Section.GetCount(); ++V) {
            const auto* OV = VerseAt(*this, V);
            if (V == C || !OV || !VerseHasLyrics(*OV) || OV->IsCompound() ||
                !Numbers.Contains(OV->GetVertInfoPtr()->VerseNumber))
                continue;
            Others.push_back(OV);
            if (OV->FromBasicIndex > Last && (SplitAt < 0 || OV->FromBasicIndex < SplitAt))
                SplitAt = OV->FromBasicIndex;
            const int32_t OLast = VerseLastNote(*this, *OV);
            if (OLast < First && OLast > JoinAt) JoinAt = OLast;
        }
        bool bLocked = false;
        for (const auto* OV : Others)
            if ((OV->FromBasicIndex == SplitAt || VerseLastNote(*this, *OV) == JoinAt) &&
                OV->GetVertInfoPtr()->bLockVertLocation)
                bLocked = true;
        if (bLocked || (SplitAt < 0 && JoinAt < 0)) continue;
        const auto& Extra = CV->VersePrefix.Value.ExtraInfo;
        Relocated.push_back(
            {C, SplitAt >= 0, JoinAt >= 0,
             Lyric_GetLineSpacing(Extra.FontUsage, Extra.Scale) * (std::max(Total, 1) - 1) / 2.0});
    }

    for (int32_t LI = 0; LI < int32_t(LineInfoArray.size()); ++LI) {
        TrecNuo4LineInfoItem& Line = LineInfoArray[LI];
        const TKoRange R = Line.BasicIndexRange;
        for (int32_t I = R.StartIndex; R.IsNonEmpty() && I <= R.EndIndex(); ++I) {
            Basic_PrefetchAhead(I);
            TNuo4Symbol* S = Basic_GetSymbol(I);
            if (!S || !S->WithLyric()) continue;
            Nuo4PrefetchNextLyrics(AttachBuffer, S);
            const auto& Lyrics = S->BasicInfo().AttachmentsInfo.Lyrics.Get().AttachIndexArray;
            for (int32_t A : Lyrics) {
                TNuo4Symbol* L = Attach_GetSymbol(A);
                TGPPointF& Pos = L->MutAttachInfo().AttachPos;
                const int32_t V = L->CalcInfo.SymbolABCTextInfo.LyricVerseBufIndex();
                const auto It = std::find_if(Relocated.begin(), Relocated.end(),
                                             [V](const TRelocated& X) { return X.Verse == V; });
                if (It != Relocated.end() && Lyrics.size() == 1) {
                    Pos.setY(Line.VertOffset_FirstLyricLine + It->Y);
                    auto Note = [&](std::vector<int32_t>& AList) {
                        if (std::find(AList.begin(), AList.end(), V) == AList.end())
                            AList.push_back(V);
                    };
                    if (It->bSplit)
                        Note(Line.LyricVerseBufferIndex_RelocatedCompoundVerse_CompoundToSplit);
                    if (It->bJoin)
                        Note(Line.LyricVerseBufferIndex_RelocatedCompoundVerse_SplitToCompound);
                } else {
                    Pos.setY(Pos.y() + Line.VertOffset_FirstLyricLine);
                }
            }
            Lyric_UpdateGroupBounds(*this, *S);
        }
    }
}

// ---- Underlines -----------------------------------------------------------------------------

std::vector<TGPRectF> GetLyricUnderlineRects(const TNuo4SimpleBuffer& B, TKoRange ARange) {
    std::vector<TGPRectF> Out;
    if (!B.Basic_CheckIndex(ARange) || !B.GetABCBuffer()) return Out;
    // The verses' lyrics in verse order.
    std::map<int32_t, std::vector<std::pair<int32_t, int32_t>>> Verses;
    for (const int32_t A : B.Attach_GetIndexesOfBasicRange(ARange))
        if (LyricAt(B, A)) {
            const auto& T = B.Attach_GetSymbol(A)->CalcInfo.SymbolABCTextInfo;
            Verses[T.LyricVerseBufIndex()].push_back({T.LyricPos(), A});
        }
    for (auto& [V, Items] : Verses) {
        std::sort(Items.begin(), Items.end());
        std::vector<int32_t> Open;  // per depth: the rectangle a next lyric may continue
        const TNuo4SymbolLyric* Prev = nullptr;
        const TNuo4Symbol* PrevOwner = nullptr;
        int32_t PrevPos = -2;
        for (const auto& [Pos, A] : Items) {
            const TNuo4SymbolLyric* L = LyricAt(B, A);
            const TNuo4Symbol* Owner = B.Basic_GetSymbol(B.Attach_GetBasicIndex(A));
            const bool bJoin = Prev && Pos == PrevPos + 1 &&
                               Prev->Underline_LastCharIsWithUnderline() &&
                               L->Underline_FirstCharIsWithUnderline() &&
                               !PrevOwner->BasicInfo().DV.bAtFullBeat_After &&
                               !Owner->BasicInfo().DV.bAtFullBeat_Before;
            if (!bJoin) Open.clear();
            const auto Ranges = L->Underline_GeConnectRangeInfoArray();
            const auto Rects = Underline_GetRects(Ranges, L->Underline_GetCommonParams());
            const int32_t Last = L->GetPureDataPtr()->GetLyricTextCharCount() - 1;
            std::vector<int32_t> NextOpen;
            for (size_t K = 0; K < Ranges.size(); ++K) {
                const int32_t D = Ranges[K].Deepth;
                const TGPRectF Rect = Rects[K].translated(L->Pos());
                int32_t Index;
                if (Ranges[K].CharIndexRange.StartIndex == 0 && D < int32_t(Open.size()) &&
                    Open[D] >= 0) {
                    Index = Open[D];
                    Out[Index] = Out[Index].united(Rect);
                } else {
                    Index = int32_t(Out.size());
                    Out.push_back(Rect);
                }
                if (Ranges[K].CharIndexRange.EndIndex() == Last) {
                    if (int32_t(NextOpen.size()) <= D) NextOpen.resize(D + 1, -1);
                    NextOpen[D] = Index;
                }
            }
            Open = NextOpen;
            Prev = L;
            PrevOwner = Owner;
            PrevPos = Pos;
        }
    }
    return Out;
}

void Draw_LyricUnderlines(const TNuo4SimpleBuffer& B, TKoGraphics& G, TKoRange ARange,
                          TGPColor AColor) {
    for (const TGPRectF& R : GetLyricUnderlineRects(B, ARange)) G.FillRect(R, AColor);
}

}  // namespace nuo4
