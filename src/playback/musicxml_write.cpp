#include "playback/musicxml_write.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "format/pitches.h"
#include "format/section_title.h"
#include "format/symbol_text.h"
#include "layout/layout_system.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"
#include "render/symbol_basic.h"
#include "render/symbol_lyric.h"

namespace nuo4 {

namespace {

constexpr int32_t Divisions = 480;

std::string Utf8(const std::u16string& S) {
    std::string R;
    for (size_t I = 0; I < S.size(); ++I) {
        uint32_t C = S[I];
        if (C >= 0xD800 && C < 0xDC00 && I + 1 < S.size() && S[I + 1] >= 0xDC00 &&
            S[I + 1] < 0xE000)
            C = 0x10000 + ((C - 0xD800) << 10) + (S[++I] - 0xDC00);
        else if (C >= 0xD800 && C < 0xE000)
            C = 0xFFFD;
        if (C < 0x20 && C != 9 && C != 10) continue;  // not allowed in XML
        if (C < 0x80) {
            R += char(C);
        } else if (C < 0x800) {
            R += char(0xC0 | (C >> 6));
            R += char(0x80 | (C & 0x3F));
        } else if (C < 0x10000) {
            R += char(0xE0 | (C >> 12));
            R += char(0x80 | ((C >> 6) & 0x3F));
            R += char(0x80 | (C & 0x3F));
        } else {
            R += char(0xF0 | (C >> 18));
            R += char(0x80 | ((C >> 12) & 0x3F));
            R += char(0x80 | ((C >> 6) & 0x3F));
            R += char(0x80 | (C & 0x3F));
        }
    }
    return R;
}

std::string Esc(const std::string& S) {
    std::string R;
    for (char C : S) switch (C) {
            case '&':
                R += "&amp;";
                break;
            case '<':
                R += "&lt;";
                break;
            case '>':
                R += "&gt;";
                break;
            case '"':
                R += "&quot;";
                break;
            default:
                R += C;
        }
    return R;
}

// Sharps (positive) or flats of the key whose tonic lies ASemitones above C.
int32_t KeyFifths(int32_t ASemitones) {
    static constexpr int32_t Fifths[12] = {0, -5, 2, -3, 4, -1, 6, 1, -4, 3, -2, 5};
    return Fifths[((ASemitones % 12) + 12) % 12];
}

struct TSpelled {
    char Step = 'C';
    int32_t Alter = 0;
    int32_t Octave = 4;
};

// A MIDI note spelled with sharps in sharp keys and flats in flat keys.
TSpelled Spell(int32_t AMidi, bool bFlats) {
    static constexpr char SharpSteps[12] = {'C', 'C', 'D', 'D', 'E', 'F',
                                            'F', 'G', 'G', 'A', 'A', 'B'};
    static constexpr int32_t SharpAlters[12] = {0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 1, 0};
    static constexpr char FlatSteps[12] = {'C', 'D', 'D', 'E', 'E', 'F',
                                           'G', 'G', 'A', 'A', 'B', 'B'};
    static constexpr int32_t FlatAlters[12] = {0, -1, 0, -1, 0, 0, -1, 0, -1, 0, -1, 0};
    const int32_t Pc = ((AMidi % 12) + 12) % 12;
    TSpelled S;
    S.Step = bFlats ? FlatSteps[Pc] : SharpSteps[Pc];
    S.Alter = bFlats ? FlatAlters[Pc] : SharpAlters[Pc];
    S.Octave = AMidi / 12 - 1;
    return S;
}

// The written note value: type and dots of a duration in quarter notes.
void TypeAndDots(double ABeats, std::string& AType, int32_t& ADots) {
    static const std::pair<double, const char*> Types[] = {
        {8, "breve"},   {4, "whole"},    {2, "half"},      {1, "quarter"},    {0.5, "eighth"},
        {0.25, "16th"}, {0.125, "32nd"}, {0.0625, "64th"}, {0.03125, "128th"}};
    AType = "quarter";
    ADots = 0;
    for (const auto& [Base, Name] : Types)
        if (ABeats >= Base - 1e-6) {
            AType = Name;
            double Rest = ABeats - Base, Add = Base / 2;
            while (Rest >= Add - 1e-6 && ADots < 3 && Add > 0.01) {
                Rest -= Add;
                Add /= 2;
                ++ADots;
            }
            return;
        }
    AType = "128th";
}

struct TArcMarks {
    std::vector<int32_t> TieStart, TieStop, SlurStart, SlurStop, TupletStart, TupletStop;
    int32_t TupletActual = 0;  // of the tuplet the note lies in
};

class TWriter {
  public:
    explicit TWriter(const TNuo4SimpleBuffer& ABuffer) : B(ABuffer) {
        TrecNuo4Meter Meter;
        double Tempo = 120;
        B.GetMelodyInfo_FromTitleBlock(Meter, Key, Tempo);
        InitMeter = Meter;
        InitTempo = Tempo;
        Fifths = KeyFifths(Key);
        CollectArcs();
        CollectLyrics();
        CollectVoltas();
    }

