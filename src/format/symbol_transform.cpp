#include "format/symbol_transform.h"

#include <cmath>
#include <iterator>

namespace nuo4 {

const char* EnumName(TNuo4RotateType AValue) {
    static constexpr const char* Names[] = {"rtNone", "rt90", "rt180", "rt270", "rtAny"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

float TrecNuo4Rotate::ToAngle() const {
    switch (aType) {
        case rtNone:
            return 0;
        case rt90:
            return 90;
        case rt180:
            return 180;
        case rt270:
            return 270;
        default:
            return Angle;
    }
}

void TrecNuo4Rotate::FromAngle(float AAngle) {
    double R = std::fmod(static_cast<double>(AAngle) + 720.0, 360.0);
    if (R < 0) R += 360.0;
    static constexpr struct {
        double Angle;
        TNuo4RotateType aType;
    } Fixed[] = {{0, rtNone}, {90, rt90}, {180, rt180}, {270, rt270}, {360, rtNone}};
    for (const auto& F : Fixed)
        if (std::fabs(R - F.Angle) <= 0.01) {
            aType = F.aType;
            Angle = 0;
            return;
        }
    aType = rtAny;
    Angle = AAngle;
}

std::u16string TrecNuo4Rotate::ToABCText() const {
    return u"Rotate" + ABC_FormatInt(std::llround(ToAngle()));
}

std::u16string TrecNuo4SymbolTransform2::ToABCText(bool bWithDaKuoHao) const {
    std::u16string S;
    if (!IsDefault()) {
        S = ABC_FormatFloat(Sx, 2) + u", " + ABC_FormatFloat(Sy, 2);
        if (bMirror || bItalic || Rotate.aType != rtNone)
            S += u", " + ABC_BoolToText(bMirror) + u", " + ABC_BoolToText(bItalic) + u", " +
                 Rotate.ToABCText();
    }
    return bWithDaKuoHao ? u"{" + S + u"}" : S;
}

bool ReadRotate(TText AText, TKoRange ARange, TrecNuo4Rotate& ARotate, int32_t& AEndPos) {
    AEndPos = -1;
    if (!ABC_StartsWith(AText, ARange, u"Rotate", false, true)) return false;
    float Angle;
    int32_t End;
    if (!ABC_ParseFloat(AText, ABC_RangeFrom(ARange, ARange.StartIndex + 6), true, Angle, End))
        return false;
    ARotate.FromAngle(Angle);
    AEndPos = End;
    return true;
}

int TrecNuo4SymbolTransform2::ReadParts(TText AText, const TKoRangeArray& APieces, size_t AFirst,
                                        bool bStopAtFailure, TNuo4ABCTokenInfoItems* ATokens) {
    int Count = 0;
    for (size_t I = AFirst; I < APieces.size() && I - AFirst < 5; ++I) {
        const TKoRange P = APieces[I];
        int32_t End;
        bool bRead = false;
        switch (I - AFirst) {
            case 0:
            case 1: {
                float V;
                bRead = ABC_ParseFloat(AText, P, true, V, End);
                if (bRead) (I == AFirst ? Sx : Sy) = V;
                if (bRead && ATokens) ATokens->AddItem(ttNumber, P);
                break;
            }
            case 2:
            case 3: {
                bool B;
                bRead = ABC_ParseBool(AText, P, true, B, End);
                if (bRead) (I - AFirst == 2 ? bMirror : bItalic) = B;
                if (bRead && ATokens) ATokens->AddItem(ttBool, P);
                break;
            }
            default: {
                TrecNuo4Rotate R;
                bRead = ReadRotate(AText, P, R, End);
                if (bRead) Rotate = R;
                if (bRead && ATokens) ATokens->AddItem(ttRotate, P);
                break;
            }
        }
        if (bRead)
            ++Count;
        else if (bStopAtFailure)
            break;
    }
    return Count;
}

bool ReadSymbolTransform(TText AText, TKoRange ARange, TrecNuo4SymbolTransform2& ATransform,
                         int32_t& AEndPos, TNuo4ABCTokenInfoItems* ATokens) {
    AEndPos = -1;
    TKoRange Inner;
    int32_t End;
    if (!ABC_StartsWith(AText, ARange, u"{") ||
        !ABC_RangeBetween(AText, ARange, u"{", u"}", Inner, End))
        return false;
    TrecNuo4SymbolTransform2 T;
    if (Inner.IsNonEmpty())
        T.ReadParts(AText, ABC_SplitBySeparator(AText, Inner, u',', true, true), 0, false, ATokens);
    ATransform = T;
    AEndPos = End;
    return true;
}

}  // namespace nuo4
