// MIDI notes of every note: the key in force (initial key, then key changes written as
// special texts) and accidentals remembered within a measure.

#include "format/attach_symbols.h"
#include "layout/layout_rules.h"
#include "layout/simple_buffer.h"
#include "render/note_symbol.h"

namespace nuo4 {

bool Nuo4AttachTextKeyChange(TText AText_ABC, int32_t& AKey) {
    static constexpr char16_t Zhuan = u'\u8F6C';  // "转" opens a written key change
    size_t P = AText_ABC.find_first_not_of(u' ');
    if (P == TText::npos || AText_ABC[P] != Zhuan) return false;
    for (size_t Open = AText_ABC.find(u'{', P); Open != TText::npos;
         Open = AText_ABC.find(u'{', Open + 1)) {
        const size_t Close = AText_ABC.find(u'}', Open);
        if (Close == TText::npos) return false;
        const TKoRange Inner = TKoRange::FromStartEnd(int32_t(Open + 1), int32_t(Close) - 1);
        // Only a group that names a key ("1=D") changes it; a group of meters does not.
        if (Inner.Length < 3 || AText_ABC.substr(Open + 1, 2) != u"1=") continue;
        TrecNuo4KeyAndMeters KM;
        int32_t End = -1;
        if (ReadKeyAndMeters(AText_ABC, Inner, KM, End) && KM.Key.IsValid()) {
            AKey = KM.Key.ToKey12();
            return true;
        }
    }
    return false;
}

bool TNuo4SimpleBuffer::Basic_InSinglePartSystemLine(int32_t ABasicIndex) const {
    // Without system lines every line stands alone.
    if (SystemLineInfoArray.empty()) return true;
    int32_t Line = -1;
    for (int32_t L = 0; L < int32_t(LineInfoArray.size()); ++L)
        if (LineInfoArray[L].BasicIndexRange.Contains(ABasicIndex)) {
            Line = L;
            break;
        }
    if (Line < 0) return true;
    for (const TrecNuo4SystemLineInfoItem& S : SystemLineInfoArray)
        if (S.LineIndexRange.Contains(Line)) return S.AttachIndex_Brace < 0;
    return true;
}

std::vector<TrecNuo4KeyChange> TNuo4SimpleBuffer::GetKeyChangeArray() const {
    std::vector<TrecNuo4KeyChange> Keys{{0, GetInitKey()}};
    for (int32_t A = 0; A < Attach_GetCount(); ++A) {
        if (!Attach_IsAttachText(A)) continue;
        const auto* Rec =
            static_cast<const TrecNuo4SymbolAttachText*>(Attach_GetSymbol(A)->GetSymbolRecPtr());
        int32_t Key = 0;
        const int32_t Owner = Attach_GetBasicIndex(A);
        if (Rec && Nuo4AttachTextKeyChange(Rec->Text_ABC, Key) &&
            Basic_InSinglePartSystemLine(Owner))
            Keys.push_back({Owner, Key});
    }
    return Keys;
}

void TNuo4SimpleBuffer::UpdateMidiNotes() {
    std::vector<TrecNuo4MidiSymbol> Symbols(Basic_GetCount());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        if (const TNuo4SymbolNote* N = Basic_GetSymbolNote(I)) {
            Symbols[I].bNote = true;
            Symbols[I].Pitches = N->GetPitches();
        }
    }
    const std::vector<TrecNuo4MidiResult> R =
        Nuo4CalcMidiNotes(Symbols, MeasureInfoArray, GetKeyChangeArray());
    for (int32_t I = 0; I < Basic_GetCount(); ++I) {
        Basic_PrefetchAhead(I);
        TrecNuo4BasicCalcInfo& C = Basic_GetSymbol(I)->MutBasicInfo();
        C.MidiNotes = R[I].MidiNotes;
        C.Key = int8_t(R[I].Key);
    }
}

}  // namespace nuo4
