#pragma once
// The often-used marks of the attachments section: their written names and the defaults a
// new mark takes (offset from its owner, transform, occupancy).

#include <cstdint>

#include "format/abc_common.h"
#include "format/symbol_transform.h"

namespace nuo4 {

enum TNuo4AttachmentsGroupItemType_Often : uint8_t {
    agitoHuanQi,
    agitoRepeat_DC,
    agitoRepeat_DS,
    agitoRepeat_Fine,
    agitoRepeat_Coda,
    agitoRepeat_Segno,
    agitoForce_ppp,
    agitoForce_pp,
    agitoForce_p,
    agitoForce_mp,
    agitoForce_mf,
    agitoForce_f,
    agitoForce_ff,
    agitoForce_fff,
    agitoArticulation_DunYin,
    agitoArticulation_ZhongYin,
    agitoArticulation_BaoChiYin,
    agitoArticulation_YanYin,
    agitoArticulation_BoYin,
    agitoArticulation_BoYin_Down,
    agitoArticulation_ChanYin,
    agitoAccompStart,
    agitoAccompEnd,
    agitoGlideUp_Arrow,
    agitoGlideDown_Arrow,
    agitoGlideUp_Wave,
    agitoGlideDown_Wave,
    agitoFineUp,
    agitoFineDown,
    agitoZhenYin,
    agitoWaveVert,
    agitoLineVert,
    agitoWaveHorz,
    agitoLineHorz,
    agitoRing,
    agitoCircle,
    agitoRit,
    agitoRepeat_DS1,
    agitoRepeat_DS2,
    agitoRepeat_Segno1,
    agitoRepeat_Segno2,
    agitoRepeat_DS3,
    agitoRepeat_DS12,
    agitoRepeat_DS13,
    agitoRepeat_DS23,
    agitoRepeat_Segno3,
    agitoRepeat_Segno12,
    agitoRepeat_Segno13,
    agitoRepeat_Segno23,
};
constexpr int Nuo4AttachOftenCount = 49;
const char* EnumName(TNuo4AttachmentsGroupItemType_Often AValue);

// The name written in the text ("HuanQi", "Repeat-DC", ... "Segno23").
const char16_t* AttachOftenName(TNuo4AttachmentsGroupItemType_Often AValue);
// A name at the start of the range, ignoring case, no word end; the longest name wins.
bool ABC_ParseAttachOftenName(TText AText, TKoRange ARange,
                              TNuo4AttachmentsGroupItemType_Often& AValue, int32_t& AEndPos);

// Defaults of a new mark of the type (the glyph itself belongs to the music font).
struct TrecNuo4AttachOftenDefaults {
    TNuo4PointF OffsetCoef;
    TrecNuo4SymbolTransform2 Transform;
    TNuo4AttachmentsOcupyTypes Ocupy = 0;
};
const TrecNuo4AttachOftenDefaults& AttachOftenDefaults(TNuo4AttachmentsGroupItemType_Often AValue);

}  // namespace nuo4
