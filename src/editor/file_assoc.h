#pragma once
// The score file type registered with the desktop for the user, the freedesktop way: a desktop
// entry (applications/nuo4.desktop), a shared-mime-info type for "*.nuoabc"
// (mime/packages/nuo4.xml, application/x-nuoabc) and the icon for the program and the type
// (icons/hicolor/scalable/...), all under the user's data folder.

#include <QString>

namespace nuo4 {

// $XDG_DATA_HOME, else ~/.local/share.
QString Nuo4XdgDataHome();

// The program for an Exec line: quoted when it holds a blank or a reserved character, with
// '"', '`', '$' and '\' escaped inside the quotes, then '\' doubled for the key file.
QString Nuo4DesktopExecProgram(const QString& AExePath);
// The entry template with its Exec line pointing at AExePath.
QString Nuo4DesktopEntryText(const QString& ATemplate, const QString& AExePath);

// Copies nuo4.desktop (Exec set), nuo4-mime.xml and nuo4.svg from ASourceFolder into ADataHome
// and, when bRunTools and they are installed, runs update-mime-database and
// update-desktop-database on them. False with the reason when a file cannot be read or written.
bool Nuo4SetFileAssociate(const QString& ASourceFolder, const QString& AExePath,
                          const QString& ADataHome, bool bRunTools, QString& AError);

}  // namespace nuo4
