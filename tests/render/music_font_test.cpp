#include "render/music_font.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRawFont>
#include <map>

#include "format/abc_buffer.h"
#include "render/note_style.h"

using namespace nuo4;

namespace {

QByteArray ReadFile(const QString& APath) {
    QFile F(APath);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

QJsonObject Descriptors() {
    static const QJsonObject J =
        QJsonDocument::fromJson(
            ReadFile(QStringLiteral(NUO4_SOURCE_DIR "/tools/musicfont/descriptors.json")))
            .object();
    return J;
}

QRawFont FontFile() {
    return QRawFont(ReadFile(QStringLiteral(NUO4_SOURCE_DIR "/resources/fonts/Nuo4Core.ttf")), 1000,
                    QFont::PreferNoHinting);
}

// Ink box of a glyph in design units, y up: x left, y top, width, height.
QRectF InkBox(const QRawFont& AFont, char16_t AUnicode) {
    const QList<quint32> G = AFont.glyphIndexesForString(QString(QChar(AUnicode)));
    if (G.isEmpty() || G[0] == 0) return QRectF();
    const QRectF R = AFont.pathForGlyph(G[0]).boundingRect();
    return QRectF(R.left(), -R.top(), R.width(), R.height());
}

QRectF BoxOf(const QJsonObject& ABox) {
    return QRectF(ABox["x"].toDouble(), ABox["y"].toDouble(), ABox["w"].toDouble(),
                  ABox["h"].toDouble());
}

// Whether an ink box (y up, Y = top) agrees with a descriptor box under its fit mode, each
// edge within 2% of the box size.
std::string FitError(const QRectF& AInk, const QRectF& ABox, QPointF ARef, const QString& AFit) {
    const double Tx = 0.02 * ABox.width(), Ty = 0.02 * ABox.height();
    const double IL = AInk.x(), IR = AInk.x() + AInk.width(), IT = AInk.y(),
                 IB = AInk.y() - AInk.height();
    const double BL = ABox.x(), BR = ABox.x() + ABox.width(), BT = ABox.y(),
                 BB = ABox.y() - ABox.height();
    auto Near = [](double A, double B, double T) { return std::fabs(A - B) <= T; };
    const bool bInsideX = IL >= BL - Tx && IR <= BR + Tx;
    const bool bInsideY = IT <= BT + Ty && IB >= BB - Ty;
    const bool bFullHeight = Near(IT, BT, Ty) && Near(IB, BB, Ty);
    bool bOk = false;
    if (AFit == "fill")
        bOk = Near(IL, BL, Tx) && Near(IR, BR, Tx) && bFullHeight;
    else if (AFit == "cell-center")
        bOk = bInsideX && bFullHeight && Near((IL + IR) / 2, (BL + BR) / 2, Tx);
    else if (AFit == "cell-left")
        bOk = bInsideX && bFullHeight && Near(IL, BL, Tx);
    else if (AFit == "cell-ref")
        bOk = bInsideX && bInsideY && Near(IR, BR, Tx) && Near((IT + IB) / 2, ARef.y(), Ty);
    if (bOk) return "";
    char Buf[200];
    snprintf(Buf, sizeof Buf, "%s: ink (%.0f, %.0f, %.0f, %.0f) box (%.0f, %.0f, %.0f, %.0f)",
             qPrintable(AFit), AInk.x(), AInk.y(), AInk.width(), AInk.height(), ABox.x(), ABox.y(),
             ABox.width(), ABox.height());
    return Buf;
}

// A white image 40 x 40 mm at 10 pixels per millimetre and a millimetre surface on it.
struct TSurface {
    QImage Img{400, 400, QImage::Format_ARGB32};
    QPainter P;
    std::unique_ptr<TKoGraphics> G;
    TSurface() {
        Img.setDotsPerMeterX(10000);
        Img.setDotsPerMeterY(10000);
        Img.fill(Qt::white);
        P.begin(&Img);
        G = std::make_unique<TKoGraphics>(&P);
        PrepareGraphics(*G, 1.0);
    }
};

void ExpectRectNear(const QRectF& A, const QRectF& B, double ATol, const char* AWhat) {
    EXPECT_NEAR(A.left(), B.left(), ATol) << AWhat;
    EXPECT_NEAR(A.top(), B.top(), ATol) << AWhat;
    EXPECT_NEAR(A.right(), B.right(), ATol) << AWhat;
    EXPECT_NEAR(A.bottom(), B.bottom(), ATol) << AWhat;
}

}  // namespace

// ---- The font file ------------------------------------------------------------------------

TEST(CoreFontFile, MetricsAndFamilyAsTheGlyphCodeAssumes) {
    const QRawFont F = FontFile();
    ASSERT_TRUE(F.isValid());
    EXPECT_EQ(F.unitsPerEm(), 1000);
    EXPECT_NEAR(F.ascent(), 500, 1e-6);
    EXPECT_NEAR(F.descent(), 0, 1e-6);
    EXPECT_EQ(F.familyName(), "Nuo4Core");
    EXPECT_EQ(F.style(), QFont::StyleNormal);
}

TEST(CoreFontFile, EveryDescriptorGlyphFitsItsBox) {
    const QRawFont F = FontFile();
    const QJsonArray Ds = Descriptors()["descriptors"].toArray();
    ASSERT_EQ(Ds.size(), Nuo4CoreFontSymbolCount);
    for (const auto& V : Ds) {
        const QJsonObject D = V.toObject();
        const char16_t Code = char16_t(D["unicode"].toInt());
        const QRectF Ink = InkBox(F, Code);
        ASSERT_FALSE(Ink.isEmpty()) << qPrintable(D["shortName"].toString());
        const QJsonObject R = D["refPt"].toObject();
        EXPECT_EQ(FitError(Ink, BoxOf(D["box"].toObject()),
                           QPointF(R["x"].toDouble(), R["y"].toDouble()), D["fit"].toString()),
                  "")
            << qPrintable(D["shortName"].toString());
    }
}

TEST(CoreFontFile, EveryFamilyGlyphFitsTheBoxOfItsDescriptor) {
    const QRawFont F = FontFile();
    int Checked = 0;
    for (const auto& V : Descriptors()["families"].toArray()) {
        const QJsonObject Fam = V.toObject();
        const int I = CoreFontSymbolInfo_IndexOf(Fam["descriptor"].toString().toStdU16String());
        ASSERT_GE(I, 0);
        const auto& Info = Nuo4CoreFontSymbols[I];
        for (int K = 0; K < Fam["count"].toInt(); ++K) {
            const char16_t Code = char16_t(Fam["first"].toInt() + K);
            const QRectF Ink = InkBox(F, Code);
            ASSERT_FALSE(Ink.isEmpty()) << std::hex << int(Code);
            EXPECT_EQ(FitError(Ink, Info.BlackBox, Info.RefPt, Fam["fit"].toString()), "")
                << qPrintable(Fam["name"].toString()) << " U+" << std::hex << int(Code);
            ++Checked;
        }
    }
    EXPECT_EQ(Checked, 36 + 3 + 10 + 10 + 7);
}

TEST(CoreFontSymbols, TableIsTheGeneratedCopyOfTheDescriptorFile) {
    const QJsonArray Ds = Descriptors()["descriptors"].toArray();
    ASSERT_EQ(Ds.size(), Nuo4CoreFontSymbolCount);
    for (int I = 0; I < Nuo4CoreFontSymbolCount; ++I) {
        const QJsonObject D = Ds[I].toObject();
        const auto& S = Nuo4CoreFontSymbols[I];
        EXPECT_EQ(QString::fromUtf16(S.ShortName), D["shortName"].toString()) << I;
        EXPECT_EQ(int(S.Unicode), D["unicode"].toInt()) << I;
        EXPECT_EQ(S.BlackBox, BoxOf(D["box"].toObject())) << I;
        const QJsonObject R = D["refPt"].toObject();
        EXPECT_EQ(S.RefPt, QPointF(R["x"].toDouble(), R["y"].toDouble())) << I;
    }
    // A few rows as the design lists them.
    EXPECT_EQ(CoreFontSymbolInfo_IndexOf(u"BoYin-Down"), cfsBoYinDown);
    EXPECT_EQ(CoreFontSymbolInfo(cfsRit).Unicode, 0xF05E);
    EXPECT_EQ(CoreFontSymbolInfo(cfsHuaKuoHao).BlackBox, QRectF(0, 859, 141, 1000));
    EXPECT_EQ(QString::fromUtf16(CoreFontSymbolInfo(cfsTempoQuarterDot).ShortName),
              QString::fromUtf8("速度-J=(4thDot)"));
    EXPECT_EQ(CoreFontSymbolInfo_IndexOf(u"NoSuchGlyph"), -1);
    EXPECT_STREQ(EnumName(cfsRepeat_Segno23), "cfsRepeat_Segno23");
    EXPECT_STREQ(EnumName(TNuo4CoreFontSymbol(200)), "");
}

TEST(CoreFontCodePoints, DigitFacesAndDrumCrosses) {
    EXPECT_EQ(CoreFont_NoteDigitCode(0, dfFace0), 0x0030);
    EXPECT_EQ(CoreFont_NoteDigitCode(DigitDrum, dfFace0), 0x0038);
    // Nine code points per face: digit 5 of face 2 is U+0047 and U+0049 is its digit 7.
    EXPECT_EQ(CoreFont_NoteDigitCode(5, dfFace2), 0x0047);
    EXPECT_EQ(CoreFont_NoteDigitCode(7, dfFace2), 0x0049);
    EXPECT_EQ(CoreFont_NoteDigitCode(DigitDrum, dfFace3), 0x0053);
    const QJsonArray Glyphs = Descriptors()["glyphs"].toArray();
    std::map<int, QString> Names;
    for (const auto& G : Glyphs)
        Names[G.toObject()["unicode"].toInt()] = G.toObject()["name"].toString();
    EXPECT_EQ(Names[0x47], "digit5.upright");
    EXPECT_EQ(Names[0x53], "drum.handwritten");
}

// ---- Glyph paths --------------------------------------------------------------------------

TEST(CoreFontGlyphs, ReferencePointLandsOnTheOriginAndTheBoxIsScaled) {
    TNuo4MusicFont F;
    ASSERT_TRUE(F.CoreFontLoaded());
    const auto& Info = CoreFontSymbolInfo(cfsDunYin);  // box 226 x 318, RefPt (113, 182)
    TGPRectF B;
    double Sx = 0, Sy = 0;
    const QPainterPath P =
        F.CreatePath_CoreFont_Char_NoCached(nullptr, Info, TGPSizeF(2, 3), B, Sx, Sy, false);
    EXPECT_NEAR(Sx, 2 / (0.006 * 226), 1e-9);
    EXPECT_NEAR(Sy, 3 / (0.006 * 318), 1e-9);
    // RefPt at the box's horizontal centre and bottom: the box spans -1..1 and -3..0.
    ExpectRectNear(B, TGPRectF(-1, -3, 2, 3), 1e-9, "bounds");
    ExpectRectNear(P.boundingRect(), B, 0.02 * 3, "ink");
    // Only calculating gives the same bounds and no path.
    TGPRectF B2;
    EXPECT_TRUE(F.CreatePath_CoreFont_Char_NoCached(nullptr, Info, TGPSizeF(2, 3), B2, Sx, Sy, true)
                    .isEmpty());
    EXPECT_EQ(B2, B);
}

TEST(CoreFontGlyphs, NoteDigitsFillTheDigitCellOfTheirStyle) {
    Nuo4Render_Init();
    TrecNuo4DocOptions O;
    O.SetToDefault();
    RebuildAll(O);
    TNuo4MusicFont F;
    const TGPSizeF Zip = GetPureNoteStylePtr(0, nssZip)->GetDigitSize();
    EXPECT_NEAR(Zip.width(), 2.4, 1e-5);
    EXPECT_NEAR(Zip.height(), 2.1, 1e-5);
    for (int Face = dfFace0; Face <= dfFace3; ++Face) {
        const QRectF R =
            F.CreatePath_NoteDigit(nullptr, 3, TNuo4DigitFace(Face), Zip).boundingRect();
        EXPECT_NEAR(R.top(), -2.1, 0.02 * 2.1) << Face;
        EXPECT_NEAR(R.bottom(), 0, 0.02 * 2.1) << Face;
        EXPECT_NEAR(R.center().x(), 0, 0.02 * 2.4) << Face;
        EXPECT_LE(R.width(), 2.4 * 1.02) << Face;
    }
    // The face-2 digit 5 is the glyph at U+0047.
    TGPRectF B;
    const QPainterPath D5 = F.CreatePath_NoteDigit(nullptr, 5, dfFace2, Zip);
    const QPainterPath G47 = F.CreatePath_CoreFont_Char(
        nullptr, CoreFontSymbolInfo(cfsDigit0).WithUnicode(0x47), Zip, B, false);
    EXPECT_EQ(D5, G47);
    EXPECT_NE(D5, F.CreatePath_NoteDigit(nullptr, 7, dfFace2, Zip));
}

TEST(CoreFontGlyphs, DigitSizedFormScalesDesignUnitsByTheDigitWidth) {
    TNuo4MusicFont F;
    TGPRectF B;
    // 2.4 mm digit width: 0.006 mm per unit, twice that with scale 2.
    F.CreatePath_CoreFont_Char(nullptr, CoreFontSymbolInfo(cfsRepeat_Coda), TGPSizeF(2.4, 3), 2.0,
                               B, true);
    EXPECT_NEAR(B.width(), 551 * 0.012, 1e-9);
    EXPECT_NEAR(B.height(), 630 * 0.012, 1e-9);
    EXPECT_NEAR(B.left(), -276 * 0.012, 1e-9);
    EXPECT_NEAR(B.top(), -630 * 0.012, 1e-9);
}

TEST(CoreFontGlyphs, AccidentalsStandInTheirCellLeftOfTheReference) {
    TNuo4MusicFont F;
    EXPECT_TRUE(F.CreatePath_Accidental(nullptr, ssNone, 1.26, 3.6).isEmpty());
    // Natural box 200 x 593, RefPt (200, 204): the cell spans x -W..0, y -296/593 H .. 204/593 H.
    const double W = 1.26, H = 3.6;
    const QRectF Cell(-W, -H * 296 / 593, W, H);
    QPainterPath Prev;
    for (TNuo4Accidental A : {ssSharp, ssFlat, ssNatural}) {
        const QPainterPath P = F.CreatePath_Accidental(nullptr, A, W, H);
        ASSERT_FALSE(P.isEmpty()) << int(A);
        const QRectF R = P.boundingRect();
        EXPECT_GE(R.left(), Cell.left() - 0.02 * W);
        EXPECT_NEAR(R.right(), 0, 0.02 * W);
        EXPECT_GE(R.top(), Cell.top() - 0.02 * H);
        EXPECT_LE(R.bottom(), Cell.bottom() + 0.02 * H);
        EXPECT_NE(P, Prev);
        Prev = P;
    }
}

TEST(CoreFontGlyphs, ScriptStrokesFillTheRectangleAskedFor) {
    TNuo4MusicFont F;
    const TGPRectF R(1, 2, 3, 0.25);
    ExpectRectNear(F.CreateScriptLine_Horz(nullptr, R).boundingRect(), R, 0.02 * 3, "horz");
    const TGPRectF V(-1, -4, 0.3, 4);
    ExpectRectNear(F.CreateScriptLine_Vert(nullptr, V).boundingRect(), V, 0.02 * 4, "vert");
    const TGPRectF D(5, 5, 0.6, 0.7);
    ExpectRectNear(F.CreateScriptDot(nullptr, D).boundingRect(), D, 0.02, "dot");
}

TEST(CoreFontGlyphs, CodePointsOfTheEmbeddedFont) {
    TNuo4MusicFont F;
    EXPECT_TRUE(F.CodePointExsitsForCoreFont(0x0030));
    EXPECT_TRUE(F.CodePointExsitsForCoreFont(0x0020));  // the eighth-note tempo glyph
    EXPECT_TRUE(F.CodePointExsitsForCoreFont(0xF05E));
    EXPECT_TRUE(F.CodePointExsitsForCoreFont(0x266B));  // an extend symbol
    EXPECT_FALSE(F.CodePointExsitsForCoreFont(0x4E00));
    EXPECT_FALSE(F.CodePointExsitsForCoreFont(0xF7FF));
}

TEST(CoreFontGlyphs, MissingResourceGivesEmptyGlyphsWithComputedSizes) {
    TNuo4MusicFont Missing(QStringLiteral("NoSuchResource"));
    TNuo4MusicFont Loaded;
    EXPECT_FALSE(Missing.CoreFontLoaded());
    EXPECT_FALSE(Missing.GetFontInfoPtr(fuCore)->IsAssigned());
    EXPECT_TRUE(Missing.GetFontInfoPtr(fuCore)->Family.IsEmpty());
    EXPECT_NEAR(Missing.GetFontInfoPtr(fuCore)->FontSizePerDesignUnit, 0.006, 1e-12);
    EXPECT_TRUE(Loaded.GetFontInfoPtr(fuCore)->IsAssigned());
    EXPECT_EQ(Loaded.GetFontInfoPtr(fuCore)->FamilyName, "Nuo4Core");
    EXPECT_NEAR(Loaded.GetFontInfoPtr(fuCore)->WinAscent, 3.0, 1e-9);
    TGPRectF BM, BL;
    const auto& Info = CoreFontSymbolInfo(cfsYanYin);
    EXPECT_TRUE(
        Missing.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(2, 1.2), BM, false).isEmpty());
    EXPECT_FALSE(
        Loaded.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(2, 1.2), BL, false).isEmpty());
    EXPECT_EQ(BM, BL);
    EXPECT_FALSE(Missing.CodePointExsitsForCoreFont(0x30));
    EXPECT_TRUE(Missing.CreatePath_NoteDigit(nullptr, 1, dfFace0, TGPSizeF(2.4, 3)).isEmpty());
}

