#include "editor/app_options.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>

namespace nuo4 {

namespace {

void PutU8(QByteArray& B, int AOffset, uint8_t V) {
    B[AOffset] = char(V);
}
void PutBool(QByteArray& B, int AOffset, bool V) {
    PutU8(B, AOffset, V ? 1 : 0);
}
void PutU32(QByteArray& B, int AOffset, uint32_t V) {
    for (int I = 0; I < 4; ++I) B[AOffset + I] = char((V >> (8 * I)) & 0xFF);
}
void PutI32(QByteArray& B, int AOffset, int32_t V) {
    PutU32(B, AOffset, uint32_t(V));
}
void PutFloat(QByteArray& B, int AOffset, float V) {
    uint32_t U;
    std::memcpy(&U, &V, 4);
    PutU32(B, AOffset, U);
}
// UTF-16 little-endian, cut at AMax code units, terminated by a 0 code unit.
void PutText16(QByteArray& B, int AOffset, const QString& S, int AMax) {
    const int N = std::min<int>(int(S.size()), AMax);
    for (int I = 0; I < N; ++I) {
        const char16_t C = S[I].unicode();
        B[AOffset + 2 * I] = char(C & 0xFF);
        B[AOffset + 2 * I + 1] = char(C >> 8);
    }
    B[AOffset + 2 * N] = 0;
    B[AOffset + 2 * N + 1] = 0;
}
// A length byte and the UTF-8 bytes; a folder too long for the entry is not stored, since a
// cut path names another folder.
void PutFolder(QByteArray& B, int AOffset, const QString& S) {
    QByteArray U = S.toUtf8();
    if (U.size() > TrecNuo4ApplicationOptions::LastFolderMaxLength) U.clear();
    PutU8(B, AOffset, uint8_t(U.size()));
    for (int I = 0; I < U.size(); ++I) B[AOffset + 1 + I] = U[I];
}

uint8_t GetU8(const QByteArray& B, int AOffset) {
    return uint8_t(B[AOffset]);
}
bool GetBool(const QByteArray& B, int AOffset) {
    return GetU8(B, AOffset) != 0;
}
uint32_t GetU32(const QByteArray& B, int AOffset) {
    uint32_t V = 0;
    for (int I = 0; I < 4; ++I) V |= uint32_t(uint8_t(B[AOffset + I])) << (8 * I);
    return V;
}
int32_t GetI32(const QByteArray& B, int AOffset) {
    return int32_t(GetU32(B, AOffset));
}
float GetFloat(const QByteArray& B, int AOffset) {
    const uint32_t U = GetU32(B, AOffset);
    float V;
    std::memcpy(&V, &U, 4);
    return V;
}
QString GetText16(const QByteArray& B, int AOffset, int AMax) {
    QString S;
    for (int I = 0; I < AMax; ++I) {
        const char16_t C =
            char16_t(uint8_t(B[AOffset + 2 * I]) | (uint8_t(B[AOffset + 2 * I + 1]) << 8));
        if (C == 0) break;
        S.append(QChar(C));
    }
    return S;
}
QString GetFolder(const QByteArray& B, int AOffset) {
    const int N = std::min<int>(GetU8(B, AOffset), TrecNuo4ApplicationOptions::LastFolderMaxLength);
    return QString::fromUtf8(B.constData() + AOffset + 1, N);
}

int FolderOffset(int AIndex) {
    return TrecNuo4ApplicationOptions::LastFoldersOffset +
           AIndex * (1 + TrecNuo4ApplicationOptions::LastFolderMaxLength);
}

bool ReadFileBytes(const QString& APath, QByteArray& ABytes) {
    QFile F(APath);
    if (!F.open(QIODevice::ReadOnly)) return false;
    ABytes = F.readAll();
    return true;
}

bool WriteFileBytes(const QString& APath, const QByteArray& ABytes) {
    QDir().mkpath(QFileInfo(APath).absolutePath());
    QSaveFile F(APath);
    if (!F.open(QIODevice::WriteOnly)) return false;
    if (F.write(ABytes) != ABytes.size()) {
        F.cancelWriting();
        return false;
    }
    return F.commit();
}

}  // namespace

void TrecNuo4ApplicationOptions::SetToDefault(const QString& AProgramFolder) {
    *this = TrecNuo4ApplicationOptions();
    PartNames = QStringLiteral("女高\r\n女低\r\n男高\r\n男低\r\n");
    BkImageFileName = QDir(AProgramFolder).filePath(QStringLiteral("image/风景1.jpg"));
}

QByteArray TrecNuo4ApplicationOptions::ToBytes() const {
    QByteArray B(FileSize, '\0');
    PutBool(B, 0, bRestoreWindowPos);
    PutBool(B, 1, bShowQuickStart);
    PutBool(B, 2, bShowBasicIntroduce);
    PutBool(B, 4, bMaximized);
    PutI32(B, 8, WindowLeft);
    PutI32(B, 12, WindowTop);
    PutI32(B, 16, WindowWidth);
    PutI32(B, 20, WindowHeight);
    PutBool(B, 24, bFloatToolWindowVisible);
    PutI32(B, 28, FloatToolWindowLeft);
    PutI32(B, 32, FloatToolWindowTop);
    PutBool(B, 36, bTabIsDVGroupKey);
    PutBool(B, 37, bOldDVGroupOrder);
    PutBool(B, 38, bLetterKeysFourOctaves);
    PutBool(B, 39, bPopupMenuOnDVGroupKey);
    PutBool(B, 40, bAutoBarline);
    PutBool(B, 41, bExportPageNumber);
    PutBool(B, 42, bSoundNote);
    PutU8(B, 44, BraceStyle);
    PutText16(B, 46, PartNames, PartNamesMaxLength);
    // 2048: sixteen integers, written as 0 and not read.
    PutU32(B, 2112, PageBkColor);
    PutU32(B, 2116, SymbolColor);
    PutBool(B, 2120, bUseBkImage);
    PutText16(B, 2122, BkImageFileName, BkImageFileMaxLength);
    PutU8(B, 2524, BkImagePlacement);
    PutBool(B, 2525, bUseTransparency);
    PutFloat(B, 2528, Transparency);
    PutBool(B, 2532, bUseTransparentColor);
    PutU32(B, 2536, TransparentColor);
    PutI32(B, 2540, IMEMode);
    for (int I = 0; I < Nuo4LastFolderCount; ++I) PutFolder(B, FolderOffset(I), LastFolders[I]);
    return B;
}

bool TrecNuo4ApplicationOptions::FromBytes(const QByteArray& B) {
    if (B.size() != FileSize) return false;
    bRestoreWindowPos = GetBool(B, 0);
    bShowQuickStart = GetBool(B, 1);
    bShowBasicIntroduce = GetBool(B, 2);
    bMaximized = GetBool(B, 4);
    WindowLeft = GetI32(B, 8);
    WindowTop = GetI32(B, 12);
    WindowWidth = GetI32(B, 16);
    WindowHeight = GetI32(B, 20);
    bFloatToolWindowVisible = GetBool(B, 24);
    FloatToolWindowLeft = GetI32(B, 28);
    FloatToolWindowTop = GetI32(B, 32);
    bTabIsDVGroupKey = GetBool(B, 36);
    bOldDVGroupOrder = GetBool(B, 37);
    bLetterKeysFourOctaves = GetBool(B, 38);
    bPopupMenuOnDVGroupKey = GetBool(B, 39);
    bAutoBarline = GetBool(B, 40);
    bExportPageNumber = GetBool(B, 41);
    bSoundNote = GetBool(B, 42);
    BraceStyle = GetU8(B, 44);
    PartNames = GetText16(B, 46, PartNamesMaxLength);
    PageBkColor = GetU32(B, 2112);
    SymbolColor = GetU32(B, 2116);
    bUseBkImage = GetBool(B, 2120);
    BkImageFileName = GetText16(B, 2122, BkImageFileMaxLength);
    BkImagePlacement = GetU8(B, 2524);
    bUseTransparency = GetBool(B, 2525);
    Transparency = GetFloat(B, 2528);
    bUseTransparentColor = GetBool(B, 2532);
    TransparentColor = GetU32(B, 2536);
    IMEMode = GetI32(B, 2540);
    LastFolders = LastFoldersFromBytes(B);
    return true;
}

std::array<QString, Nuo4LastFolderCount> TrecNuo4ApplicationOptions::LastFoldersFromBytes(
    const QByteArray& ABytes) {
    std::array<QString, Nuo4LastFolderCount> R;
    if (ABytes.size() != FileSize) return R;
    for (int I = 0; I < Nuo4LastFolderCount; ++I) R[I] = GetFolder(ABytes, FolderOffset(I));
    return R;
}

QString Nuo4ApplicationOptionsFilePath() {
    QString Base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (Base.isEmpty()) Base = QDir::homePath() + QStringLiteral("/.config");
    return Base + QStringLiteral("/Nuo4/Nuo4Options.cfg");
}

bool LoadApplicationOptions(const QString& APath, TrecNuo4ApplicationOptions& AOptions) {
    QByteArray B;
    if (!ReadFileBytes(APath, B)) return false;
    return AOptions.FromBytes(B);
}

bool SaveApplicationOptions(const QString& APath, const TrecNuo4ApplicationOptions& AOptions) {
    TrecNuo4ApplicationOptions Out = AOptions;
    QByteArray Old;
    if (ReadFileBytes(APath, Old) && Old.size() == TrecNuo4ApplicationOptions::FileSize)
        Out.LastFolders = TrecNuo4ApplicationOptions::LastFoldersFromBytes(Old);
    return WriteFileBytes(APath, Out.ToBytes());
}

bool SaveApplicationOptions_LastFolders(const QString& APath,
                                        const TrecNuo4ApplicationOptions& AOptions) {
    QByteArray B;
    if (!ReadFileBytes(APath, B) || B.size() != TrecNuo4ApplicationOptions::FileSize)
        return WriteFileBytes(APath, AOptions.ToBytes());
    for (int I = 0; I < Nuo4LastFolderCount; ++I)
        PutFolder(B, FolderOffset(I), AOptions.LastFolders[I]);
    return WriteFileBytes(APath, B);
}

}  // namespace nuo4
