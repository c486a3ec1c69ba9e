#pragma once
// Small concrete symbols for the tests of the symbol base: each holds a record of its kind and
// builds one fill element per rectangle it is given.

#include <QImage>
#include <QPainter>
#include <string>
#include <vector>

#include "render/note_style.h"
#include "render/symbol.h"

namespace nuo4::test {

inline QPainterPath RectPath(double AX, double AY, double AW, double AH) {
    QPainterPath P;
    P.addRect(AX, AY, AW, AH);
    return P;
}

template <typename TRec, TNuo4SymbolType AType>
class TTestSymbolBase : public TNuo4SymbolBaseFor<AType> {
  public:
    TRec Rec;
    std::vector<QPainterPath> Parts;
    TGPRectF LayoutBounds{-1, -1, 2, 2};
    int CalcBoundsCalls = 0;
    int CreateElementsCalls = 0;
    std::vector<std::string> RecStyleCalls;

    void CalcBounds(TGPRectF& ARect) override {
        ++CalcBoundsCalls;
        ARect = LayoutBounds;
    }
    void CreateElements() override {
        ++CreateElementsCalls;
        for (const QPainterPath& P : Parts) this->AddElement_FillPath(P);
    }
    void* GetSymbolRecPtr() override { return &Rec; }
    void SetSymbolRec(const void* ASource) override { Rec = *static_cast<const TRec*>(ASource); }
    TNuo4SymbolType GetSymbolType() const override { return AType; }
    void SetRecNoteStyleIndex(const TrecNuo4NoteStyleIndex& A) override {
        RecStyleCalls.push_back("index " + std::to_string(A.MainStyle) + "," +
                                std::to_string(A.SubStyle));
    }
    void SetRecMainStyle(TNuo4NoteMainStyle A) override {
        RecStyleCalls.push_back("main " + std::to_string(A));
    }
    void SetRecSubStyle(TNuo4NoteSubStyle A) override {
        RecStyleCalls.push_back("sub " + std::to_string(A));
    }

  protected:
    void Init(const TRec& ARec) { this->Create(&ARec); }
};

template <typename TRec, TNuo4SymbolType AType>
class TTestSymbol : public TTestSymbolBase<TRec, AType> {
  public:
    explicit TTestSymbol(const TRec& ARec = TRec(), std::vector<QPainterPath> AParts = {}) {
        this->Parts = std::move(AParts);
        this->Init(ARec);
    }
};

// Records of kinds whose record does not matter to the base.
struct TDummyRec {
    int Value = 0;
};

// A note with seven square elements side by side: element i covers x from 1 + 3i to 3 + 3i
// and y from 1 to 3. Its spacing hooks log what the base asks of them.
class TTestNote : public TTestSymbolBase<TrecNuo4SymbolNote, sbstNote> {
  public:
    std::vector<std::string> HookCalls;

    explicit TTestNote(const TrecNuo4SymbolNote& ARec = TrecNuo4SymbolNote()) {
        for (int I = 0; I < 7; ++I) Parts.push_back(RectPath(1 + 3 * I, 1, 2, 2));
        Init(ARec);
    }
    static double ElementCentreX(int AIndex) { return 2 + 3 * AIndex; }

  protected:
    void Note_AutoSetRightLineSpacing(float C) override {
        HookCalls.push_back("lines " + std::to_string(C));
    }
    void Note_AutoSetRightDotSpacing(float C) override {
        HookCalls.push_back("dots " + std::to_string(C));
    }
    void Note_ZoomRightLineSpacing(float F) override {
        HookCalls.push_back("zoom " + std::to_string(F));
    }
    void Note_SetRightLineSpacingCoefArray(const TRightLineSpacingCoefArray& A) override {
        HookCalls.push_back("copy " + std::to_string(A[0]));
    }
};

// A white image of AWmm x AHmm at 10 pixels per millimetre.
inline QImage MakeImage(int AWmm, int AHmm) {
    QImage Img(AWmm * 10, AHmm * 10, QImage::Format_ARGB32);
    Img.setDotsPerMeterX(10000);
    Img.setDotsPerMeterY(10000);
    Img.fill(Qt::white);
    return Img;
}

// Draws the symbol onto a white millimetre image.
inline QImage Render(TNuo4Symbol& ASymbol, int AWmm, int AHmm) {
    QImage Img = MakeImage(AWmm, AHmm);
    {
        QPainter P(&Img);
        TKoGraphics G(&P);
        PrepareGraphics(G, 1.0);
        ASymbol.Draw(G);
    }
    return Img;
}

inline QRgb PixelAtMm(const QImage& AImg, double AXmm, double AYmm) {
    return AImg.pixel(int(AXmm * 10), int(AYmm * 10));
}

// An ARGB colour laid over an opaque pixel.
inline QRgb Over(TGPColor AColor, QRgb AUnder) {
    const double A = (AColor >> 24) / 255.0;
    auto Mix = [A](int F, int U) { return int(F * A + U * (1 - A) + 0.5); };
    return qRgb(Mix((AColor >> 16) & 0xFF, qRed(AUnder)), Mix((AColor >> 8) & 0xFF, qGreen(AUnder)),
                Mix(AColor & 0xFF, qBlue(AUnder)));
}

inline bool Near(QRgb A, QRgb B, int ATolerance = 3) {
    return std::abs(qRed(A) - qRed(B)) <= ATolerance &&
           std::abs(qGreen(A) - qGreen(B)) <= ATolerance &&
           std::abs(qBlue(A) - qBlue(B)) <= ATolerance;
}

inline std::string RgbText(QRgb C) {
    return std::to_string(qRed(C)) + "," + std::to_string(qGreen(C)) + "," +
           std::to_string(qBlue(C));
}

}  // namespace nuo4::test
