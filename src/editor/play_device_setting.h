#pragma once
// The output device the user chose, kept between sessions in a small text file beside the
// application options (the user's configuration folder, never the program's): one line, the
// device's name as the device list shows it.

#include <QString>

namespace nuo4 {

// The file in the folder of the options file AOptionsPath.
QString Nuo4PlayDeviceFilePath(const QString& AOptionsPath);
// The saved name; empty when there is no file or it cannot be read.
QString Nuo4LoadPlayDeviceName(const QString& AFilePath);
// Replaces the file as a whole, so an interrupted write leaves the former choice.
bool Nuo4SavePlayDeviceName(const QString& AFilePath, const QString& AName);

}  // namespace nuo4
