#include "format/abc_lines.h"

namespace nuo4 {

const char* EnumName(TNuo4ABCLineType AValue) {
    switch (AValue) {
        case altEmptyOrComment:
            return "altEmptyOrComment";
        case altSectionNone:
            return "altSectionNone";
        case altSectionOptions_Start:
            return "altSectionOptions_Start";
        case altSectionOptions_Continue:
            return "altSectionOptions_Continue";
        case altSectionFonts_Start:
            return "altSectionFonts_Start";
        case altSectionFonts_Continue:
            return "altSectionFonts_Continue";
        case altSectionTitle_Start:
            return "altSectionTitle_Start";
        case altSectionTitle_Continue:
            return "altSectionTitle_Continue";
        case altSectionVoice_Start:
            return "altSectionVoice_Start";
        case altSectionVoice_Continue:
            return "altSectionVoice_Continue";
        case altSectionLyrics_Start:
            return "altSectionLyrics_Start";
        case altSectionLyrics_Continue:
            return "altSectionLyrics_Continue";
        case altSectionAttachments_Start:
            return "altSectionAttachments_Start";
        case altSectionAttachments_Continue:
            return "altSectionAttachments_Continue";
        case altSectionPage_Start:
            return "altSectionPage_Start";
        case altSectionPage_Continue:
            return "altSectionPage_Continue";
        case altSectionUnknown_Start:
            return "altSectionUnknown_Start";
        case altSectionUnknown_Continue:
            return "altSectionUnknown_Continue";
        case altSectionVoice_Prefix_Start:
            return "altSectionVoice_Prefix_Start";
        case altSectionVoice_Prefix_Continue:
            return "altSectionVoice_Prefix_Continue";
        case altSectionLyrics_Prefix_Start:
            return "altSectionLyrics_Prefix_Start";
        case altSectionLyrics_Prefix_Continue:
            return "altSectionLyrics_Prefix_Continue";
        case altSectionTitle_Item:
            return "altSectionTitle_Item";
        case altSectionFonts_Item:
            return "altSectionFonts_Item";
        case altSectionOptions_Item:
            return "altSectionOptions_Item";
        case altSectionAttachments_Item:
            return "altSectionAttachments_Item";
        case altSectionPage_Item:
            return "altSectionPage_Item";
        case altSectionNone_LyricsPrefix_Start:
            return "altSectionNone_LyricsPrefix_Start";
        case altSectionNone_LyricsPrefix_Continue:
            return "altSectionNone_LyricsPrefix_Continue";
        case altSectionNone_PrefixVoice_Start:
            return "altSectionNone_PrefixVoice_Start";
        case altSectionNone_PrefixVoice_Continue:
            return "altSectionNone_PrefixVoice_Continue";
        case altSectionNone_PrefixNone:
            return "altSectionNone_PrefixNone";
        case altReserved:
            return "altReserved";
    }
    return "?";
}

const char* EnumName(TNuo4ABCSectionType AValue) {
    switch (AValue) {
        case astOptions:
            return "astOptions";
        case astFonts:
            return "astFonts";
        case astTitle:
            return "astTitle";
        case astVoice:
            return "astVoice";
        case astWords:
            return "astWords";
        case astAttachments:
            return "astAttachments";
        case astPage:
            return "astPage";
    }
    return "?";
}

const char16_t* ABC_SectionHeaderName(TNuo4ABCSectionType AValue) {
    switch (AValue) {
        case astOptions:
            return u".Options";
        case astFonts:
            return u".Fonts";
        case astTitle:
            return u".Title";
        case astVoice:
            return u".Voice";
        case astWords:
            return u".Words";
        case astAttachments:
            return u".Attachments";
        case astPage:
            return u".Page";
    }
    return u"";
}

TNuo4ABCLineType ABC_SectionStartLineType(TNuo4ABCSectionType AValue) {
    switch (AValue) {
        case astOptions:
            return altSectionOptions_Start;
        case astFonts:
            return altSectionFonts_Start;
        case astTitle:
            return altSectionTitle_Start;
        case astVoice:
            return altSectionVoice_Start;
        case astWords:
            return altSectionLyrics_Start;
        case astAttachments:
            return altSectionAttachments_Start;
        case astPage:
            return altSectionPage_Start;
    }
    return altSectionUnknown_Start;
}

bool ABC_IsHeaderLineType(TNuo4ABCLineType AValue) {
    switch (AValue) {
        case altSectionOptions_Start:
        case altSectionFonts_Start:
        case altSectionTitle_Start:
        case altSectionVoice_Start:
        case altSectionLyrics_Start:
        case altSectionAttachments_Start:
        case altSectionPage_Start:
        case altSectionUnknown_Start:
            return true;
        default:
            return false;
    }
}

}  // namespace nuo4
