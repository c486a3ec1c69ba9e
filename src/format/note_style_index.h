#pragma once
// Which note style (main style and sub style) a symbol takes its sizes from.

#include "format/music_common.h"

namespace nuo4 {

struct TrecNuo4NoteStyleIndex {
    TNuo4NoteMainStyle MainStyle = 0;
    TNuo4NoteSubStyle SubStyle = nssNormal;

    static TrecNuo4NoteStyleIndex Create(TNuo4NoteMainStyle AMainStyle,
                                         TNuo4NoteSubStyle ASubStyle) {
        TrecNuo4NoteStyleIndex R;
        R.Initialize(AMainStyle, ASubStyle);
        return R;
    }
    void Initialize(TNuo4NoteMainStyle AMainStyle, TNuo4NoteSubStyle ASubStyle) {
        MainStyle = AMainStyle;
        SubStyle = ASubStyle;
    }
    void SetToDefault() { Initialize(0, nssNormal); }
    bool IsValid() const { return MainStyle <= 7 && SubStyle <= 7; }
    bool operator==(const TrecNuo4NoteStyleIndex&) const = default;
};

}  // namespace nuo4