// ---- Caches -------------------------------------------------------------------------------

TEST(CoreCharCache, BoxesWithinTheToleranceShareOneEntry) {
    TNuo4MusicFont F;
    const auto& Info = CoreFontSymbolInfo(cfsZhongYin);
    TGPRectF B1, B2, B3;
    const QPainterPath P1 = F.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(2, 1.5), B1, false);
    ASSERT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 1);
    const QPainterPath P2 =
        F.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(2.005, 1.505), B2, false);
    EXPECT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 1);
    EXPECT_EQ(P2, P1);  // the earlier path, not one 0.005 mm larger
    EXPECT_EQ(B2, B1);
    // A bounds-only request is answered from the cache too.
    EXPECT_TRUE(
        F.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(1.995, 1.5), B3, true).isEmpty());
    EXPECT_EQ(B3, B1);
    EXPECT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 1);
    // Beyond the tolerance, or another code point: new entries.
    F.CreatePath_CoreFont_Char(nullptr, Info, TGPSizeF(2.02, 1.5), B3, false);
    F.CreatePath_CoreFont_Char(nullptr, Info.WithUnicode(0x24), TGPSizeF(2, 1.5), B3, false);
    EXPECT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 3);
    EXPECT_EQ(F.CachedCoreCharPathArray_IndexOf(Info, TGPSizeF(2.009, 1.491)), 0);
    EXPECT_EQ(F.CachedCoreCharPathArray_IndexOf(Info, TGPSizeF(2.5, 1.5)), -1);
    F.CachedCoreCharPathArray_Clear();
    EXPECT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 0);
    EXPECT_EQ(F.CachedCoreCharPathArray_IndexOf(Info, TGPSizeF(2, 1.5)), -1);
}

