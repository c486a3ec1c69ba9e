#pragma once
// What the layout engine computes for one symbol: where it sits in the buffers, its music
// values, what is attached to it and the boxes that spacing and placement use.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "format/out_of_line.h"
#include "render/draw_utils.h"
#include "render/symbol_types.h"

namespace nuo4 {

enum TNuo4ArcPassType : uint8_t { aptStart, aptEnd, aptPass };
const char* EnumName(TNuo4ArcPassType AValue);

// A set of TNuo4ArcPassType: whether arcs start at, end at or pass over the symbol.
struct TrecNuo4CalcInfo_Arc {
    uint8_t Bits = 0;

    bool Contains(TNuo4ArcPassType A) const { return (Bits >> A) & 1; }
    void Include(TNuo4ArcPassType A) { Bits |= uint8_t(1u << A); }
    void Exclude(TNuo4ArcPassType A) { Bits &= uint8_t(~(1u << A)); }
    bool IsEmpty() const { return Bits == 0; }
    void Clear() { Bits = 0; }
    bool operator==(const TrecNuo4CalcInfo_Arc&) const = default;
};

// The MIDI notes of a note, in the order of its pitches. Most notes have one and chords a few:
// up to twelve are kept in place, more in a block of their own.
class TNuo4MidiNoteList {
  public:
    TNuo4MidiNoteList() = default;
    TNuo4MidiNoteList(const std::vector<uint8_t>& ANotes) { Assign(ANotes.data(), ANotes.size()); }
    TNuo4MidiNoteList(const TNuo4MidiNoteList& AOther) { Assign(AOther.data(), AOther.size()); }
    TNuo4MidiNoteList& operator=(const TNuo4MidiNoteList& AOther) {
        if (this != &AOther) Assign(AOther.data(), AOther.size());
        return *this;
    }
    TNuo4MidiNoteList& operator=(const std::vector<uint8_t>& ANotes) {
        Assign(ANotes.data(), ANotes.size());
        return *this;
    }
    ~TNuo4MidiNoteList() { Free(); }

    size_t size() const { return FCount; }
    bool empty() const { return FCount == 0; }
    const uint8_t* data() const { return FCount > InlineCount ? Heap() : FData; }
    const uint8_t* begin() const { return data(); }
    const uint8_t* end() const { return data() + FCount; }
    uint8_t operator[](size_t AIndex) const { return data()[AIndex]; }
    // Throws std::out_of_range outside 0 ... size()-1, as a vector's at().
    uint8_t at(size_t AIndex) const;

    bool operator==(const TNuo4MidiNoteList& AOther) const;
    bool operator==(const std::vector<uint8_t>& AOther) const;

  private:
    static constexpr size_t InlineCount = 12;
    uint8_t* Heap() const;
    void Free();
    void Assign(const uint8_t* ANotes, size_t ACount);

    // The notes, or (beyond InlineCount) the address of their block.
    alignas(4) uint8_t FData[InlineCount] = {};
    uint32_t FCount = 0;
};

struct TrecNuo4CalcInfo_DV {
    float DV = 0;  // duration value in beats
    float DVSumWithinMeasure_After = 0;
    float DVSumWithinMeasure_Before = 0;
    bool bAtFullBeat_After = false;
    bool bAtFullBeat_Before = false;
};

struct TrecNuo4CalcInfo_WhenAsAttachSymbol {
    int32_t SourceIndex = -1;  // basic indexes the attach symbol spans; -1 when none
    int32_t SourceIndex2 = -1;
    TGPPointF AttachPos;
};

// An ink box and a layout box, moved and united together.
struct TrecNuo4CalcInfo_BoundsInfo {
    TGPRectF Black;
    TGPRectF Layout;

    void SetToEmpty() { Black = Layout = TGPRectF(); }
    void MyUnion(const TrecNuo4CalcInfo_BoundsInfo& ASrc, bool bNoHorz = false,
                 bool bNoVert = false) {
        RectUnion(Black, ASrc.Black, bNoHorz, bNoVert);
        RectUnion(Layout, ASrc.Layout, bNoHorz, bNoVert);
    }
    void MyOffset(double ADx, double ADy) {
        Black.translate(ADx, ADy);
        Layout.translate(ADx, ADy);
    }
    void MyOffset(TGPPointF ADelta) { MyOffset(ADelta.x(), ADelta.y()); }
    void MyOffsetY(double ADy) { MyOffset(0, ADy); }
};

// The two boxes of one symbol (or of what is attached to it) in the symbol's own millimetres:
// every symbol keeps several, so they are stored in single precision; lines and pages keep
// theirs, in page coordinates, as TrecNuo4CalcInfo_BoundsInfo.
struct TrecNuo4CalcInfo_SymbolBoundsInfo {
    TGPRectF32 Black;
    TGPRectF32 Layout;

