#include "playback/metronome.h"

#include <algorithm>

namespace nuo4 {

namespace {

double BeatLength_4th(TTact T) {
    return T.FenZi > 0 && T.FenMu > 0 ? 4.0 / T.FenMu : 1.0;
}
int32_t BeatsPerMeasure(TTact T) {
    return T.FenZi > 0 && T.FenMu > 0 ? T.FenZi : 1;
}

}  // namespace

std::vector<TrecNuo4MetronomeBeat> Metronome_Beats(const TMidiBuffer& ABuffer, double AUntil_4th) {
    // The meters in time order; at one time the last one wins.
    std::vector<std::pair<double, TTact>> Meters{{0.0, ABuffer.InitStatus().Tact}};
    for (const TMidiMetaEvent& E : ABuffer.MetaEvents()) {
        if (E.Kind != mmkTact) continue;
        if (E.AtTime_4th <= Meters.back().first + 1e-9)
            Meters.back().second = E.Tact;
        else
            Meters.push_back({E.AtTime_4th, E.Tact});
    }
    std::vector<TrecNuo4MetronomeBeat> R;
    int32_t Measure = 0;
    for (size_t M = 0; M < Meters.size(); ++M) {
        const double From = Meters[M].first;
        const double To = M + 1 < Meters.size() ? Meters[M + 1].first : AUntil_4th;
        const TTact Tact = Meters[M].second;
        const double Len = BeatLength_4th(Tact);
        const int32_t PerMeasure = BeatsPerMeasure(Tact);
        int32_t Beat = 0;
        // Beats by index, so that a long stretch does not gather rounding.
        for (int64_t K = 0;; ++K) {
            const double At = From + double(K) * Len;
            if (At >= To - 1e-9 || R.size() >= Nuo4MetronomeBeatCap) break;
            R.push_back({At, ABuffer.ConvertAtTime_4th_To_ms(At), Measure, Beat, Tact});
            if (++Beat == PerMeasure) {
                Beat = 0;
                ++Measure;
            }
        }
        // A meter change inside a measure still starts a new one.
        if (Beat != 0) ++Measure;
        if (From >= AUntil_4th) break;
    }
    return R;
}

std::vector<TMidiEventType> Metronome_Events(const std::vector<TrecNuo4MetronomeBeat>& ABeats,
                                             const TMetronomeNoteParam& P) {
    std::vector<TMidiEventType> On, Off;
    On.reserve(ABeats.size());
    Off.reserve(ABeats.size());
    for (size_t I = 0; I < ABeats.size(); ++I) {
        const TrecNuo4MetronomeBeat& B = ABeats[I];
        const bool bFirst = B.Beat == 0;
        TMidiEventType E;
        E.AtTime_4th = B.AtTime_4th;
        E.time = B.time;
        E.Kind = mekNoteOn;
        E.Channel = P.Channel & 15;
        E.Data1 = bFirst ? P.FirstNote_NoteIndex : P.OtherNote_NoteIndex;
        E.Data2 = bFirst ? P.FirstNote_Velocity : P.OtherNote_Velocity;
        E.MetronomeBeat = int32_t(I);
        On.push_back(E);
        // The click ends after its length, but never after the next click begins.
        double End = B.time + (bFirst ? P.FirstNote_Duration : P.OtherNote_Duration);
        if (I + 1 < ABeats.size()) End = std::min(End, ABeats[I + 1].time);
        E.Kind = mekNoteOff;
        E.time = std::max(End, B.time);
        E.Data2 = 0;
        Off.push_back(E);
    }
    return Metronome_MergeEvents(On, Off);
}

std::vector<TMidiEventType> Metronome_MergeEvents(const std::vector<TMidiEventType>& A,
                                                  const std::vector<TMidiEventType>& B) {
    std::vector<TMidiEventType> R;
    R.reserve(A.size() + B.size());
    std::merge(A.begin(), A.end(), B.begin(), B.end(), std::back_inserter(R),
               [](const TMidiEventType& X, const TMidiEventType& Y) {
                   return X.time < Y.time || (X.time == Y.time && X.Kind < Y.Kind);
               });
    return R;
}

double Metronome_MeasureAt(const std::vector<TrecNuo4MetronomeBeat>& ABeats, double ATime_ms,
                           TTact* ATact) {
    if (ABeats.empty() || ATime_ms < ABeats.front().time) {
        if (ATact && !ABeats.empty()) *ATact = ABeats.front().Tact;
        return 0;
    }
    auto It = std::upper_bound(ABeats.begin(), ABeats.end(), ATime_ms,
                               [](double T, const TrecNuo4MetronomeBeat& B) { return T < B.time; });
    const TrecNuo4MetronomeBeat& B = *(It - 1);
    if (ATact) *ATact = B.Tact;
    double Frac = 0;
    if (It != ABeats.end() && It->time > B.time)
        Frac = std::min(1.0, (ATime_ms - B.time) / (It->time - B.time));
    return B.Measure + (B.Beat + Frac) / BeatsPerMeasure(B.Tact);
}

}  // namespace nuo4
