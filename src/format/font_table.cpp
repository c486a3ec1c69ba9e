#include "format/font_table.h"

namespace nuo4 {

namespace {
INuo4FontTable* GFontTable = nullptr;
}  // namespace

TrecNuo4FontInfo TrecNuo4FontInfos::DefaultFontInfo(TNuo4FontUsage AUsage) {
    TrecNuo4FontInfo F;
    auto Set = [&F](const char16_t* AFamily, float ASize, TNuo4FontStyles AStyle = 0) {
        F.Initialize(AFamily, ASize, AStyle);
    };
    switch (AUsage) {
        case fuCore:
            break;
        case fuDefault:
            Set(u"Arial", 3.5f);
            break;
        case fuIntro:
            Set(u"Arial", 3.0f, fsItalic);
            break;
        case fuTitle:
            Set(Nuo4FontFamily_YaHei, 6.0f);
            break;
        case fuSubTitle:
            Set(Nuo4FontFamily_FangSong, 4.0f);
            break;
        case fuSubTitle2:
            Set(Nuo4FontFamily_FangSong, 3.8f);
            break;
        case fuWordsByAndMusicBy:
            Set(Nuo4FontFamily_KaiTi, 4.0f);
            break;
        case fuKeyAndMeters:
        case fuExpression:
            Set(Nuo4FontFamily_YaHei, 3.5f);
            break;
        case fuLyric:
            Set(Nuo4FontFamily_YaHei, 3.2f);
            break;
        case fuLyricPrefix:
            Set(Nuo4FontFamily_FangSong, 3.2f);
            break;
        case fuLyricVerseIndex:
            Set(Nuo4FontFamily_FangSong, 3.2f, fsItalic);
            break;
        case fuDrumPitch:
            Set(Nuo4FontFamily_YaHei, 3.5f);
            break;
        case fuAuxInfo:
            Set(Nuo4FontFamily_YaHei, 3.0f);
            break;
        case fuText:
            Set(Nuo4FontFamily_YaHei, 3.5f);
            break;
        case fuFangZiText:
            Set(Nuo4FontFamily_YaHei, 2.8f, fsItalic);
            break;
        case fuAttachText1:
        case fuAttachText2:
        case fuAttachText3:
        case fuAttachText4:
            Set(Nuo4FontFamily_YaHei, 3.5f);
            break;
        case fuPartName:
            Set(Nuo4FontFamily_YaHei, 3.2f);
            break;
        case fuMemo1:
            Set(Nuo4FontFamily_YaHei, 3.0f);
            break;
        case fuMemo2:
            Set(Nuo4FontFamily_YaHei, 3.5f);
            break;
        case fuMemo3:
            Set(Nuo4FontFamily_YaHei, 4.0f);
            break;
        case fuMemo4:
            Set(Nuo4FontFamily_YaHei, 4.5f);
            break;
    }
    return F;
}

void TrecNuo4FontInfos::SetToDefault_Init() {
    for (int U = fuDefault; U < Nuo4FontUsageCount; ++U)
        Items[U] = DefaultFontInfo(static_cast<TNuo4FontUsage>(U));
}

void Nuo4SetFontTable(INuo4FontTable* ATable) {
    GFontTable = ATable;
}

INuo4FontTable* Nuo4GetFontTable() {
    return GFontTable;
}

}  // namespace nuo4