    TrecNuo4CalcInfo_SymbolBoundsInfo() = default;
    TrecNuo4CalcInfo_SymbolBoundsInfo(const TrecNuo4CalcInfo_BoundsInfo& A)
        : Black(A.Black), Layout(A.Layout) {}
    operator TrecNuo4CalcInfo_BoundsInfo() const { return {Black, Layout}; }

    void SetToEmpty() { *this = TrecNuo4CalcInfo_SymbolBoundsInfo(); }
    void MyUnion(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASrc, bool bNoHorz = false,
                 bool bNoVert = false) {
        TrecNuo4CalcInfo_BoundsInfo B = *this;
        B.MyUnion(ASrc, bNoHorz, bNoVert);
        *this = B;
    }
    void MyOffset(double ADx, double ADy) {
        Black.translate(ADx, ADy);
        Layout.translate(ADx, ADy);
    }
    void MyOffset(TGPPointF ADelta) { MyOffset(ADelta.x(), ADelta.y()); }
    void MyOffsetY(double ADy) { MyOffset(0, ADy); }
};

// The attach indexes of one group of a symbol, in one word. Most groups hold one (a lyric, a
// slur): it is kept in place beside the count; more live in a block that starts with its count
// and capacity. The word tells which by its lowest bit, 1 for the value in place (a block's
// address is even).
class TNuo4AttachIndexList {
  public:
    TNuo4AttachIndexList() = default;
    TNuo4AttachIndexList(const TNuo4AttachIndexList& AOther) { CopyFrom(AOther); }
    TNuo4AttachIndexList& operator=(const TNuo4AttachIndexList& AOther) {
        if (this != &AOther) {
            Free();
            CopyFrom(AOther);
        }
        return *this;
    }
    ~TNuo4AttachIndexList() { Free(); }

    size_t size() const { return IsSmall() ? FSmall.Tagged >> 1 : Block()[0]; }
    bool empty() const { return size() == 0; }
    const int32_t* data() const { return IsSmall() ? &FSmall.Value : Block() + 2; }
    const int32_t* begin() const { return data(); }
    const int32_t* end() const { return data() + size(); }
    int32_t operator[](size_t AIndex) const { return data()[AIndex]; }
    void push_back(int32_t AIndex);

    bool operator==(const TNuo4AttachIndexList& AOther) const {
        return std::equal(begin(), end(), AOther.begin(), AOther.end());
    }
    bool operator==(const std::vector<int32_t>& AOther) const {
        return std::equal(begin(), end(), AOther.begin(), AOther.end());
    }

  private:
    // The lowest byte of either member, read as bytes: the word's lowest bit.
    bool IsSmall() const {
        unsigned char Low;
        std::memcpy(&Low, this, 1);
        return Low & 1u;
    }
    // Count, capacity, then the indexes.
    int32_t* Block() const { return FBlock; }
    void Free();
    void CopyFrom(const TNuo4AttachIndexList& AOther);

    struct TSmall {
        uint32_t Tagged = 1;  // count * 2 + 1: 0 or 1
        int32_t Value = 0;
    };
    union {
        TSmall FSmall{};
        int32_t* FBlock;
    };
    static_assert(sizeof(TSmall) == sizeof(int32_t*));
    static_assert(std::endian::native == std::endian::little, "the tag is the lowest byte");
};

struct TrecNuo4CalcInfo_AttachmentsInfoItem {
    TNuo4AttachIndexList AttachIndexArray;  // indexes in the attach buffer
    TrecNuo4CalcInfo_SymbolBoundsInfo Bounds;

    void SetToDefault() { *this = TrecNuo4CalcInfo_AttachmentsInfoItem(); }
};

// Every symbol of a long score has room for what most symbols never own (articulations, arcs,
// voltas, parsed marks): an absent value costs one pointer.
template <typename T>
using TNuo4OutOfLine = TNuo4FormatOutOfLine<T>;

using TNuo4CalcInfo_AttachmentsGroup = TNuo4OutOfLine<TrecNuo4CalcInfo_AttachmentsInfoItem>;

// Read with Get(), written with Mut().
struct TrecNuo4CalcInfo_AttachmentsInfo {
    TNuo4CalcInfo_AttachmentsGroup Lyrics;
    TNuo4CalcInfo_AttachmentsGroup Articulations;
    TNuo4CalcInfo_AttachmentsGroup Arcs;
    TNuo4CalcInfo_AttachmentsGroup FangZis;
    TNuo4CalcInfo_AttachmentsGroup Attachments;