    std::string Write(TrecNuo4MusicXmlStats* AStats) {
        const std::vector<std::vector<TMeasure>> Parts = CollectParts();
        std::string X =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
            "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 4.0 Partwise//EN\" "
            "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
            "<score-partwise version=\"4.0\">\n";
        const std::string Title = TitleText(tbitTitle);
        if (!Title.empty()) X += "  <work><work-title>" + Esc(Title) + "</work-title></work>\n";
        X += "  <identification>\n";
        if (const std::string By = TitleText(tbitWordsByAndMusicBy); !By.empty())
            X += "    <creator type=\"composer\">" + Esc(By) + "</creator>\n";
        X += "    <encoding><software>Nuo4</software></encoding>\n  </identification>\n";
        X += "  <part-list>\n";
        for (size_t P = 0; P < Parts.size(); ++P)
            X += "    <score-part id=\"P" + std::to_string(P + 1) + "\"><part-name>" +
                 (Parts.size() == 1 ? std::string("Melody") : "Part " + std::to_string(P + 1)) +
                 "</part-name></score-part>\n";
        X += "  </part-list>\n";
        for (size_t P = 0; P < Parts.size(); ++P) {
            X += "  <part id=\"P" + std::to_string(P + 1) + "\">\n";
            WritePart(X, Parts[P], P == 0);
            X += "  </part>\n";
        }
        X += "</score-partwise>\n";
        if (AStats) {
            AStats->Parts = int32_t(Parts.size());
            AStats->Measures = Parts.empty() ? 0 : int32_t(Parts[0].size());
            AStats->StruckNotes = Struck;
        }
        return X;
    }

  private:
    // A measure of a part: a basic range, or a rest of ABeats where the part has no line.
    struct TMeasure {
        int32_t MeasureIndex = -1;  // -1 for a rest
        double RestBeats = 0;
    };

    std::string TitleText(TNuo4SectionTitleItemType AType) const {
        if (!B.GetABCBuffer()) return std::string();
        return Utf8(B.GetABCBuffer()->Section_Title.Buffer.GetText(AType));
    }

    void CollectArcs() {
        for (const TrecNuo4ArcInfoItem& A : B.ArcInfoArray) {
            const TKoRange R = A.BasicIndexRange;
            if (R.Length < 1) continue;
            const int32_t S = R.StartIndex, E = R.EndIndex();
            if (A.WithTuplet()) {
                Marks[S].TupletStart.push_back(A.ABCInfo.TupletNumber);
                Marks[E].TupletStop.push_back(A.ABCInfo.TupletNumber);
                for (int32_t I = S; I <= E; ++I) Marks[I].TupletActual = A.ABCInfo.TupletNumber;
                continue;
            }
            if (R.Length < 2) continue;
            const TNuo4SymbolNote* N1 = B.Basic_GetSymbolNote(S);
            const TNuo4SymbolNote* N2 = B.Basic_GetSymbolNote(E);
            if (!N1 || !N2) continue;
            // A tie binds equal pitches; any other arc is a slur.
            const bool bTie = A.bTie && !N1->IsRest() && !N2->IsRest() && !N2->WithGrace() &&
                              N1->BasicInfo().MidiNotes == N2->BasicInfo().MidiNotes;
            (bTie ? Marks[S].TieStart : Marks[S].SlurStart).push_back(1);
            (bTie ? Marks[E].TieStop : Marks[E].SlurStop).push_back(1);
        }
    }

