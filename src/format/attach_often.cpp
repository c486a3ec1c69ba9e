#include "format/attach_often.h"

#include <array>
#include <iterator>
#include <vector>

namespace nuo4 {

namespace {

struct TOftenRow {
    const char* EnumText;
    const char16_t* Name;
    float OffsetX, OffsetY;
    float Sx;
    TNuo4AttachmentsOcupyTypes Ocupy;
};

constexpr TNuo4AttachmentsOcupyTypes kUD = (1 << atotUp) | (1 << atotDown);
constexpr TNuo4AttachmentsOcupyTypes kLR = (1 << atotLeft) | (1 << atotRight);

constexpr TOftenRow kRows[Nuo4AttachOftenCount] = {
    {"agitoHuanQi", u"HuanQi", -1.0f, -0.8f, 1, 0},
    {"agitoRepeat_DC", u"Repeat-DC", 0, 1.8f, 1, 0},
    {"agitoRepeat_DS", u"Repeat-DS", 0, 1.8f, 1, 0},
    {"agitoRepeat_Fine", u"Repeat-Fine", 0, 1.8f, 1, 0},
    {"agitoRepeat_Coda", u"Repeat-Coda", 0, -2.0f, 1, 0},
    {"agitoRepeat_Segno", u"Repeat-Segno", 0, -2.0f, 1, 0},
    {"agitoForce_ppp", u"Force-ppp", 0, -2.0f, 1, 0},
    {"agitoForce_pp", u"Force-pp", 0, -2.0f, 1, 0},
    {"agitoForce_p", u"Force-p", 0, -2.0f, 1, 0},
    {"agitoForce_mp", u"Force-mp", 0, -2.0f, 1, 0},
    {"agitoForce_mf", u"Force-mf", 0, -2.0f, 1, 0},
    {"agitoForce_f", u"Force-f", 0, -2.0f, 1, 0},
    {"agitoForce_ff", u"Force-ff", 0, -2.0f, 1, 0},
    {"agitoForce_fff", u"Force-fff", 0, -2.0f, 1, 0},
    {"agitoArticulation_DunYin", u"DunYin", 0, -1.7f, 1, 0},
    {"agitoArticulation_ZhongYin", u"ZhongYin", 0, -1.7f, 1, 0},
    {"agitoArticulation_BaoChiYin", u"BaoChiYin", 0, -1.7f, 1, 0},
    {"agitoArticulation_YanYin", u"RenYiYanChang", 0, -1.7f, 1, 0},
    {"agitoArticulation_BoYin", u"BoYin", 0, -1.7f, 1, 0},
    {"agitoArticulation_BoYin_Down", u"BoYin-down", 0, -1.7f, 1, 0},
    {"agitoArticulation_ChanYin", u"ChanYin", 0, -1.7f, 1, kUD},
    {"agitoAccompStart", u"YuanKuoHao-Left", -1.0f, 0.2f, 1, kLR},
    {"agitoAccompEnd", u"YuanKuoHao-Right", 1.0f, 0.2f, 1, kLR},
    {"agitoGlideUp_Arrow", u"GlideUp-Arc", -1.1f, -0.3f, 1.2f, kLR},
    {"agitoGlideDown_Arrow", u"GlideDown-Arc", 1.1f, -0.3f, 1.2f, kLR},
    {"agitoGlideUp_Wave", u"GlideUp-Wave", -1.0f, -0.4f, 1, kLR},
    {"agitoGlideDown_Wave", u"GlideDown-Wave", 1.0f, -0.4f, 1, kLR},
    {"agitoFineUp", u"FineUp", -0.9f, 0, 1, kLR},
    {"agitoFineDown", u"FineDown", -0.9f, 0, 1, kLR},
    {"agitoZhenYin", u"ZhenYin", 0.8f, 0, 1, kLR},
    {"agitoWaveVert", u"WaveVert", -0.8f, -1.0f, 1, 0},
    {"agitoLineVert", u"LineVert", -1.0f, -1.0f, 1, 0},
    {"agitoWaveHorz", u"WaveHorz", -0.5f, -2.0f, 1, 0},
    {"agitoLineHorz", u"LineHorz", -0.5f, -2.0f, 1, 0},
    {"agitoRing", u"Ring", 0, -2.0f, 1, 0},
    {"agitoCircle", u"Circle", 0, -2.0f, 1, 0},
    {"agitoRit", u"rit", 0, -2.0f, 1, 0},
    {"agitoRepeat_DS1", u"DS1", 0, 1.8f, 1, 0},
    {"agitoRepeat_DS2", u"DS2", 0, 1.8f, 1, 0},
    {"agitoRepeat_Segno1", u"Segno1", 0, -2.0f, 1, 0},
    {"agitoRepeat_Segno2", u"Segno2", 0, -2.0f, 1, 0},
    {"agitoRepeat_DS3", u"DS3", 0, 1.8f, 1, 0},
    {"agitoRepeat_DS12", u"DS12", 0, 1.8f, 1, 0},
    {"agitoRepeat_DS13", u"DS13", 0, 1.8f, 1, 0},
    {"agitoRepeat_DS23", u"DS23", 0, 1.8f, 1, 0},
    {"agitoRepeat_Segno3", u"Segno3", 0, -2.0f, 1, 0},
    {"agitoRepeat_Segno12", u"Segno12", 0, -2.0f, 1, 0},
    {"agitoRepeat_Segno13", u"Segno13", 0, -2.0f, 1, 0},
    {"agitoRepeat_Segno23", u"Segno23", 0, -2.0f, 1, 0},
};

}  // namespace

const char* EnumName(TNuo4AttachmentsGroupItemType_Often AValue) {
    return AValue < Nuo4AttachOftenCount ? kRows[AValue].EnumText : "";
}

const char16_t* AttachOftenName(TNuo4AttachmentsGroupItemType_Often AValue) {
    return AValue < Nuo4AttachOftenCount ? kRows[AValue].Name : u"";
}

bool ABC_ParseAttachOftenName(TText AText, TKoRange ARange,
                              TNuo4AttachmentsGroupItemType_Often& AValue, int32_t& AEndPos) {
    static const std::vector<TText> Names = [] {
        std::vector<TText> L;
        for (const auto& R : kRows) L.push_back(R.Name);
        return L;
    }();
    int Index;
    if (!ABC_StartsWithOneOf(AText, ARange, Names, false, true, Index, AEndPos)) return false;
    AValue = static_cast<TNuo4AttachmentsGroupItemType_Often>(Index);
    return true;
}

const TrecNuo4AttachOftenDefaults& AttachOftenDefaults(TNuo4AttachmentsGroupItemType_Often AValue) {
    static const std::array<TrecNuo4AttachOftenDefaults, Nuo4AttachOftenCount> Table = [] {
        std::array<TrecNuo4AttachOftenDefaults, Nuo4AttachOftenCount> T{};
        for (int I = 0; I < Nuo4AttachOftenCount; ++I) {
            T[I].OffsetCoef = {kRows[I].OffsetX, kRows[I].OffsetY};
            T[I].Transform.Sx = kRows[I].Sx;
            T[I].Ocupy = kRows[I].Ocupy;
        }
        return T;
    }();
    return Table[AValue < Nuo4AttachOftenCount ? AValue : 0];
}

}  // namespace nuo4
