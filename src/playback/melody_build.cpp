#include "playback/melody_build.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "format/pitches.h"
#include "format/symbol_text.h"
#include "layout/layout_system.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"
#include "render/symbol_basic.h"

namespace nuo4 {

namespace {

constexpr int32_t Velocity = 100;
constexpr int32_t DrumChannel = 9;
constexpr int32_t DrumNote = 65;

// The notes last struck in one part: a tie from their symbol to the next note of the part
// prolongs them instead of striking that note again.
struct THeld {
    int32_t From = -1;  // basic index of the symbol they belong to, -1 when none
    int32_t Channel = 0;
    std::vector<uint8_t> Notes;
    double Start = 0;
    double Duration = 0;
    bool bTieable = true;  // a staccato note is cut short and cannot be prolonged
};

class TMelodyWalk {
  public:
    TMelodyWalk(const TNuo4SimpleBuffer& ABuffer, TNuo4Melody& AMelody) : B(ABuffer), M(AMelody) {
        for (const TrecNuo4ArcInfoItem& A : B.ArcInfoArray)
            if (!A.WithTuplet() && A.BasicIndexRange.Length > 1)
                Arcs.push_back({A.BasicIndexRange.StartIndex, A.BasicIndexRange.EndIndex()});
        std::sort(Arcs.begin(), Arcs.end());
    }

    // Walks ARange on APart from AT; returns the end time. Meters come only from the lead
    // part so that every part does not write them again.
    double Walk(TKoRange ARange, int32_t APart, double AT, bool bLeadPart) {
        THeld& H = HeldOf(APart);
        const int32_t Channel = TNuo4Melody::GetMidiChannelFromPartIndex(APart);
        double T = AT;
        for (int32_t I = ARange.StartIndex; I <= ARange.EndIndex(); ++I) {
            const TNuo4Symbol* S = B.Basic_GetSymbol(I);
            if (!S) continue;
            switch (S->GetSymbolType()) {
                case sbstMeter:
                    if (bLeadPart)
                        M.AddTact(T, static_cast<const TNuo4SymbolMeter*>(S)->Rec().Meter.ToTact());
                    break;
                case sbstText:
                    for (const TRecNuo4TextElement& E :
                         static_cast<const TNuo4SymbolText*>(S)->Rec().GetElementArray())
                        if (E.aType == stetTempo && E.GetTempo_BPM() > 0)
                            M.AddTempo(T, E.GetTempo_BPM());
                    break;
                case sbstNote:
                    T = Note(I, *static_cast<const TNuo4SymbolNote*>(S), H, Channel, T);
                    break;
                default:
                    break;
            }
        }
        return T;
    }

    void FlushAll() {
        for (THeld& H : Held) Flush(H);
    }

  private:
    THeld& HeldOf(int32_t APart) {
        if (APart >= int32_t(Held.size())) Held.resize(size_t(APart) + 1);
        return Held[size_t(APart)];
    }
    bool ArcBetween(int32_t AFrom, int32_t ATo) const {
        return std::binary_search(Arcs.begin(), Arcs.end(), std::pair{AFrom, ATo});
    }
    void Flush(THeld& H) {
        if (H.From >= 0) M.AddNotes(H.Start, H.Duration, H.Channel, H.Notes, Velocity, H.From);
        H = THeld();
    }

    double Note(int32_t I, const TNuo4SymbolNote& N, THeld& H, int32_t APartChannel, double T) {
        const double D = std::max(0.0, double(N.BasicInfo().DV.DV));
        const bool bDrum = N.IsDrum();
        const TNuo4MidiNoteList& Midi = N.BasicInfo().MidiNotes;
        // A tie: the same pitches, an arc from the held symbol, and nothing struck between.
        if (H.From >= 0 && H.bTieable && !N.IsRest() && ArcBetween(H.From, I)) {
            const TNuo4SymbolNote* Prev = B.Basic_GetSymbolNote(H.From);
            const bool bSame =
                Prev && (bDrum ? Prev->IsDrum() && N.PitchesIsSame(*Prev)
                               : !Prev->IsDrum() && Prev->BasicInfo().MidiNotes == Midi);
            if (bSame && !N.WithGrace()) {
                H.Duration += D;
                H.From = I;  // a chain goes on from here
                return T + D;
            }
        }
        Flush(H);
        if (N.IsRest()) return T + D;
        const int32_t Channel = bDrum ? DrumChannel : APartChannel;
        if (Channel < 0 || (!bDrum && Midi.empty())) return T + D;

        double At = T, E = D;
        const auto& Grace = N.GetGracePitches();
        if (!bDrum && !Grace.empty() && D > 0) {
            const double Count = double(Grace.size());
            const double Ratio = Count * 0.25 / D;
            // Grace notes never vanish: too many for the note share half of it.
            const double G = Ratio <= 0.5 ? 0.25 : Ratio <= 1.0 ? 0.125 : D * 0.5 / Count;
            for (TNuo4MidiNote G_Note : Pitches_ToMidiNotes(Grace, N.BasicInfo().Key)) {
                if (G_Note > 0 && G_Note < 127) M.AddNote(At, G, Channel, G_Note, Velocity, I);
                At += G;
            }
            E = D - Count * G;
        }
        H.From = I;
        H.Channel = Channel;
        H.Notes =
            bDrum ? std::vector<uint8_t>{DrumNote} : std::vector<uint8_t>(Midi.begin(), Midi.end());
        H.Start = At;
        H.Duration = E;
        H.bTieable = true;
        if (!bDrum) Articulate(N, H, I);
        return T + D;
    }