TEST(CoreCharCache, DescriptorsSharingACodePointKeepTheirOwnPlacement) {
    TNuo4MusicFont F;
    // BoYin2 and BoYin-Down are both U+002B; their boxes differ by one design unit.
    const auto& A = CoreFontSymbolInfo(cfsBoYin2);
    const auto& B = CoreFontSymbolInfo(cfsBoYinDown);
    ASSERT_EQ(A.Unicode, B.Unicode);
    TGPRectF BA, BB;
    F.CreatePath_CoreFont_Char(nullptr, A, TGPSizeF(2.7, 1.1), 2.4, BA, false);
    F.CreatePath_CoreFont_Char(nullptr, B, TGPSizeF(2.7, 1.1), 2.4, BB, false);
    EXPECT_EQ(F.CachedCoreCharPathArray_GetItemCount(), 2);
    EXPECT_NE(BA.left(), BB.left());
}

TEST(TextPathCache, KeysByUsageTextPointAndPosition) {
    TSurface S;
    TNuo4MusicFont F;
    F.FontInfoArray_Set(fuDefault, QStringLiteral("Arial"), 3.5, 0);
    F.FontInfoArray_Set(fuLyric, QStringLiteral("微软雅黑"), 3.2, 0);
    F.FontInfoArray_Set(fuTitle, QStringLiteral("微软雅黑"), 6, 0);
    TGPRectF B1, B2, BN;
    const QPainterPath P1 = F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QStringLiteral("歌词"),
                                                      QPointF(10, 10), rpMiddleBaseline, B1, false);
    ASSERT_FALSE(P1.isEmpty());
    const QPainterPath PN = F.GetTextPath_AtPos_NoCached(
        S.G.get(), fuLyric, QStringLiteral("歌词"), QPointF(10, 10), rpMiddleBaseline, BN, false);
    EXPECT_EQ(P1, PN);
    EXPECT_EQ(B1, BN);
    EXPECT_NEAR(B1.center().x(), 10, 1e-9);
    // Within 0.01 mm: the stored entry.
    F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QStringLiteral("歌词"), QPointF(10.008, 9.995),
                              rpMiddleBaseline, B2, false);
    EXPECT_EQ(B2, B1);
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 1);
    // Other text, position or usage: new entries.
    F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QStringLiteral("歌"), QPointF(10, 10),
                              rpMiddleBaseline, B2, false);
    F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QStringLiteral("歌词"), QPointF(10, 10),
                              rpLeftTop, B2, false);
    F.GetCachedTextPath_AtPos(S.G.get(), fuTitle, QStringLiteral("歌词"), QPointF(10, 10),
                              rpMiddleBaseline, B2, true);
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 4);
    EXPECT_EQ(F.CachedTextPathArray_IndexOf(fuTitle, QStringLiteral("歌词"), QPointF(10, 10.01),
                                            rpMiddleBaseline),
              3);
    // Without a surface nothing is measured or stored.
    EXPECT_TRUE(F.GetCachedTextPath_AtPos(nullptr, fuLyric, QStringLiteral("x"), QPointF(0, 0),
                                          rpLeftTop, B2, false)
                    .isEmpty());
    EXPECT_TRUE(B2.isNull());
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 4);
}

