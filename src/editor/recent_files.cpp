#include "editor/recent_files.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

#include "format/score_file_save.h"

namespace nuo4 {

void TNuo4RecentFileRing::SetFromLines(const QStringList& ALines) {
    FilesBuffer.clear();
    for (const QString& L : ALines) {
        if (L.isEmpty()) continue;
        if (int32_t(FilesBuffer.size()) >= FMaxMenuItemCount) break;
        FilesBuffer.push_back(L);
    }
    FMenuItemCount = int32_t(FilesBuffer.size());
    FilesBuffer_HeaderIndex = FMenuItemCount >= FMaxMenuItemCount ? 0 : FMenuItemCount;
    FilesBuffer.resize(size_t(FMaxMenuItemCount));
}

bool TNuo4RecentFileRing::Add(const QString& AFileName) {
    if (AFileName.isEmpty()) return false;
    for (int32_t I = 0; I < FMenuItemCount; ++I)
        if (FilesBuffer[size_t(I)] == AFileName) return false;
    FilesBuffer.resize(size_t(FMaxMenuItemCount));
    FilesBuffer[size_t(FilesBuffer_HeaderIndex)] = AFileName;
    FilesBuffer_HeaderIndex = (FilesBuffer_HeaderIndex + 1) % FMaxMenuItemCount;
    if (FMenuItemCount < FMaxMenuItemCount) ++FMenuItemCount;
    return true;
}

QStringList TNuo4RecentFileRing::OldestFirst() const {
    QStringList R;
    // While the ring is not full its slots run from 0; once full the oldest is at the index.
    const int32_t First = FMenuItemCount < FMaxMenuItemCount ? 0 : FilesBuffer_HeaderIndex;
    for (int32_t I = 0; I < FMenuItemCount; ++I)
        R << FilesBuffer[size_t((First + I) % FMaxMenuItemCount)];
    return R;
}

QStringList TNuo4RecentFileRing::NewestFirst() const {
    QStringList R = OldestFirst();
    std::reverse(R.begin(), R.end());
    return R;
}

QString Nuo4ShortenFolder(const QString& AFolder) {
    return AFolder.size() > 40 ? AFolder.left(37) + QStringLiteral("...") : AFolder;
}

QString Nuo4RecentFileCaption(int32_t APosition, const QString& AFullPath) {
    const QFileInfo F(AFullPath);
    return QStringLiteral("%1#: %2 (%3)")
        .arg(APosition)
        .arg(F.fileName(), Nuo4ShortenFolder(QDir::toNativeSeparators(F.path())));
}

TMyRecentFilesMenu::TMyRecentFilesMenu(QObject* AOwner, const QString& AWorkPath)
    : FOwner(AOwner), FWorkPath(AWorkPath) {
    QFile F(FilePath());
    if (F.open(QIODevice::ReadOnly)) {
        QStringList Lines;
        for (const QByteArray& L : F.readAll().split('\n'))
            Lines << QString::fromUtf8(L).remove(QLatin1Char('\r'));
        FRing.SetFromLines(Lines);
    }
}

QString TMyRecentFilesMenu::FilePath() const {
    return QDir(FWorkPath).filePath(QStringLiteral("NuoRecentFiles.ini"));
}

void TMyRecentFilesMenu::SetMaxMenuItemCount(int32_t ACount) {
    const QStringList Kept = FRing.OldestFirst();
    FRing = TNuo4RecentFileRing(ACount);
    // The newest ones stay when the ring shrinks.
    FRing.SetFromLines(Kept.mid(std::max<qsizetype>(0, Kept.size() - ACount)));
    Rebuild();
}

void TMyRecentFilesMenu::SetParentMenu(QMenu* AMenu) {
    FParentMenu = AMenu;
    Rebuild();
}

bool TMyRecentFilesMenu::Add(const QString& AFileName) {
    if (!FRing.Add(AFileName)) {
        const QStringList N = FRing.NewestFirst();
        CheckedMenuItemFromMenuItemIndex(int32_t(N.indexOf(AFileName)));
        return true;
    }
    Rebuild();
    CheckedMenuItemFromMenuItemIndex(0);
    QByteArray Bytes;
    for (const QString& L : FRing.OldestFirst()) Bytes += L.toUtf8() + '\n';
    std::string Error;
    QDir().mkpath(FWorkPath);
    return WriteFileAtomic(QFile::encodeName(FilePath()).toStdString(), Bytes.toStdString(), Error);
}

void TMyRecentFilesMenu::CheckedMenuItemFromMenuItemIndex(int32_t AMenuItemIndex) {
    for (size_t I = 0; I < FMenuItems.size(); ++I)
        if (FMenuItems[I]->isCheckable()) FMenuItems[I]->setChecked(int32_t(I) == AMenuItemIndex);
}

void TMyRecentFilesMenu::Rebuild() {
    if (!FParentMenu) return;
    for (QAction* A : FMenuItems) {
        FParentMenu->removeAction(A);
        delete A;
    }
    FMenuItems.clear();
    const QStringList N = FRing.NewestFirst();
    if (N.isEmpty()) {
        QAction* A = new QAction(QStringLiteral("空"), FOwner);
        A->setEnabled(false);
        FParentMenu->addAction(A);
        FMenuItems.push_back(A);
        return;
    }
    for (int32_t I = 0; I < int32_t(N.size()); ++I) {
        QAction* A = new QAction(Nuo4RecentFileCaption(I + 1, N[I]), FOwner);
        A->setCheckable(true);
        A->setData(N[I]);
        const QString Name = N[I];
        QObject::connect(A, &QAction::triggered, FOwner, [this, Name] {
            if (FOnRecentMenuItemClick) FOnRecentMenuItemClick(Name);
        });
        FParentMenu->addAction(A);
        FMenuItems.push_back(A);
    }
}

}  // namespace nuo4