    void CollectLyrics() {
        for (int32_t A = 0; A < B.Attach_GetCount(); ++A) {
            if (!B.Attach_IsLyric(A)) continue;
            const auto* L = static_cast<const TNuo4SymbolLyric*>(B.Attach_GetSymbol(A));
            const int32_t Owner = B.Attach_GetBasicIndex(A);
            if (!L || Owner < 0) continue;
            Lyrics[Owner].push_back(Utf8(L->GetPureDataPtr()->GetLyricText()));
        }
    }

    void CollectVoltas() {
        for (const TrecNuo4FangZiInfoItem& F : B.FangZiInfoArray) {
            if (!F.MeasureIndexRange.IsNonEmpty()) continue;
            // The ending's numbers: the digits of its label ("1.2." gives "1, 2").
            std::string Numbers, Digits;
            auto Flush = [&] {
                if (Digits.empty() || Digits == "0") return Digits.clear();
                if (!Numbers.empty()) Numbers += ", ";
                Numbers += Digits;
                Digits.clear();
            };
            for (char16_t C : F.Text_ABC) {
                if (C >= u'0' && C <= u'9' && !(Digits.empty() && C == u'0'))
                    Digits += char(C);
                else
                    Flush();
            }
            Flush();
            if (Numbers.empty()) Numbers = std::to_string(VoltaStart.size() + 1);
            VoltaStart[F.MeasureIndexRange.StartIndex] = Numbers;
            VoltaEnd[F.MeasureIndexRange.EndIndex()] = Numbers;
        }
    }

    double MeasureBeats(int32_t AMeasure) const {
        const TrecNuo4MeasureInfoItem& M = B.MeasureInfoArray[size_t(AMeasure)];
        return M.DVSum > 0 ? M.DVSum : M.Meter.GetFullDV();
    }

    std::vector<int32_t> MeasuresOfLine(int32_t ALine) const {
        std::vector<int32_t> R;
        const TKoRange M = B.LineInfoArray[size_t(ALine)].MeasureIndexRange;
        for (int32_t I = M.StartIndex; M.IsNonEmpty() && I <= M.EndIndex(); ++I) R.push_back(I);
        return R;
    }

    std::vector<std::vector<TMeasure>> CollectParts() const {
        int32_t Count = 1;
        for (const TrecNuo4SystemLineInfoItem& S : B.SystemLineInfoArray)
            if (S.AttachIndex_Brace >= 0 && S.LineIndexRange.IsNonEmpty())
                Count = std::max(Count, S.LineIndexRange.Length);
        std::vector<std::vector<TMeasure>> Parts{size_t(Count)};
        auto Lead = [&](int32_t AMeasure) {
            Parts[0].push_back({AMeasure, 0});
            for (int32_t P = 1; P < Count; ++P)
                Parts[size_t(P)].push_back({-1, MeasureBeats(AMeasure)});
        };
        if (B.SystemLineInfoArray.empty() || !IsMultiParts(B.SystemLineInfoArray)) {
            for (int32_t M = 0; M < int32_t(B.MeasureInfoArray.size()); ++M) Lead(M);
            return Parts;
        }
        for (const TrecNuo4SystemLineInfoItem& S : B.SystemLineInfoArray) {
            const TKoRange Lines = S.LineIndexRange;
            if (!Lines.IsNonEmpty()) continue;
            if (S.AttachIndex_Brace < 0) {
                for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L)
                    for (int32_t M : MeasuresOfLine(L)) Lead(M);
                continue;
            }
            std::vector<std::vector<int32_t>> Of;
            size_t Most = 0;
            for (int32_t L = Lines.StartIndex; L <= Lines.EndIndex(); ++L) {
                Of.push_back(MeasuresOfLine(L));
                Most = std::max(Most, Of.back().size());
            }
            for (size_t K = 0; K < Most; ++K) {
                double Beats = 0;
                for (const auto& Ms : Of)
                    if (K < Ms.size()) Beats = std::max(Beats, MeasureBeats(Ms[K]));
                for (int32_t P = 0; P < Count; ++P) {
                    const bool bHas = size_t(P) < Of.size() && K < Of[size_t(P)].size();
                    Parts[size_t(P)].push_back(bHas ? TMeasure{Of[size_t(P)][K], 0}
                                                    : TMeasure{-1, Beats});
                }
            }
        }
        return Parts;
    }

