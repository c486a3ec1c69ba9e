// Stand-ins for the section item grammars that have not landed yet: every reader recognises
// nothing and every writer writes nothing, so the scanner can be built and tested on its own.
// Each block belongs to the owner of one section header; whoever connects the real grammar
// deletes that block.

#include "format/section_attachments.h"
#include "format/section_fonts.h"
#include "format/section_page.h"
#include "format/section_title.h"

namespace nuo4 {

// ==== Fonts (section_fonts.h) =================================================================

std::u16string TrecNuo4ABCParseInfo_FontInfo::ToABCText() const {
    return {};
}

bool ReadFontItem(TText, TKoRange, TrecNuo4ABCParseInfo_FontInfo&, int32_t&) {
    return false;
}

// ==== Title (section_title.h) =================================================================

const char* EnumName(TNuo4SectionTitleItemType AValue) {
    switch (AValue) {
        case tbitIntro:
            return "tbitIntro";
        case tbitTitle:
            return "tbitTitle";
        case tbitSubTitle:
            return "tbitSubTitle";
        case tbitSubTitle2:
            return "tbitSubTitle2";
        case tbitKeyAndMeters:
            return "tbitKeyAndMeters";
        case tbitWordsByAndMusicBy:
            return "tbitWordsByAndMusicBy";
        case tbitExpression:
            return "tbitExpression";
        case tbitLinePos:
            return "tbitLinePos";
    }
    return "?";
}

bool TrecNUo4SectionTitleItem::FromABCText(TText, TKoRange, TNuo4ABCTokenInfoItems&, int32_t&) {
    return false;
}

void TrecNuo4SectionTitleBuffer::SetToDefault() {
    for (auto& S : ABCTextArray) S.clear();
    LinePosArray.fill(0);
}

void TrecNuo4SectionTitleBuffer::UpdateFromItem(const TrecNUo4SectionTitleItem&) {}

std::u16string TrecNuo4SectionTitleBuffer::ToABCText(bool) const {
    return {};
}

// ==== Page (section_page.h) ===================================================================

std::u16string TrecNuo4SectionItem_Page::ToABCText() const {
    return {};
}

bool ReadPageItem(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Page&, int32_t&) {
    return false;
}

// ==== Attachments (section_attachments.h) =====================================================

std::u16string TrecNuo4SectionItem_Attachments::ToABCText() const {
    return {};
}

bool ReadAttachmentItem(TText, TKoRange, TrecNuo4SectiontItemWithParseInfo_Attachments&, int32_t&) {
    return false;
}

}  // namespace nuo4
