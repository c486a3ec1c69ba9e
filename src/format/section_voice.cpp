#include "format/section_voice.h"

#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"

namespace nuo4 {

namespace {

template <typename TRec, typename TReader>
bool TryKind(TText AText, TKoRange ARange, TReader AReader, TNuo4VoiceSymbolPtr& ASymbol,
             int32_t& AEndPos) {
    // Read on the stack: only the kind that reads is put on the heap.
    TRec Rec;
    int32_t End = -1;
    if (!AReader(AText, ARange, Rec, End)) return false;
    ASymbol = std::make_unique<TRec>(std::move(Rec));
    AEndPos = End;
    return true;
}

}  // namespace

bool ReadVoiceSymbol(TText AText, TKoRange ARange, TNuo4VoiceSymbolPtr& ASymbol, int32_t& AEndPos) {
    ASymbol.reset();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    return TryKind<TrecNuo4ABCParseInfo_Meter>(AText, ARange, ReadVoiceMeter, ASymbol, AEndPos) ||
           TryKind<TrecNuo4ABCParseInfo_Note>(AText, ARange, ReadNote, ASymbol, AEndPos) ||
           TryKind<TrecNuo4ABCParseInfo_Barline>(AText, ARange, ReadBarline, ASymbol, AEndPos) ||
           TryKind<TrecNuo4ABCParseInfo_AccompMarker>(AText, ARange, ReadAccompMarker, ASymbol,
                                                      AEndPos) ||
           TryKind<TrecNuo4ABCParseInfo_Text>(AText, ARange, ReadVoiceText, ASymbol, AEndPos) ||
           TryKind<TrecNuo4ABCParseInfo_Return>(AText, ARange, ReadReturn, ASymbol, AEndPos);
}

std::u16string VoiceSymbolToABCText(const TrecNuo4ABCParseInfo_VoiceSymbol& ASymbol,
                                    bool bPadWithSpace) {
    switch (ASymbol.Header.aType) {
        case pitNote:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_Note*>(&ASymbol))
                return P->ToABCText();
            break;
        case pitBarline:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_Barline*>(&ASymbol))
                return P->Value.ToABCText(bPadWithSpace);
            break;
        case pitMeter:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_Meter*>(&ASymbol))
                return P->Value.ToABCText(bPadWithSpace);
            break;
        case pitAccompMarker:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_AccompMarker*>(&ASymbol))
                return P->Value.ToABCText(bPadWithSpace);
            break;
        case pitText:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_Text*>(&ASymbol))
                return P->Value.ToABCText(bPadWithSpace);
            break;
        case pitReturn:
            if (auto* P = dynamic_cast<const TrecNuo4ABCParseInfo_Return*>(&ASymbol))
                return P->Value.ToABCText(bPadWithSpace);
            break;
        default:
            break;
    }
    return u"";
}

}  // namespace nuo4