    void SetToDefault() { *this = TrecNuo4CalcInfo_AttachmentsInfo(); }
};

enum TNuo4SymbolABCTextInfoType : uint8_t {
    spwabtNone,
    spwabtSectionVoice,
    spwabtSectionLyrics,
    spwabtSectionAttachments,
    spwabtSectionPage,
    spwabtReserved,
};
const char* EnumName(TNuo4SymbolABCTextInfoType AValue);

// Where in the score text the symbol came from. The kinds are exclusive, so one pair of
// indexes serves them all; an index of another kind reads -1.
struct TrecNuo4CalcInfo_SymboABCTextInfo {
    TNuo4SymbolABCTextInfoType aType = spwabtNone;

    int32_t VoiceBufIndex() const { return Of(spwabtSectionVoice, FIndex); }  // voice item
    int32_t LyricVerseBufIndex() const { return Of(spwabtSectionLyrics, FIndex); }
    int32_t LyricPos() const { return Of(spwabtSectionLyrics, FIndex2); }  // within the verse
    int32_t AttachmentsBufIndex() const { return Of(spwabtSectionAttachments, FIndex); }
    int32_t PageBufIndex() const { return Of(spwabtSectionPage, FIndex); }

    void SetToDefault() { *this = TrecNuo4CalcInfo_SymboABCTextInfo(); }
    void InitializeToVoice(int32_t AIndex) { Init(spwabtSectionVoice, AIndex, -1); }
    void InitializeToLyrics(int32_t AVerseIndex, int32_t APos) {
        Init(spwabtSectionLyrics, AVerseIndex, APos);
    }
    void InitializeToAttachments(int32_t AIndex) { Init(spwabtSectionAttachments, AIndex, -1); }
    void InitializeToPage(int32_t AIndex) { Init(spwabtSectionPage, AIndex, -1); }

  private:
    int32_t Of(TNuo4SymbolABCTextInfoType AType, int32_t AIndex) const {
        return aType == AType ? AIndex : -1;
    }
    void Init(TNuo4SymbolABCTextInfoType AType, int32_t AIndex, int32_t AIndex2) {
        aType = AType;
        FIndex = AIndex;
        FIndex2 = AIndex2;
    }
    int32_t FIndex = -1;
    int32_t FIndex2 = -1;
};

// Every symbol keeps one: the members are ordered so that no room is lost to alignment.
struct TrecNuo4SymbolCalcInfo {
    TrecNuo4SymbolBufferIndex SymbolBufferIndex;
    TrecNuo4CalcInfo_SymboABCTextInfo SymbolABCTextInfo;
    TrecNuo4CalcInfo_SymbolBoundsInfo Bounds_Self;
    bool bIsLyricVerseStart = false;

    // Indexes -1, rectangles empty, no text origin.
    void SetToDefault() { *this = TrecNuo4SymbolCalcInfo(); }
};

// What only the symbols of the voice keep: attach symbols (most of a score's symbols with
// lyrics) do without it.
struct TrecNuo4BasicCalcInfo {
    TrecNuo4CalcInfo_AttachmentsInfo AttachmentsInfo;
    TNuo4MidiNoteList MidiNotes;
    TrecNuo4CalcInfo_SymbolBoundsInfo Bounds_Total;
    TrecNuo4CalcInfo_DV DV;
    float ExtraBoundsForLyric_Left = 0;
    float ExtraBoundsForLyric_Right = 0;
    int8_t Key = 0;  // 0 ... 11
    TrecNuo4CalcInfo_Arc Arc;

    void SetToDefault() { *this = TrecNuo4BasicCalcInfo(); }

    // The self boxes (ASelf) grown by everything attached: articulations, arcs, voltas and
    // attachments on both axes, lyrics vertically and, when they occupy space, horizontally;
    // then the extra room asked for by lyrics on either side.
    void Update_Bounds_Total(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf, bool bLyricOcupy);
    // The topmost layout edge of the self box and the articulations (arcs too for the
    // second); an empty box has no top.
    double GetArticulationsTop(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf) const;
    double GetArcsTop(const TrecNuo4CalcInfo_SymbolBoundsInfo& ASelf) const;
};

}  // namespace nuo4
