#pragma once
// File names of the main window that need no window: the name proposed by save-as and the
// score file copied to the clipboard.

#include <QString>

class QMimeData;

namespace nuo4 {

// A text made fit for a file name: "/", "\", the characters other systems refuse (":*?\"<>|")
// and control characters become "_" (so words stay apart), the ends are trimmed, and the name is
// cut to leave room for ".nuoabc" within 255 bytes. Empty when nothing usable is left.
QString Nuo4FileNameFromText(const QString& AText);

// What save-as proposes (without extension): the stored name without its extension (full
// path), else the title made fit for a file name, else "新建文档".
QString Nuo4ProposedSaveName(const QString& AFileNameOpened, const QString& ATitleText);

// The first file of a copied file list (text/uri-list, or the desktops' copied-files list
// "copy\nfile:///...") when its extension is exactly ".nuoabc"; else empty.
QString Nuo4ScoreFileFromMimeData(const QMimeData* AData);

// The resource folder AName ("demo", "help") of a program in AProgramFolder: beside it, in its
// ../share/nuo4 (installed), in the build tree's share/nuo4 (generated files), else the source
// tree's resources.
QString Nuo4ResourceFolderFrom(const QString& AProgramFolder, const QString& AName);

}  // namespace nuo4