TEST(TextPathCache, ChangingAUsageFontDropsOnlyThatUsagesPaths) {
    TSurface S;
    TNuo4MusicFont F;
    F.FontInfoArray_Set(fuLyric, QStringLiteral("微软雅黑"), 3.2, 0);
    F.FontInfoArray_Set(fuTitle, QStringLiteral("微软雅黑"), 6, 0);
    TGPRectF B;
    for (const char* T : {"一", "二", "三"}) {
        F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QString::fromUtf8(T), QPointF(0, 0),
                                  rpLeftTop, B, false);
        F.GetCachedTextPath_AtPos(S.G.get(), fuTitle, QString::fromUtf8(T), QPointF(0, 0),
                                  rpLeftTop, B, false);
    }
    ASSERT_EQ(F.CachedTextPathArray_GetItemCount(), 6);
    // The same font again keeps the entries; another one drops the usage's.
    F.FontInfoArray_Set(fuLyric, QStringLiteral("微软雅黑"), 3.2, 0);
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 6);
    F.FontInfoArray_Set(fuLyric, QStringLiteral("楷体"), 3.2, 0);
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 3);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(F.CachedTextPathItem(I).Key.FontUsage, fuTitle);
    // The survivors are still found by their keys.
    EXPECT_EQ(
        F.CachedTextPathArray_IndexOf(fuTitle, QString::fromUtf8("三"), QPointF(0, 0), rpLeftTop),
        2);
    // A new lyric path is made with the new font.
    TGPRectF BK;
    F.GetCachedTextPath_AtPos(S.G.get(), fuLyric, QString::fromUtf8("一"), QPointF(0, 0), rpLeftTop,
                              BK, false);
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 4);
    F.CachedTextPathArray_ClearAll();
    EXPECT_EQ(F.CachedTextPathArray_GetItemCount(), 0);
}

