#pragma once
// The builders of the symbols that the attachments stage creates.
// The stages themselves (which items, at which owner, with which offset and text origin) are
// the document buffer's. An unset builder leaves the symbols to the attachment classes
// (CreateAttachmentsSymbol); tests set one to place symbols of their own.

#include <functional>
#include <memory>

#include "format/section_attachments.h"
#include "format/section_page.h"
#include "render/symbol.h"

namespace nuo4 {

class TNuo4SimpleBuffer;

struct TNuo4LayoutSymbolBuilders {
    // The symbol of one attachments item; null for a kind without symbol. Unset: the
    // attachment classes' own symbols.
    std::function<std::unique_ptr<TNuo4Symbol>(const TrecNuo4SectionItem_Attachments&)> Attachments;
};

// Process-wide (user-interface thread only).
TNuo4LayoutSymbolBuilders& Nuo4LayoutSymbolBuilders();

}  // namespace nuo4