    // Staccato sounds half the note; a mordent plays the note, its neighbour and the note.
    void Articulate(const TNuo4SymbolNote& N, THeld& H, int32_t I) {
        for (const TrecNuo4ArticulationInfoItem& A : N.ABCAttachmentsInfo.Get().Articulations) {
            if (A.Articulation == mfsaDunYin || A.Articulation == mfsaDunYin2) {
                H.Duration /= 2;
                H.bTieable = false;
                return;
            }
            if ((A.Articulation == mfsaBoYin || A.Articulation == mfsaBoYin2) &&
                H.Notes.size() == 1) {
                const double E = H.Duration;
                const double U = E > 1.01 ? 0.25 : E >= 0.5 ? 0.125 : E * 0.25;
                const TNuo4Digit Dg = N.GetDigit();
                int32_t Step;
                if (A.Articulation == mfsaBoYin)
                    Step = (Dg == Digit3 || Dg == Digit7) ? 1 : 2;
                else  // the lower mordent takes the step below
                    Step = (Dg == Digit1 || Dg == Digit4) ? -1 : -2;
                const int32_t Note = H.Notes.front();
                M.AddNote(H.Start, U, H.Channel, Note, Velocity, I);
                M.AddNote(H.Start + U, U, H.Channel, std::clamp(Note + Step, 0, 127), Velocity, I);
                H.Start += 2 * U;
                H.Duration = E - 2 * U;
                return;
            }
        }
    }