    static std::string TimeXml(const TrecNuo4Meter& M) {
        if (M.FenZi <= 0 || M.FenMu <= 0) return "<time><senza-misura/></time>";
        return "<time><beats>" + std::to_string(M.FenZi) + "</beats><beat-type>" +
               std::to_string(M.FenMu) + "</beat-type></time>";
    }

    static std::string Tempo(double ABpm) {
        char S[32];
        std::snprintf(S, sizeof S, "%g", ABpm);
        return "      <direction placement=\"above\"><direction-type><metronome><beat-unit>quarter"
               "</beat-unit><per-minute>" +
               std::string(S) + "</per-minute></metronome></direction-type><sound tempo=\"" + S +
               "\"/></direction>\n";
    }

    static const char* BarStyle(TNuo4BarlineStyle S) {
        switch (S) {
            case blsFinal:
                return "light-heavy";
            case blsDouble:
                return "light-light";
            case blsDashed:
                return "dashed";
            case blsInvisible:
                return "none";
            case blsRepeatEnd:
            case blsRepeatBoth:
                return "light-heavy";
            case blsRepeatStart:
                return "heavy-light";
            default:
                return "regular";
        }
    }

    const TNuo4SymbolBarline* BarlineAt(int32_t I) const {
        const TNuo4Symbol* S = B.Basic_GetSymbol(I);
        return S && S->GetSymbolType() == sbstBarline ? static_cast<const TNuo4SymbolBarline*>(S)
                                                      : nullptr;
    }

    void WritePart(std::string& X, const std::vector<TMeasure>& AMeasures, bool bLead) {
        bool bForwardNext = false;
        OpenSlurs.clear();
        for (size_t K = 0; K < AMeasures.size(); ++K) {
            const TMeasure& M = AMeasures[K];
            X += "    <measure number=\"" + std::to_string(K + 1) + "\">\n";
            if (K == 0) {
                X += "      <attributes><divisions>" + std::to_string(Divisions) +
                     "</divisions><key><fifths>" + std::to_string(Fifths) + "</fifths></key>" +
                     TimeXml(InitMeter) +
                     "<clef><sign>G</sign><line>2</line></clef></attributes>\n";
                if (bLead) X += Tempo(InitTempo);
            }
            if (M.MeasureIndex < 0) {
                X += "      <note><rest measure=\"yes\"/><duration>" +
                     std::to_string(std::max(1L, std::lround(M.RestBeats * Divisions))) +
                     "</duration><voice>1</voice></note>\n";
                bForwardNext = false;
                X += "    </measure>\n";
                continue;
            }
            const TKoRange R = B.MeasureInfoArray[size_t(M.MeasureIndex)].BasicIndexRange;
            // The left bar line: a start-repeat before the measure, a volta's start.
            bool bForward = bForwardNext;
            bForwardNext = false;
            const TNuo4SymbolBarline* First = BarlineAt(R.StartIndex);
            if (First && R.Length > 1 &&
                (First->IsLeftRepeat() || First->Rec().BarlineStyle == blsRepeatBoth))
                bForward = true;
            const auto Start = VoltaStart.find(M.MeasureIndex);
            if (bForward || Start != VoltaStart.end()) {
                X += "      <barline location=\"left\">";
                if (bForward) X += "<bar-style>heavy-light</bar-style>";
                if (Start != VoltaStart.end())
                    X += "<ending number=\"" + Start->second + "\" type=\"start\"/>";
                if (bForward) X += "<repeat direction=\"forward\"/>";
                X += "</barline>\n";
            }
            for (int32_t I = R.StartIndex; I <= R.EndIndex(); ++I)
                WriteSymbol(X, I, K == 0 && I == R.StartIndex);
            // The right bar line.
            const TNuo4SymbolBarline* Last = BarlineAt(R.EndIndex());
            const TNuo4BarlineStyle Style = Last ? Last->Rec().BarlineStyle : blsNormal;
            const bool bBackward = Last && (Style == blsRepeatEnd || Style == blsRepeatBoth);
            if (Last && (Style == blsRepeatStart || Style == blsRepeatBoth) &&
                !(Last == First && R.Length == 1))
                bForwardNext = true;
            const auto End = VoltaEnd.find(M.MeasureIndex);
            const bool bStyled = Last && Style != blsNormal && Style != blsRepeatStart;
            if (bStyled || bBackward || End != VoltaEnd.end()) {
                X += "      <barline location=\"right\">";
                if (bStyled) X += std::string("<bar-style>") + BarStyle(Style) + "</bar-style>";
                if (End != VoltaEnd.end())
                    X += "<ending number=\"" + End->second + "\" type=\"" +
                         (bBackward ? "stop" : "discontinue") + "\"/>";
                if (bBackward) X += "<repeat direction=\"backward\"/>";
                X += "</barline>\n";
            }
            X += "    </measure>\n";
        }
    }

