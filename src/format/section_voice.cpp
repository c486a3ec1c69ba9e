#include "format/section_voice.h"

#include <cstddef>
#include <memory>
#include <vector>

#include "format/symbol_accomp_marker.h"
#include "format/symbol_barline.h"
#include "format/symbol_meter.h"
#include "format/symbol_note.h"
#include "format/symbol_return.h"
#include "format/symbol_text.h"

namespace nuo4 {

namespace {

// Size classes of 8 bytes (the records' alignment) up to 4 KiB, so that records lie back to
// back without slack; larger records (none today) use the general heap.
// Under AddressSanitizer every record uses the general heap, so use-after-free stays visible.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool bUseRecordPool = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool bUseRecordPool = false;
#else
constexpr bool bUseRecordPool = true;
#endif
#else
constexpr bool bUseRecordPool = true;
#endif

class TRecordPool {
  public:
    static constexpr size_t Granule = 8, ClassCount = 512, ChunkSize = 1 << 16;
    void* Allocate(size_t ASize) {
        const size_t C = (ASize + Granule - 1) / Granule;
        FInUse += C * Granule;
        if (C >= ClassCount) return ::operator new(ASize);
        if (TFree* F = FFree[C]) {
            FFree[C] = F->Next;
            return F;
        }
        const size_t Bytes = C * Granule;
        if (FLeft < Bytes) {
            FChunks.push_back(std::make_unique<std::byte[]>(ChunkSize));
            FNext = FChunks.back().get();
            FLeft = ChunkSize;
        }
        void* P = FNext;
        FNext += Bytes;
        FLeft -= Bytes;
        return P;
    }
    void Release(void* APtr, size_t ASize) {
        const size_t C = (ASize + Granule - 1) / Granule;
        FInUse -= C * Granule;
        if (C >= ClassCount) {
            ::operator delete(APtr);
            return;
        }
        auto* F = static_cast<TFree*>(APtr);
        F->Next = FFree[C];
        FFree[C] = F;
    }
    size_t BytesInUse() const { return FInUse; }

  private:
    struct TFree {
        TFree* Next;
    };
    TFree* FFree[ClassCount] = {};
    std::vector<std::unique_ptr<std::byte[]>> FChunks;
    std::byte* FNext = nullptr;
    size_t FLeft = 0;
    size_t FInUse = 0;
};

TRecordPool& RecordPool() {
    // Kept for the whole program, like the font caches: blocks are reused by later scans.
    thread_local TRecordPool* Pool = new TRecordPool();
    return *Pool;
}

// Reads one kind straight into a heap record. A record that did not read is kept for the
// next attempt of its kind, so a failed try costs no allocation.
template <typename TRec, typename TReader>
bool TryKind(TText AText, TKoRange ARange, TReader AReader, TNuo4VoiceSymbolPtr& ASymbol,
             int32_t& AEndPos) {
    thread_local std::unique_ptr<TRec> Spare;
    // Default- rather than value-initialised: every member has its initialiser, and zeroing
    // the record first would only write its bytes twice.
    if (!Spare) Spare.reset(new TRec);
    int32_t End = -1;
    if (!AReader(AText, ARange, *Spare, End)) return false;
    ASymbol = std::move(Spare);
    AEndPos = End;
    return true;
}

}  // namespace

void* VoiceRecordPool_Allocate(size_t ASize) {
    return bUseRecordPool ? RecordPool().Allocate(ASize) : ::operator new(ASize);
}

void VoiceRecordPool_Release(void* APtr, size_t ASize) noexcept {
    if (bUseRecordPool)
        RecordPool().Release(APtr, ASize);
    else
        ::operator delete(APtr);
}

size_t VoiceRecordPool_BytesInUse() {
    return bUseRecordPool ? RecordPool().BytesInUse() : 0;
}

void* TrecNuo4ABCParseInfo_VoiceSymbol::operator new(size_t ASize) {
    return VoiceRecordPool_Allocate(ASize);
}

void TrecNuo4ABCParseInfo_VoiceSymbol::operator delete(void* APtr, size_t ASize) noexcept {
    VoiceRecordPool_Release(APtr, ASize);
}

bool ReadVoiceSymbol(TText AText, TKoRange ARange, TNuo4VoiceSymbolPtr& ASymbol, int32_t& AEndPos) {
    ASymbol.reset();
    AEndPos = -1;
    if (!ABC_RangeIsUsable(AText, ARange)) return false;
    // Each kind can only start with certain characters; the others are not tried at all.
    const char16_t C = AText[ARange.StartIndex];
    const bool bDigit = C >= u'0' && C <= u'9';
    // A meter is digits and "/": most digits begin notes, which need not try a meter first.
    auto DigitsThenSlash = [&] {
        int32_t P = ARange.StartIndex + 1;
        const int32_t Last = ARange.EndIndex();
        while (P <= Last && AText[P] >= u'0' && AText[P] <= u'9') ++P;
        return P <= Last && AText[P] == u'/';
    };
    if (bDigit && DigitsThenSlash() &&
        TryKind<TrecNuo4ABCParseInfo_Meter>(AText, ARange, ReadVoiceMeter, ASymbol, AEndPos))
        return true;
    const bool bMayBeNote = bDigit || C == u'(' || C == u'{' || C == u'#' || C == u'b' ||
                            C == u'x' || C == u'X' || C == u'[';
    if (bMayBeNote && TryKind<TrecNuo4ABCParseInfo_Note>(AText, ARange, ReadNote, ASymbol, AEndPos))
        return true;
    if ((C == u'|' || C == u':' || C == u'[') &&
        TryKind<TrecNuo4ABCParseInfo_Barline>(AText, ARange, ReadBarline, ASymbol, AEndPos))
        return true;
    if ((C == u'(' || C == u')') && TryKind<TrecNuo4ABCParseInfo_AccompMarker>(
                                        AText, ARange, ReadAccompMarker, ASymbol, AEndPos))
        return true;
    if (C == u'"' &&
        TryKind<TrecNuo4ABCParseInfo_Text>(AText, ARange, ReadVoiceText, ASymbol, AEndPos))
        return true;
    return C == u'$' &&
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
