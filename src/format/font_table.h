#pragma once
// The process-wide font table as the format layer sees it: the default fonts of every usage
// and an abstract table that the render library implements, so that applying a ".Fonts"
// section needs no graphics code here.

#include <array>
#include <string>

#include "format/abc_common.h"
#include "format/section_fonts.h"

namespace nuo4 {

// Family names of the Chinese defaults (the platform names of current systems).
inline constexpr const char16_t* Nuo4FontFamily_YaHei = u"微软雅黑";
inline constexpr const char16_t* Nuo4FontFamily_FangSong = u"仿宋";
inline constexpr const char16_t* Nuo4FontFamily_KaiTi = u"楷体";

// One font per usage, indexed by TNuo4FontUsage.
struct TrecNuo4FontInfos {
    std::array<TrecNuo4FontInfo, Nuo4FontUsageCount> Items;

    TrecNuo4FontInfo& operator[](TNuo4FontUsage AUsage) { return Items[AUsage]; }
    const TrecNuo4FontInfo& operator[](TNuo4FontUsage AUsage) const { return Items[AUsage]; }
    // The default fonts of fuDefault ... fuMemo4; fuCore is left as it is.
    void SetToDefault_Init();
    // The default font of one usage (invalid for fuCore, which is the music font's own).
    static TrecNuo4FontInfo DefaultFontInfo(TNuo4FontUsage AUsage);
    bool operator==(const TrecNuo4FontInfos&) const = default;
};

class INuo4FontTable {
  public:
    virtual ~INuo4FontTable() = default;
    // Usages fuDefault ... fuMemo4 back to the defaults.
    virtual void ResetTextFonts() = 0;
    // Sets the usage's font and returns the family name the table ends up with: the one asked
    // for when that family (or the installed equivalent of a platform default) is present,
    // otherwise the fallback's name.
    virtual std::u16string SetFont(TNuo4FontUsage AUsage, const TrecNuo4FontInfo& AInfo) = 0;
    // Family name, size and style of the usage; invalid when it has no font.
    virtual TrecNuo4FontInfo GetFontInfo(TNuo4FontUsage AUsage) const = 0;
};

// The table the render library installs at start-up; null until then.
void Nuo4SetFontTable(INuo4FontTable* ATable);
INuo4FontTable* Nuo4GetFontTable();

}  // namespace nuo4