// ---- Usage fonts --------------------------------------------------------------------------

TEST(UsageFonts, AUsageWithoutAFontDrawsWithTheDefaultFont) {
    TSurface S;
    TNuo4MusicFont F;
    F.FontInfoArray_Set(fuDefault, QStringLiteral("Arial"), 3.5, 0);
    ASSERT_FALSE(F.GetFontInfoPtr(fuMemo3)->IsAssigned());
    EXPECT_EQ(F.GetFont(fuMemo3).FamilyName, F.GetFont(fuDefault).FamilyName);
    EXPECT_EQ(F.GetFont(fuMemo3).Size, 3.5);
    TGPRectF BM, BD;
    const QPainterPath PM = F.GetTextPath_AtPos_NoCached(S.G.get(), fuMemo3, QStringLiteral("Abc"),
                                                         QPointF(1, 1), rpLeftTop, BM, false);
    const QPainterPath PD = F.GetTextPath_AtPos_NoCached(
        S.G.get(), fuDefault, QStringLiteral("Abc"), QPointF(1, 1), rpLeftTop, BD, false);
    EXPECT_FALSE(PM.isEmpty());
    EXPECT_EQ(PM, PD);
    EXPECT_EQ(BM, BD);
    // The unassigned usage reports an invalid record.
    EXPECT_FALSE(F.GetFontInfos()[fuMemo3].IsValid());
}

