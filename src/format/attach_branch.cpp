#include "format/attach_branch.h"

#include <algorithm>

#include "format/attach_symbols.h"

namespace nuo4 {

using namespace attach_values;

void TNuo4AutoAlignEntries::Set(size_t AIndex, const TrecNuo4SymbolControlOptions_AWCoef& AItem) {
    if (AIndex >= FItems.size()) FItems.resize(AIndex + 1);
    FItems[AIndex] = AItem;
}

bool TNuo4AutoAlignEntries::operator==(const TNuo4AutoAlignEntries& AOther) const {
    const size_t N = std::max(FItems.size(), AOther.FItems.size());
    for (size_t I = 0; I < N; ++I)
        if (!((*this)[I] == AOther[I])) return false;
    return true;
}

int32_t TrecNuo4AttachBranchAutoAlignInfo::GetValidCount() const {
    return SymbolCount < 0 ? 0 : SymbolCount > Capacity ? Capacity : SymbolCount;
}

void TrecNuo4AttachBranchAutoAlignInfo::SetSymbolCount(int32_t ACount) {
    SymbolCount = ACount < 0 ? 0 : ACount > Capacity ? Capacity : ACount;
}

bool TrecNuo4AttachBranchAutoAlignInfo::SetItem(int32_t AIndex,
                                                const TrecNuo4SymbolControlOptions_AWCoef& AItem) {
    if (AIndex < 0 || AIndex >= Capacity) return false;
    Symbols.Set(size_t(AIndex), AItem);
    if (SymbolCount <= AIndex) SymbolCount = AIndex + 1;
    return true;
}

void TrecNuo4SymbolAttachBranch::Initialize(TText AABCText_Voice, TText AABCText_Lyrics,
                                            TNuo4NoteSubStyle ANoteSubStyle, float AScale) {
    SetToDefault();
    SetABCText_Voice(AABCText_Voice);
    SetABCText_Lyrics(AABCText_Lyrics);
    bForceUseSubStyle = true;
    SubStyleToForceUse = ANoteSubStyle;
    Transform.Sx = Transform.Sy = AScale;
}

void TrecNuo4SymbolAttachBranch::SetABCText_Voice(TText AValue) {
    FABCText_Voice = ABC_CutToCapacity(std::u16string(AValue), Nuo4CharArray2Capacity);
}

void TrecNuo4SymbolAttachBranch::SetABCText_Lyrics(TText AValue) {
    ABCText_Lyrics = ABC_CutToCapacity(std::u16string(AValue), Nuo4CharArray2Capacity);
}

std::u16string TrecNuo4SymbolAttachBranch::ToABCText() const {
    return ABC_BoolToText(bAutoAlign) + u", " + ABC_FormatInt(InitMeter.FenZi) + u", " +
           ABC_FormatInt(InitMeter.FenMu) + u", " + ABC_FormatInt(InitBeatPos_8thCount) + u", {" +
           ABC_GuardText(FABCText_Voice, tgBraces | tgAfterMark) + u"}, {" +
           ABC_GuardText(ABCText_Lyrics, tgBraces | tgAfterMark) + u"}, " +
           Transform.ToABCText(true) + u", " + ABC_OcupyToText(Ocupy) + u", " +
           ABC_BoolToText(bForceUseSubStyle) + u", " + NoteSubStyleName(SubStyleToForceUse) +
           u", " + ABC_FontUsageName(FontUsageForLyric);
}

namespace {

bool IntegerIn(TText AText, TKoRange AValue, int32_t AMin, int32_t AMax, int32_t& AResult,
               TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    int32_t V;
    if (!Integer(AText, AValue, V) || V < AMin || V > AMax) return false;
    AResult = V;
    ATokens.AddItem(ttNumber, AValue);
    Took(AValue, AEndPos);
    return true;
}

// The inside of a value wrapped in braces (empty for "{}").
bool BracedText(TText AText, TKoRange AValue, std::u16string& AResult) {
    if (!ABC_IsWrappedByBraces(AText, AValue)) return false;
    AResult = ABC_GetRangeText(AText, TKoRange(AValue.StartIndex + 1, AValue.Length - 2));
    return true;
}

}  // namespace

bool TrecNuo4SymbolAttachBranch::FromABCValues(TText AText, const TKoRangeArray& AValues,
                                               TNuo4ABCTokenInfoItems& ATokens, int32_t& AEndPos) {
    AEndPos = -1;
    if (AValues.size() < 5) return false;
    TrecNuo4SymbolAttachBranch R;
    if (!Bool(AText, AValues[0], R.bAutoAlign)) return false;
    ATokens.AddItem(ttBool, AValues[0]);
    Took(AValues[0], AEndPos);
    int32_t FenZi, FenMu;
    if (!IntegerIn(AText, AValues[1], 0, 99, FenZi, ATokens, AEndPos) ||
        !IntegerIn(AText, AValues[2], 0, 9, FenMu, ATokens, AEndPos) ||
        !IntegerIn(AText, AValues[3], 0, 20, R.InitBeatPos_8thCount, ATokens, AEndPos))
        return false;
    R.InitMeter.Initialize(FenZi, FenMu);
    std::u16string Voice;
    if (!BracedText(AText, AValues[4], Voice) || ABC_RangeIsWhite(Voice, TKoRange(0, Voice.size())))
        return false;
    R.SetABCText_Voice(Voice);
    ATokens.AddItem(ttAttachBranchVoice, AValues[4]);
    Took(AValues[4], AEndPos);

    std::u16string Lyrics;
    if (AValues.size() > 5 && BracedText(AText, AValues[5], Lyrics)) {
        R.SetABCText_Lyrics(Lyrics);
        ATokens.AddItem(ttAttachBranchLyrics, AValues[5]);
        Took(AValues[5], AEndPos);
        const auto At = [&](size_t I) {
            return I < AValues.size() ? AValues[I] : TKoRange::Invalid();
        };
        int32_t End;
        if (ReadSymbolTransform(AText, At(6), R.Transform, End, &ATokens)) Took(At(6), AEndPos);
        TNuo4AttachmentsOcupyTypes O;
        if (ABC_ParseOcupy(AText, At(7), O, End) && End == At(7).EndIndex()) {
            R.Ocupy = O;
            ATokens.AddItem(ttOcupy, At(7));
            Took(At(7), AEndPos);
        }
        if (Bool(AText, At(8), R.bForceUseSubStyle)) {
            ATokens.AddItem(ttBool, At(8));
            Took(At(8), AEndPos);
        }
        TNuo4NoteSubStyle SubStyle;
        if (ABC_ParseNoteSubStyle(AText, At(9), true, SubStyle, End)) {
            R.SubStyleToForceUse = SubStyle;
            ATokens.AddItem(ttNoteSubStyle, At(9));
            Took(At(9), AEndPos);
        }
        TNuo4FontUsage Usage;
        if (ABC_ParseFontUsage(AText, At(10), Usage, End)) {
            R.FontUsageForLyric = Usage;
            ATokens.AddItem(ttFontUsage, At(10));
            Took(At(10), AEndPos);
        }
    }
    *this = R;
    return true;
}

}  // namespace nuo4
