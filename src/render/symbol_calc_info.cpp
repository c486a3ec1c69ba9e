#include "render/symbol_calc_info.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace nuo4 {

const char* EnumName(TNuo4ArcPassType AValue) {
    switch (AValue) {
        case aptStart:
            return "aptStart";
        case aptEnd:
            return "aptEnd";
        case aptPass:
            return "aptPass";
    }
    return "";
}

const char* EnumName(TNuo4SymbolABCTextInfoType AValue) {
    switch (AValue) {
        case spwabtNone:
            return "spwabtNone";
        case spwabtSectionVoice:
            return "spwabtSectionVoice";
        case spwabtSectionLyrics:
            return "spwabtSectionLyrics";
        case spwabtSectionAttachments:
            return "spwabtSectionAttachments";
        case spwabtSectionPage:
            return "spwabtSectionPage";
        case spwabtReserved:
            return "spwabtReserved";
    }
    return "";
}

// ---- MIDI notes ---------------------------------------------------------------------------------

uint8_t* TNuo4MidiNoteList::Heap() const {
    uint8_t* P;
    std::memcpy(&P, FData, sizeof P);
    return P;
}

void TNuo4MidiNoteList::Free() {
    if (FCount > InlineCount) delete[] Heap();
    FCount = 0;
}

void TNuo4MidiNoteList::Assign(const uint8_t* ANotes, size_t ACount) {
    if (ACount > InlineCount) {
        auto* P = new uint8_t[ACount];
        std::memcpy(P, ANotes, ACount);
        Free();
        std::memcpy(FData, &P, sizeof P);
    } else {
        uint8_t Copy[InlineCount];
        if (ACount) std::memcpy(Copy, ANotes, ACount);
        Free();
        if (ACount) std::memcpy(FData, Copy, ACount);
    }
    FCount = uint32_t(ACount);
}

uint8_t TNuo4MidiNoteList::at(size_t AIndex) const {
    if (AIndex >= FCount) throw std::out_of_range("TNuo4MidiNoteList::at");
    return data()[AIndex];
}

bool TNuo4MidiNoteList::operator==(const TNuo4MidiNoteList& AOther) const {
    return std::equal(begin(), end(), AOther.begin(), AOther.end());
}

bool TNuo4MidiNoteList::operator==(const std::vector<uint8_t>& AOther) const {
    return std::equal(begin(), end(), AOther.begin(), AOther.end());
}

// ---- Attach indexes -----------------------------------------------------------------------------

void TNuo4AttachIndexList::Free() {
    if (!IsSmall()) delete[] FBlock;
    FSmall = TSmall();
}

void TNuo4AttachIndexList::CopyFrom(const TNuo4AttachIndexList& AOther) {
    if (AOther.IsSmall()) {
        FSmall = AOther.FSmall;
        return;
    }
    const int32_t Count = AOther.FBlock[0];
    FBlock = new int32_t[size_t(Count) + 2];
    FBlock[0] = FBlock[1] = Count;
    std::copy(AOther.begin(), AOther.end(), FBlock + 2);
}

void TNuo4AttachIndexList::push_back(int32_t AIndex) {
    if (IsSmall()) {
        if (FSmall.Tagged == 1) {  // empty: the value goes in place
            FSmall = {3, AIndex};
            return;
        }
        auto* B = new int32_t[4 + 2];
        B[0] = 1;
        B[1] = 4;
        B[2] = FSmall.Value;
        FBlock = B;
    } else if (FBlock[0] == FBlock[1]) {
        auto* B = new int32_t[size_t(FBlock[1]) * 2 + 2];
        B[0] = FBlock[0];
        B[1] = FBlock[1] * 2;
        std::copy(begin(), end(), B + 2);
        delete[] FBlock;
        FBlock = B;
    }
    FBlock[2 + FBlock[0]++] = AIndex;
}

// ---- Bounds -------------------------------------------------------------------------------------

namespace {

TGPRectF MoveLeftEdge(TGPRectF R, double ADelta) {
    R.setLeft(R.left() - ADelta);
    return R;
}

TGPRectF MoveRightEdge(TGPRectF R, double ADelta) {
    R.setRight(R.right() + ADelta);
    return R;
}

}  // namespace

void TrecNuo4BasicCalcInfo::Update_Bounds_Total(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf,
                                                bool bLyricOcupy) {
    // United in double and stored once: one rounding, and no conversions per group.
    TrecNuo4CalcInfo_BoundsInfo T = ASelf;
    T.MyUnion(AttachmentsInfo.Articulations.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Arcs.Get().Bounds);
    T.MyUnion(AttachmentsInfo.FangZis.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Attachments.Get().Bounds);
    T.MyUnion(AttachmentsInfo.Lyrics.Get().Bounds, !bLyricOcupy, false);
    if (ExtraBoundsForLyric_Left != 0) {
        T.Black = MoveLeftEdge(T.Black, ExtraBoundsForLyric_Left);
        T.Layout = MoveLeftEdge(T.Layout, ExtraBoundsForLyric_Left);
    }
    if (ExtraBoundsForLyric_Right != 0) {
        T.Black = MoveRightEdge(T.Black, ExtraBoundsForLyric_Right);
        T.Layout = MoveRightEdge(T.Layout, ExtraBoundsForLyric_Right);
    }
    Bounds_Total = T;
}

namespace {

// The smaller top of the non-empty boxes; 0 when all are empty.
double TopOf(std::initializer_list<const TGPRectF32*> ARects) {
    bool bAny = false;
    double Top = 0;
    for (const TGPRectF32* R : ARects) {
        if (RectIsEmpty(*R)) continue;
        Top = bAny ? std::min(Top, R->top()) : R->top();
        bAny = true;
    }
    return Top;
}

}  // namespace

double TrecNuo4BasicCalcInfo::GetArticulationsTop(
    const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf) const {
    return TopOf({&AttachmentsInfo.Articulations.Get().Bounds.Layout, &ASelf.Layout});
}

double TrecNuo4BasicCalcInfo::GetArcsTop(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf) const {
    return TopOf({&AttachmentsInfo.Articulations.Get().Bounds.Layout, &ASelf.Layout,
                  &AttachmentsInfo.Arcs.Get().Bounds.Layout});
}

}  // namespace nuo4
