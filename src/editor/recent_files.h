#pragma once
// The recent-files list: a ring of at most 16 full paths kept in NuoRecentFiles.ini (UTF-8, one
// path a line, oldest first) beside the options file, and the menu that shows it newest first.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QMenu;
class QObject;

namespace nuo4 {

// The ring alone (no widgets).
class TNuo4RecentFileRing {
  public:
    explicit TNuo4RecentFileRing(int32_t AMaxCount = 16) : FMaxMenuItemCount(AMaxCount) {}
    // Empty lines are dropped and only the first AMaxCount lines kept.
    void SetFromLines(const QStringList& ALines);
    // True when the name was new (stored at the ring index); a known name changes nothing.
    bool Add(const QString& AFileName);
    int32_t Count() const { return FMenuItemCount; }
    int32_t HeaderIndex() const { return FilesBuffer_HeaderIndex; }
    QStringList OldestFirst() const;
    QStringList NewestFirst() const;

  private:
    int32_t FMaxMenuItemCount;
    int32_t FMenuItemCount = 0;
    int32_t FilesBuffer_HeaderIndex = 0;
    std::vector<QString> FilesBuffer;
};

// "%d#: %s (%s)": 1-based position, file name and its folder, a folder of more than 40
// characters shown as its first 37 and "...".
QString Nuo4RecentFileCaption(int32_t APosition, const QString& AFullPath);
QString Nuo4ShortenFolder(const QString& AFolder);

class TMyRecentFilesMenu {
  public:
    using TOnRecentMenuItemClick = std::function<void(const QString& AFileName)>;
    // AWorkPath: the folder of NuoRecentFiles.ini; read at once when present.
    TMyRecentFilesMenu(QObject* AOwner, const QString& AWorkPath);
    void SetMaxMenuItemCount(int32_t ACount);
    void SetParentMenu(QMenu* AMenu);
    void SetOnRecentMenuItemClick(TOnRecentMenuItemClick AHandler) {
        FOnRecentMenuItemClick = std::move(AHandler);
    }
    // A known name is only checked; a new one is stored, the menu rebuilt and the file written.
    // False when the file could not be written.
    bool Add(const QString& AFileName);
    // Newest first; -1 clears every check mark.
    void CheckedMenuItemFromMenuItemIndex(int32_t AMenuItemIndex);
    const TNuo4RecentFileRing& Ring() const { return FRing; }
    QString FilePath() const;
    const std::vector<QAction*>& MenuItems() const { return FMenuItems; }

  private:
    void Rebuild();

    QObject* FOwner;
    QString FWorkPath;
    TNuo4RecentFileRing FRing;
    QMenu* FParentMenu = nullptr;
    std::vector<QAction*> FMenuItems;
    TOnRecentMenuItemClick FOnRecentMenuItemClick;
};

}  // namespace nuo4
