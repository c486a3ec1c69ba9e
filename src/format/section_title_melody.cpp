// The title buffer's initial key, meter and tempo: read from and written into
// the key-and-meters and expression texts, which are standard texts
// ("{1=D}{3/4}", "稍快 {J=96}").

#include "format/section_title.h"
#include "format/symbol_text.h"
#include "format/text_element.h"

namespace nuo4 {

namespace {

TKoRange WholeText(TText S) {
    return TKoRange(0, static_cast<int32_t>(S.size()));
}

}  // namespace

TrecNuo4Meter TrecNuo4SectionTitleBuffer::GetInitMeter() const {
    for (const auto& E : GetElementArray_FromABCText(ABCTextArray[tbitKeyAndMeters])) {
        TrecNuo4KeyAndMeters KM;
        if (E.IsKeyAndMeters(KM) && !KM.Meters.empty()) return KM.Meters.front();
    }
    return TrecNuo4Meter();
}

int32_t TrecNuo4SectionTitleBuffer::GetInitKey() const {
    for (const auto& E : GetElementArray_FromABCText(ABCTextArray[tbitKeyAndMeters])) {
        TrecNuo4KeyAndMeters KM;
        // An element without a valid key (meters only) gives C.
        if (E.IsKeyAndMeters(KM)) return KM.Key.IsValid() ? KM.Key.ToKey12() : 0;
    }
    return 0;
}

double TrecNuo4SectionTitleBuffer::GetInitTempo() const {
    for (const auto& E : GetElementArray_FromABCText(ABCTextArray[tbitExpression]))
        if (E.aType == stetTempo) return E.GetTempo_BPM();
    return 120;
}

void TrecNuo4SectionTitleBuffer::GetMelodyInfo(TrecNuo4Meter& AInitMeter, int32_t& AInitKey,
                                               double& AInitTempo) const {
    AInitMeter = GetInitMeter();
    AInitKey = GetInitKey();
    AInitTempo = GetInitTempo();
}

bool TrecNuo4SectionTitleBuffer::CheckForKeyAndMeters() const {
    const std::u16string& S = ABCTextArray[tbitKeyAndMeters];
    TrecNuo4ABCParseInfo_Text T;
    if (!ReadStandardText(S, WholeText(S), T)) return true;
    return T.CheckForKeyAndMeters();
}

bool TrecNuo4SectionTitleBuffer::ChangeInitKey(int32_t ANewInitKey) {
    TrecNuo4KeySignature Key;
    Key.FromKey12(ANewInitKey);
    const std::u16string& S = ABCTextArray[tbitKeyAndMeters];
    std::u16string Result;
    if (GetElementArray_FromABCText(S).empty()) {
        Key.bWithOneIs = true;
        Result = Key.ToABCString(true);
    } else if (S.starts_with(u"{1=")) {
        Key.bWithOneIs = false;
        const std::u16string Bare = Key.ToABCString(false);
        const size_t Close = S.find(u'}');
        TrecNuo4KeySignature Old;
        int32_t OldEnd = -1;
        // Only the key is replaced, so meters written in the same group
        // ("{1=F,3/4}", the form the title dialogs write) survive a key change.
        if (S.size() > 3 &&
            ReadKeySignature(S, TKoRange(3, static_cast<int32_t>(S.size()) - 3), Old, OldEnd) &&
            (Close == std::u16string::npos || static_cast<size_t>(OldEnd) < Close))
            Result = u"{1=" + Bare + S.substr(static_cast<size_t>(OldEnd) + 1);
        else if (Close != std::u16string::npos)
            Result = u"{1=" + Bare + S.substr(Close);
        else
            Result = u"{1=" + Bare + u"}";
    } else {
        Key.bWithOneIs = true;
        Result = Key.ToABCString(true) + S;
    }
    SetText(tbitKeyAndMeters, Result);
    return true;
}

bool TrecNuo4SectionTitleBuffer::ChangeInitTempo(double ANewTempo) {
    const std::u16string Tempo = u"{J=" + ABC_FormatFloat(ANewTempo, 0) + u"}";
    const std::u16string& S = ABCTextArray[tbitExpression];
    const TNuo4TextElementArray Elements = GetElementArray_FromABCText(S);
    std::u16string Result;
    if (Elements.empty()) {
        Result = Tempo;
    } else if (Elements.front().aType == stetTempo) {
        // A tempo element holds no nested braces: its group ends at the first "}".
        Result = Tempo + S.substr(S.find(u'}') + 1);
    } else {
        Result = Tempo + S;
    }
    SetText(tbitExpression, Result);
    return true;
}

}  // namespace nuo4
