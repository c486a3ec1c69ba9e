#pragma once
// The process-wide inputs of the edit requests, gathered in one record the editor owns and
// passes in: nothing in the edit layer keeps state of its own between requests.

#include <cstdint>

namespace nuo4 {

struct TrecNuo4EditState {
    // Application options.
    bool bAutoInsertBarline = false;   // bar lines added while typing notes
    bool bUseOldDVGroupOrder = false;  // the older cycle order of beam groups
    // Notes entered in succession; the editor counts and resets it.
    int32_t ConsecutiveNoteCount = 0;
    // The caret column kept across consecutive up and down moves (mm; -1 for none).
    double RememberedCaretColumnX = -1;

    void SetToDefault() { *this = TrecNuo4EditState(); }
};

}  // namespace nuo4
