#pragma once
// Asking memory early for the symbols a pass reaches next. A long score's symbols (a few hundred
// bytes each, their attach groups elsewhere on the heap) lie scattered far beyond the caches,
// and a pass that reaches them one by one waits on memory for each in turn; asked for some
// indexes ahead, their loads overlap with the work. A prefetch is only a hint: it never changes
// a result, and a pointer prefetched is never read through here.

#include <cstddef>
#include <memory>
#include <vector>

#include "render/symbol.h"

namespace nuo4 {

// How far ahead a pass asks for a symbol, and for the groups it owns: the groups are reached
// through pointers in the symbol, which by then has arrived.
constexpr int32_t Nuo4PrefetchFar = 16;
constexpr int32_t Nuo4PrefetchNear = 8;

// The symbol's own fields: its base with the calculated information, and the start of the
// record of its class.
inline void Nuo4PrefetchSymbol(const TNuo4Symbol* S) {
    constexpr size_t Bytes = sizeof(TNuo4Symbol) + 128;
    const char* P = reinterpret_cast<const char*>(S);
    for (size_t O = 0; O < Bytes; O += 64) __builtin_prefetch(P + O);
}

// The attach groups the symbol owns and the marks written on it.
inline void Nuo4PrefetchGroups(const TNuo4Symbol* S) {
    if (S->ABCAttachmentsInfo.IsPresent()) __builtin_prefetch(&S->ABCAttachmentsInfo.Get());
    const TrecNuo4CalcInfo_AttachmentsInfo& G = S->BasicInfo().AttachmentsInfo;
    for (const TNuo4CalcInfo_AttachmentsGroup* A :
         {&G.Lyrics, &G.Articulations, &G.Arcs, &G.FangZis, &G.Attachments})
        if (A->IsPresent()) {
            const char* P = reinterpret_cast<const char*>(&A->Get());
            __builtin_prefetch(P);
            __builtin_prefetch(P + 64);
        }
}

// The lyrics of a verse follow one another in the attach buffer as their owners do in the
// voice: from the lyrics of the symbol at hand, those of the symbols ahead.
inline void Nuo4PrefetchNextLyrics(const std::vector<std::unique_ptr<TNuo4Symbol>>& AAttach,
                                   const TNuo4Symbol* AOwner) {
    for (const int32_t A : AOwner->BasicInfo().AttachmentsInfo.Lyrics.Get().AttachIndexArray)
        if (A >= 0 && A + Nuo4PrefetchNear < int32_t(AAttach.size()))
            Nuo4PrefetchSymbol(AAttach[size_t(A + Nuo4PrefetchNear)].get());
}

}  // namespace nuo4