    const TNuo4SimpleBuffer& B;
    TNuo4Melody& M;
    std::vector<std::pair<int32_t, int32_t>> Arcs;
    std::vector<THeld> Held;
};

int32_t FirstNoteAtOrAfter(const TNuo4SimpleBuffer& B, int32_t AFrom, int32_t ALast) {
    for (int32_t I = std::max(0, AFrom); I <= ALast; ++I)
        if (B.Basic_IsNote(I)) return I;
    return -1;
}

// Where the first note of a range sounds: an incomplete first measure (an upbeat) ends on its
// bar line, and a range that starts inside a measure keeps the note's place in it.
double StartOffset(const TNuo4SimpleBuffer& B, int32_t ARangeStart, int32_t AFirstNote) {
    const int32_t MI = B.GetMeasureIndex_FromBasicIndex(AFirstNote);
    if (!B.CheckMeasureIndex(MI)) return 0;
    const TrecNuo4MeasureInfoItem& Measure = B.MeasureInfoArray[size_t(MI)];
    const double L = Measure.Meter.GetFullDV();
    if (L <= 0) return 0;
    double Before = 0;
    for (int32_t I = Measure.BasicIndexRange.StartIndex; I < ARangeStart; ++I)
        if (const TNuo4Symbol* S = B.Basic_GetSymbol(I)) Before += S->BasicInfo().DV.DV;
    const double Offset = (L - Measure.DVSum) + Before;
    return Offset > 0.01 ? Offset : 0;
}

TTact MeterAt(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    const int32_t MI = B.GetMeasureIndex_FromBasicIndex(AIndex);
    if (B.CheckMeasureIndex(MI)) return B.MeasureInfoArray[size_t(MI)].Meter.ToTact();
    return B.GetInitMeter().ToTact();
}

// The line index holding a basic index, -1 when none.
int32_t LineOf(const TNuo4SimpleBuffer& B, int32_t AIndex) {
    for (int32_t L = 0; L < int32_t(B.LineInfoArray.size()); ++L)
        if (B.LineInfoArray[size_t(L)].BasicIndexRange.Contains(AIndex)) return L;
    return -1;
}

}  // namespace

TKoRange Melody_SelectionRange(const TNuo4SimpleBuffer& B) {
    const TrecNuo4Selection& Sel = B.InternalStatus.Selection;
    if (Sel.IsEmpty()) return TKoRange::Invalid();
    const int32_t A = Sel.CaretPos_Start.GetRightPos(), E = Sel.CaretPos_End.GetRightPos();
    const int32_t Lo = std::clamp(std::min(A, E), 0, B.Basic_GetCount());
    const int32_t Hi = std::clamp(std::max(A, E), 0, B.Basic_GetCount());
    if (Hi <= Lo) return TKoRange::Invalid();
    return TKoRange::FromStartEnd(Lo, Hi - 1);
}

bool Melody_MakeBuffer(const TNuo4SimpleBuffer& B, const TrecNuo4Melody_PlayInfo& APlayInfo,
                       TNuo4Melody& AMelody, double ASpeedRatio) {
    AMelody.MidiBuffer().Clear();
    const int32_t Last = B.Basic_GetLast();
    if (Last < 0) return false;
    TKoRange Range = TKoRange::FromStartEnd(0, Last);
    if (APlayInfo.PlayRange == mprFromCaret) {
        const int32_t C = std::clamp(B.InternalStatus.Selection.CaretPos_End.GetEditPos(), 0, Last);
        Range = TKoRange::FromStartEnd(C, Last);
    } else if (APlayInfo.PlayRange == mprSelection) {
        Range = Melody_SelectionRange(B);
        if (!Range.IsNonEmpty()) return false;
    }
    const int32_t FirstNote = FirstNoteAtOrAfter(B, Range.StartIndex, Range.EndIndex());
    if (FirstNote < 0) return false;

    TMidiBufferInitStatus Init = APlayInfo.InitStatus;
    TrecNuo4Meter InitMeter;
    double Tempo = 120;
    B.GetMelodyInfo_FromTitleBlock(InitMeter, Init.Transpose, Tempo);
    Init.Tempo = Tempo;
    Init.Tact = MeterAt(B, FirstNote);
    AMelody.InitBuffer(Init);

    TMelodyWalk Walk(B, AMelody);
    double T = StartOffset(B, Range.StartIndex, FirstNote);
    if (!IsMultiParts(B.SystemLineInfoArray)) {
        // The repeat information belongs to this build alone.
        const std::vector<TKoRange> Order =
            ClipPlayOrder(GetRepeatInfo(B).PlayOrder(Last), Range.StartIndex, Range.EndIndex());
        for (const TKoRange& P : Order) {
            T = Walk.Walk(P, 0, T, true);
            if (AMelody.MidiBuffer().Capped()) break;
        }
    } else {
        // System lines from the one of the range start to the one of its end; consecutive
        // single-part lines play as one stretch, with their repeats.
        const int32_t L0 = LineOf(B, Range.StartIndex), L1 = LineOf(B, Range.EndIndex());
        std::optional<TKoRange> Single;
        auto PlaySingle = [&] {
            if (!Single) return;
            for (const TKoRange& P : ClipPlayOrder(GetRepeatInfo(B).PlayOrder(Last),
                                                   Single->StartIndex, Single->EndIndex()))
                T = Walk.Walk(P, 0, T, true);
            Single.reset();
        };
        for (const TrecNuo4SystemLineInfoItem& S : B.SystemLineInfoArray) {
            const TKoRange Lines = S.LineIndexRange;
            if (!Lines.IsNonEmpty() || Lines.EndIndex() < L0 || (L1 >= 0 && Lines.StartIndex > L1))
                continue;
            if (S.AttachIndex_Brace < 0) {
                for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L) {
                    TKoRange R = B.LineInfoArray[size_t(L)].BasicIndexRange;
                    const int32_t Lo = std::max(R.StartIndex, Range.StartIndex);
                    const int32_t Hi = std::min(R.EndIndex(), Range.EndIndex());
                    if (Hi < Lo) continue;
                    Single = Single ? TKoRange::FromStartEnd(Single->StartIndex, Hi)
                                    : TKoRange::FromStartEnd(Lo, Hi);
                }
                continue;
            }
            PlaySingle();
            // Every part of the line starts together; the line ends with its longest part.
            double End = T;
            for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L) {
                const int32_t Part = L - Lines.StartIndex;
                if (TNuo4Melody::GetMidiChannelFromPartIndex(Part) < 0) continue;
                End = std::max(
                    End, Walk.Walk(B.LineInfoArray[size_t(L)].BasicIndexRange, Part, T, Part == 0));
            }
            T = End;
            if (AMelody.MidiBuffer().Capped()) break;
        }
        PlaySingle();
    }
    Walk.FlushAll();
    AMelody.UpdateBuffer(ASpeedRatio);
    if (AMelody.MidiBuffer().FullEmpty()) {
        AMelody.MidiBuffer().Clear();
        return false;
    }
    return true;
}

}  // namespace nuo4