    void WriteSymbol(std::string& X, int32_t I, bool bFirstOfScore) {
        const TNuo4Symbol* S = B.Basic_GetSymbol(I);
        if (!S) return;
        switch (S->GetSymbolType()) {
            case sbstMeter:
                if (!bFirstOfScore)
                    X += "      <attributes>" +
                         TimeXml(static_cast<const TNuo4SymbolMeter*>(S)->Rec().Meter) +
                         "</attributes>\n";
                break;
            case sbstText:
                for (const TRecNuo4TextElement& E :
                     static_cast<const TNuo4SymbolText*>(S)->Rec().GetElementArray())
                    if (E.aType == stetTempo && E.GetTempo_BPM() > 0) X += Tempo(E.GetTempo_BPM());
                break;
            case sbstNote:
                WriteNote(X, I, *static_cast<const TNuo4SymbolNote*>(S));
                break;
            default:
                break;
        }
    }

    void WritePitch(std::string& X, int32_t AMidi) const {
        const TSpelled P = Spell(AMidi, Fifths < 0);
        X += std::string("<pitch><step>") + P.Step + "</step>";
        if (P.Alter) X += "<alter>" + std::to_string(P.Alter) + "</alter>";
        X += "<octave>" + std::to_string(std::clamp(P.Octave, 0, 9)) + "</octave></pitch>";
    }