TEST(UsageFonts, MappedPlatformFamiliesAreObtainedAndMissingOnesFallBack) {
    TNuo4MusicFont F;
    F.FontInfoArray_Set(fuTitle, QStringLiteral("微软雅黑"), 6, 0);
    const auto* T = F.GetFontInfoPtr(fuTitle);
    EXPECT_TRUE(T->Check());
    EXPECT_EQ(T->FamilyName, QStringLiteral("微软雅黑"));
    EXPECT_FALSE(T->Family.IsEmpty());
    EXPECT_NE(T->Family.Name, QStringLiteral("微软雅黑"));  // drawn with an installed family
    EXPECT_GT(T->WinAscent, 0);
    EXPECT_GT(T->FontSizePerDesignUnit, 0);
    F.FontInfoArray_Set(fuLyric, QStringLiteral("NoSuchFamily"), 3, FontStyleBold);
    const auto* L = F.GetFontInfoPtr(fuLyric);
    EXPECT_FALSE(L->Check());
    EXPECT_EQ(L->FamilyName_Init, QStringLiteral("NoSuchFamily"));
    EXPECT_EQ(L->FamilyName, QStringLiteral("Arial"));
    EXPECT_EQ(L->Font.Style, FontStyleBold);
    const TrecNuo4FontInfos Infos = F.GetFontInfos();
    EXPECT_EQ(Infos[fuTitle], (TrecNuo4FontInfo{u"微软雅黑", 6.0f, 0}));
    EXPECT_EQ(Infos[fuLyric], (TrecNuo4FontInfo{u"Arial", 3.0f, fsBold}));
    EXPECT_EQ(Infos[fuCore].FamilyName, u"Nuo4Core");
}

