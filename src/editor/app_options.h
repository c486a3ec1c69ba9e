#pragma once
// The application options: one record for the whole program, kept as a 3548-byte binary image
// in the user's configuration folder ($XDG_CONFIG_HOME/Nuo4/Nuo4Options.cfg). A file of any
// other size is ignored and the defaults apply.

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace nuo4 {

enum TNuo4LastFolderKind : uint8_t { lfkScore, lfkPDF, lfkImage, lfkMidi };
constexpr int Nuo4LastFolderCount = 4;

struct TrecNuo4ApplicationOptions {
    static constexpr int FileSize = 3548;
    static constexpr int PartNamesMaxLength = 1000;   // UTF-16 code units
    static constexpr int BkImageFileMaxLength = 200;  // UTF-16 code units
    static constexpr int LastFolderMaxLength = 250;   // bytes of UTF-8
    static constexpr int LastFoldersOffset = 2544;

    bool bRestoreWindowPos = true;
    bool bShowQuickStart = false;
    bool bShowBasicIntroduce = true;
    bool bMaximized = false;
    int32_t WindowLeft = 0, WindowTop = 0, WindowWidth = 0, WindowHeight = 0;
    bool bFloatToolWindowVisible = false;
    int32_t FloatToolWindowLeft = 0, FloatToolWindowTop = 0;
    bool bTabIsDVGroupKey = false;
    bool bOldDVGroupOrder = false;
    bool bLetterKeysFourOctaves = false;
    bool bPopupMenuOnDVGroupKey = true;
    bool bAutoBarline = false;
    bool bExportPageNumber = false;
    bool bSoundNote = true;
    uint8_t BraceStyle = 0;  // 0 straight, 1 curly, 2 curly 2
    QString PartNames;       // names separated by CR LF
    uint32_t PageBkColor = 0xFFFFFFFFu;
    uint32_t SymbolColor = 0xFF000000u;
    bool bUseBkImage = false;
    QString BkImageFileName;
    uint8_t BkImagePlacement = 9;  // 0 top-left ... 9 stretch, 10 tile
    bool bUseTransparency = true;
    float Transparency = 0.3f;
    bool bUseTransparentColor = false;
    uint32_t TransparentColor = 0xFFFFFFFFu;
    int32_t IMEMode = 0;
    std::array<QString, Nuo4LastFolderCount> LastFolders;

    // The defaults; the background image lies in AProgramFolder's "image" folder.
    void SetToDefault(const QString& AProgramFolder = QString());

    QByteArray ToBytes() const;
    // False (the record unchanged) for bytes of another size.
    bool FromBytes(const QByteArray& ABytes);
    // The four last-folder entries of a file image.
    static std::array<QString, Nuo4LastFolderCount> LastFoldersFromBytes(const QByteArray& ABytes);
};

// $XDG_CONFIG_HOME/Nuo4/Nuo4Options.cfg (or ~/.config when the variable is not set).
QString Nuo4ApplicationOptionsFilePath();

// Reads the file; false (defaults kept) when it is missing or of another size.
bool LoadApplicationOptions(const QString& APath, TrecNuo4ApplicationOptions& AOptions);
// Writes the whole record; the file's four last-folder entries win over the record's when the
// file holds a record (another running copy may have written them). Atomic replace.
bool SaveApplicationOptions(const QString& APath, const TrecNuo4ApplicationOptions& AOptions);
// Writes only the four last-folder entries (the whole record when the file holds none), so a
// crash or a first run does not forget them.
bool SaveApplicationOptions_LastFolders(const QString& APath,
                                        const TrecNuo4ApplicationOptions& AOptions);

}  // namespace nuo4