    void WriteNote(std::string& X, int32_t I, const TNuo4SymbolNote& N) {
        const double D = std::max(0.0, double(N.BasicInfo().DV.DV));
        const int32_t Dur = int32_t(std::lround(D * Divisions));
        if (Dur <= 0) return;
        const TArcMarks& A = Marks[I];
        const bool bDrum = N.IsDrum();
        // Grace notes before their note.
        if (!bDrum && !N.IsRest())
            for (TNuo4MidiNote G : Pitches_ToMidiNotes(N.GetGracePitches(), N.BasicInfo().Key)) {
                if (G <= 0 || G >= 127) continue;
                X += "      <note><grace slash=\"yes\"/>";
                WritePitch(X, G);
                X += "<voice>1</voice><type>16th</type></note>\n";
                ++Struck;
            }
        std::vector<int32_t> Pitches;
        if (!N.IsRest() && !bDrum)
            for (uint8_t M : N.BasicInfo().MidiNotes) Pitches.push_back(M);
        const bool bRest = N.IsRest() || (!bDrum && Pitches.empty());
        if (bRest || bDrum) Pitches = {-1};
        const double Written = Duration_Beats(N.SymbolRec.GetDuration());
        std::string Type;
        int32_t Dots = 0;
        TypeAndDots(Written, Type, Dots);
        const bool bTuplet = A.TupletActual > 0 && Written > 0;
        const int32_t Normal =
            bTuplet ? std::max(1, int32_t(std::lround(A.TupletActual * D / Written))) : 0;
        const bool bTieStop = !A.TieStop.empty(), bTieStart = !A.TieStart.empty();
        const std::vector<std::string>* Words = nullptr;
        if (const auto It = Lyrics.find(I); It != Lyrics.end()) Words = &It->second;
        for (size_t K = 0; K < Pitches.size(); ++K) {
            X += "      <note>";
            if (K > 0) X += "<chord/>";
            if (bRest)
                X += "<rest/>";
            else if (bDrum)
                X += "<unpitched><display-step>C</display-step><display-octave>5</display-octave>"
                     "</unpitched>";
            else
                WritePitch(X, Pitches[K]);
            X += "<duration>" + std::to_string(Dur) + "</duration>";
            if (!bRest && bTieStop) X += "<tie type=\"stop\"/>";
            if (!bRest && bTieStart) X += "<tie type=\"start\"/>";
            X += "<voice>1</voice><type>" + Type + "</type>";
            for (int32_t Dt = 0; Dt < Dots; ++Dt) X += "<dot/>";
            if (bTuplet && Normal != A.TupletActual)
                X += "<time-modification><actual-notes>" + std::to_string(A.TupletActual) +
                     "</actual-notes><normal-notes>" + std::to_string(Normal) +
                     "</normal-notes></time-modification>";
            if (bDrum) X += "<notehead>x</notehead>";
            std::string Notations;
            if (!bRest && bTieStop) Notations += "<tied type=\"stop\"/>";
            if (!bRest && bTieStart) Notations += "<tied type=\"start\"/>";
            if (K == 0) {
                // Slurs nest, so a stop closes the latest open slur. Numbers are the nesting
                // depth, 1 to 16 as the format allows; deeper slurs and a stop without a start
                // are left out rather than numbered out of range.
                for (size_t J = 0; J < A.SlurStop.size() && !OpenSlurs.empty(); ++J) {
                    if (OpenSlurs.back() > 0)
                        Notations += "<slur type=\"stop\" number=\"" +
                                     std::to_string(OpenSlurs.back()) + "\"/>";
                    OpenSlurs.pop_back();
                }
                for (size_t J = 0; J < A.SlurStart.size(); ++J) {
                    const int32_t Number =
                        OpenSlurs.size() < MaxSlurNumber ? int32_t(OpenSlurs.size()) + 1 : 0;
                    if (Number > 0)
                        Notations +=
                            "<slur type=\"start\" number=\"" + std::to_string(Number) + "\"/>";
                    OpenSlurs.push_back(Number);
                }
                if (!A.TupletStart.empty()) Notations += "<tuplet type=\"start\"/>";
                if (!A.TupletStop.empty()) Notations += "<tuplet type=\"stop\"/>";
            }
            if (!Notations.empty()) X += "<notations>" + Notations + "</notations>";
            if (K == 0 && Words && !bRest)
                for (size_t V = 0; V < Words->size(); ++V)
                    if (!(*Words)[V].empty())
                        X += "<lyric number=\"" + std::to_string(V + 1) +
                             "\"><syllabic>single</syllabic><text>" + Esc((*Words)[V]) +
                             "</text></lyric>";
            X += "</note>\n";
            if (!bRest && !bTieStop) ++Struck;
        }
    }

    const TNuo4SimpleBuffer& B;
    static constexpr size_t MaxSlurNumber = 16;
    int32_t Key = 0, Fifths = 0, Struck = 0;
    std::vector<int32_t> OpenSlurs;  // numbers of the open slurs, 0 for one left out
    TrecNuo4Meter InitMeter;
    double InitTempo = 120;
    std::map<int32_t, TArcMarks> Marks;
    std::map<int32_t, std::vector<std::string>> Lyrics;
    std::map<int32_t, std::string> VoltaStart, VoltaEnd;
};

}  // namespace

std::string Nuo4MusicXml_Write(const TNuo4SimpleBuffer& B, TrecNuo4MusicXmlStats* AStats) {
    return TWriter(B).Write(AStats);
}

}  // namespace nuo4