TEST(UsageFonts, SameFamilyStyleAndSizeShareTheItemOfTheFirstUsage) {
    TNuo4MusicFont F;
    F.FontInfoArray_Set(fuMemo1, QStringLiteral("楷体"), 4.0, 0);
    EXPECT_EQ(F.FontInfoArray_IndexOf(QStringLiteral("楷体"), 4.005, 0), fuMemo1);
    EXPECT_EQ(F.FontInfoArray_IndexOf(QStringLiteral("楷体"), 4.02, 0), -1);
    EXPECT_EQ(F.FontInfoArray_IndexOf(QStringLiteral("楷体"), 4.0, FontStyleItalic), -1);
    F.FontInfoArray_Set(fuMemo2, QStringLiteral("楷体"), 4.005, 0);
    EXPECT_EQ(F.GetFontInfoPtr(fuMemo2)->Font.Size, 4.0);  // the shared item's size
    const TKoFontFamily Family = F.GetFontInfoPtr(fuMemo1)->Family;
    EXPECT_EQ(F.FontInfoArray_IndexOf(Family, 4.0, 0), fuMemo1);
    F.FontInfoArray_Set(fuMemo3, Family, 4.0, 0);
    EXPECT_EQ(F.GetFontInfoPtr(fuMemo3)->Font.FamilyName, Family.Name);
    EXPECT_EQ(F.GetFontInfoPtr(fuMemo3)->FamilyName, QStringLiteral("楷体"));
    // Sharing with an item whose request fell back does not inherit its failed request.
    F.FontInfoArray_Set(fuMemo4, QStringLiteral("NoSuchFamily"), 3, 0);
    F.FontInfoArray_Set(fuText, QStringLiteral("Arial"), 3, 0);
    EXPECT_EQ(F.GetFontInfoPtr(fuText)->Font.FamilyName,
              F.GetFontInfoPtr(fuMemo4)->Font.FamilyName);
    EXPECT_TRUE(F.GetFontInfoPtr(fuText)->Check());
    F.FontInfoArray_Clear();
    for (int U = 0; U < Nuo4FontUsageCount; ++U)
        EXPECT_FALSE(F.GetFontInfoPtr(TNuo4FontUsage(U))->IsAssigned());
}

// ---- Drum digits --------------------------------------------------------------------------

TEST(DrumDigit, CrossCoreCharacterOrTextCharacter) {
    Nuo4Render_Init();
    Nuo4DocOptions().SetToDefault();
    RebuildAll();
    TSurface S;
    TNuo4MusicFont& F = Nuo4MusicFont();
    const TGPSizeF D(2.4, 3);
    // No character: the drum cross of the standard face, whatever face is asked elsewhere.
    TrecNuo4DrumPitch None;
    EXPECT_EQ(F.CreatePath_NoteDigit_Drum(S.G.get(), None, D),
              F.CreatePath_NoteDigit(S.G.get(), DigitDrum, dfFace0, D));
    // A music-font character: centred on its advance with the baseline at the origin, at the
    // fuCore size, then scaled and moved by the document options.
    TrecNuo4DrumPitch Core;
    Core.Initiallize(u'一', true);  // not in the music font
    EXPECT_TRUE(F.CreatePath_NoteDigit_Drum(S.G.get(), Core, D).isEmpty());
    Core.Initiallize(0x0054, true);  // general digit 0: design y 100 ... 500
    const QRectF R1 = F.CreatePath_NoteDigit_Drum(S.G.get(), Core, D).boundingRect();
    EXPECT_NEAR(R1.bottom(), -100 * 0.006, 0.02);
    EXPECT_NEAR(R1.top(), -500 * 0.006, 0.02);
    EXPECT_NEAR(R1.center().x(), 0, 0.05);
    Nuo4DocOptions().Param_DrumPitchChar.CoreFont_Scale = 2;
    Nuo4DocOptions().Param_DrumPitchChar.CoreFont_OffsetCoef = {0.5f, -1};
    const QRectF R2 = F.CreatePath_NoteDigit_Drum(S.G.get(), Core, D).boundingRect();
    EXPECT_NEAR(R2.height(), 2 * R1.height(), 1e-6);
    EXPECT_NEAR(R2.center().x(), 0.5 * 2.4, 1e-6);
    EXPECT_NEAR(R2.bottom(), 2 * R1.bottom() - 3, 1e-6);
    // A text character in the fuDrumPitch font, placed at the offset and scaled by the digit
    // size over the document digit size.
    TrecNuo4DrumPitch Text;
    Text.Initiallize(u'x', false);
    const QRectF T1 = F.CreatePath_NoteDigit_Drum(S.G.get(), Text, D).boundingRect();
    ASSERT_FALSE(T1.isEmpty());
    EXPECT_NEAR(T1.center().x(), 0, 0.1);
    EXPECT_LT(T1.bottom(), 0);  // the baseline is 0.1 H above the digit bottom
    const QRectF T2 = F.CreatePath_NoteDigit_Drum(S.G.get(), Text, TGPSizeF(4.8, 3)).boundingRect();
    EXPECT_NEAR(T2.width(), 2 * T1.width(), 1e-6);
    EXPECT_NEAR(T2.height(), T1.height(), 1e-6);
    Nuo4DocOptions().SetToDefault();
}

// ---- Facade -------------------------------------------------------------------------------

