#include "editor/play_device_setting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace nuo4 {

QString Nuo4PlayDeviceFilePath(const QString& AOptionsPath) {
    return QDir(QFileInfo(AOptionsPath).absolutePath()).filePath(QStringLiteral("PlayDevice.txt"));
}

QString Nuo4LoadPlayDeviceName(const QString& AFilePath) {
    QFile F(AFilePath);
    if (!F.open(QIODevice::ReadOnly)) return QString();
    // A name is one line; anything longer than a name could be is not one.
    const QByteArray Line = F.readLine(4096);
    return QString::fromUtf8(Line).trimmed();
}

bool Nuo4SavePlayDeviceName(const QString& AFilePath, const QString& AName) {
    QDir().mkpath(QFileInfo(AFilePath).absolutePath());
    QSaveFile F(AFilePath);
    if (!F.open(QIODevice::WriteOnly)) return false;
    const QByteArray Bytes = AName.trimmed().toUtf8() + '\n';
    return F.write(Bytes) == Bytes.size() && F.commit();
}

}  // namespace nuo4
