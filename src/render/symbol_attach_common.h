#pragma once

// Small helpers the attachment symbol files share.

#include <QTransform>

#include "render/note_style.h"
#include "render/symbol_element.h"

namespace nuo4 {

// The digit size of a note style; an unset style measures as the default one.
inline TGPSizeF StyleDigitSize(const TrecNuo4NoteStyleIndex& AIndex) {
    TrecNuo4NoteStyleIndex I = AIndex;
    if (!I.IsValid()) I.SetToDefault();
    return GetDigitSize(I);
}

inline QTransform MatrixOf(const TrecNuo4SymbolTransform2& ATransform) {
    return SymbolTransformFromTransform2(ATransform).GetMatrix();
}

}  // namespace nuo4