TEST(MusicFontFacade, SurfaceFontsAndDigitSize) {
    Nuo4Render_Init();
    Nuo4DocOptions().SetToDefault();
    TSurface S;
    SetDestGraphics(S.G.get());
    EXPECT_EQ(GetDestGraphics(), S.G.get());
    MusicFont_ResetTextFonts();
    EXPECT_EQ(MusicFont_GetFontSize(fuLyric), 3.2f);
    EXPECT_EQ(MusicFont_GetFontInfoItem(fuSubTitle).FamilyName, QStringLiteral("仿宋"));
    MusicFont_SetFont(fuLyric, QStringLiteral("楷体"), 4, FontStyleItalic);
    MusicFont_SetFontSize(fuLyric, 5);
    EXPECT_EQ(MusicFont_GetFontInfoItem(fuLyric).FamilyName, QStringLiteral("楷体"));
    EXPECT_EQ(MusicFont_GetFont(fuLyric).Size, 5);
    EXPECT_EQ(MusicFont_GetFont(fuLyric).Style, FontStyleItalic);
    EXPECT_EQ(MusicFont_GetFontFamily(fuLyric), MusicFont_GetFontInfoItem(fuLyric).Family);
    TGPRectF B;
    EXPECT_FALSE(
        MusicFont_GetTextPath_AtPos(fuLyric, QStringLiteral("la"), QPointF(0, 0), rpLeftTop, B)
            .isEmpty());
    TGPRectF GB;
    Nuo4MusicFont().CreatePath_CoreFont_Char(nullptr, CoreFontSymbolInfo(cfsRing), TGPSizeF(1, 1),
                                             GB, false);
    EXPECT_GT(Nuo4MusicFont().CachedTextPathArray_GetItemCount(), 0);
    MusicFont_ClearAllCaches();  // as after loading a file
    EXPECT_EQ(Nuo4MusicFont().CachedTextPathArray_GetItemCount(), 0);
    EXPECT_EQ(Nuo4MusicFont().CachedCoreCharPathArray_GetItemCount(), 0);
    MusicFont_ResetTextFonts();
    EXPECT_EQ(MusicFont_GetFont(fuLyric).Size, 3.2f);
    EXPECT_EQ(MusicFont_GetFont(fuCore).FamilyName, QStringLiteral("Nuo4Core"));  // untouched
    // The document digit: 3 mm high, 0.8 wide.
    EXPECT_NEAR(DocDigitSize().width(), 2.4, 1e-6);
    EXPECT_NEAR(DocDigitCoefToMM_W(0.5), 1.2, 1e-6);
    EXPECT_NEAR(DocDigitCoefToMM_H(0.5), 1.5, 1e-6);
    EXPECT_NEAR(DocDigitMMToCoef_W(1.2), 0.5, 1e-6);
    EXPECT_NEAR(DocDigitMMToCoef_H(1.5), 0.5, 1e-6);
    SetDestGraphics(nullptr);
}

TEST(MusicFontFacade, ApplyingAFontsSectionReportsMissingButNotMappedFamilies) {
    Nuo4Render_Init();
    TNuo4ABCBuffer B(QString::fromUtf8(".Fonts\rTitle = 微软雅黑, 7\rLyric = NoSuchFamily, 3\r"
                                       "SubTitle = 仿宋, 4\rMemo1 = arial, 3\r"
                                       "WordsByAndMusicBy = 楷体, 4\r")
                         .toStdU16String());
    B.UpdateFonts();
    ASSERT_EQ(B.FontsCheckInfoArray.size(), 1u);
    EXPECT_EQ(B.FontsCheckInfoArray[0].FontUsage, fuLyric);
    EXPECT_EQ(B.FontsCheckInfoArray[0].FamilyName, u"NoSuchFamily");
    EXPECT_EQ(MusicFont_GetFont(fuTitle).Size, 7);
    EXPECT_EQ(MusicFont_GetFontInfoItem(fuLyric).FamilyName, QStringLiteral("Arial"));
    // The title-block edits carry the table's fonts.
    TNuo4ABCTextReplaceItems Items;
    B.SectionFonts_UpdateAllTitleBlockFonts(Items);
    ASSERT_FALSE(Items.empty());
    EXPECT_EQ(QString::fromStdU16String(Items[0].NewText),
              QString::fromUtf8("Title = 微软雅黑, 7.00"));
    MusicFont_ResetTextFonts();
}

TEST(MusicFontFacade, MainDigitOptionRebuildsTheStyleTable) {
    Nuo4Render_Init();
    Nuo4DocOptions().SetToDefault();
    RebuildAll();
    TNuo4ABCBuffer B(u".Options\rDigit = 0, 4.00, 0.80\r");
    B.UpdateOptions();
    EXPECT_NEAR(Nuo4DocOptions().Param_MainDigit.Height, 4.0, 1e-6);
    EXPECT_NEAR(GetPureNoteStylePtr(0, nssNormal)->GetDigitHeight(), 4.0, 1e-6);
    // Options parsed into another record leave the table alone.
    TrecNuo4DocOptions Local;
    TrecNuo4ABCParseInfo_OptionItem Item;
    Item.ItemType = soitDigit;
    Item.Param_Digit.Height = 5;
    Item.ApplyTo(Local);
    EXPECT_NEAR(GetPureNoteStylePtr(0, nssNormal)->GetDigitHeight(), 4.0, 1e-6);
    Nuo4DocOptions().SetToDefault();
    RebuildAll();
}
