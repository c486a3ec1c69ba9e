#include "editor/file_names.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace nuo4 {

QString Nuo4FileNameFromText(const QString& AText) {
    QString S;
    for (QChar C : AText) {
        const char16_t U = C.unicode();
        const bool bBad = U < 0x20 || U == 0x7F || QStringView(u"/\\:*?\"<>|").contains(C);
        S += bBad ? QChar(u'_') : C;
    }
    S = S.trimmed();
    // "." and ".." name folders; a leading dot would hide the file.
    while (S.startsWith(QLatin1Char('.'))) S.remove(0, 1);
    const int MaxBytes = 255 - int(sizeof(".nuoabc") - 1);
    while (!S.isEmpty() && S.toUtf8().size() > MaxBytes) {
        S.chop(1);
        if (!S.isEmpty() && S.back().isHighSurrogate()) S.chop(1);
    }
    return S.trimmed();
}

QString Nuo4ProposedSaveName(const QString& AFileNameOpened, const QString& ATitleText) {
    if (!AFileNameOpened.isEmpty()) {
        const QFileInfo F(AFileNameOpened);
        return F.dir().filePath(F.completeBaseName());
    }
    const QString T = Nuo4FileNameFromText(ATitleText);
    return T.isEmpty() ? QStringLiteral("新建文档") : T;
}

QString Nuo4ScoreFileFromMimeData(const QMimeData* AData) {
    if (!AData) return QString();
    QString First;
    if (AData->hasUrls()) {
        for (const QUrl& U : AData->urls())
            if (U.isLocalFile()) {
                First = U.toLocalFile();
                break;
            }
    } else {
        for (const char* Format :
             {"x-special/gnome-copied-files", "application/x-kde-cutselection"}) {
            const QList<QByteArray> Lines = AData->data(QString::fromLatin1(Format)).split('\n');
            for (const QByteArray& L : Lines) {
                const QUrl U(QString::fromUtf8(L.trimmed()));
                if (U.isLocalFile()) {
                    First = U.toLocalFile();
                    break;
                }
            }
            if (!First.isEmpty()) break;
        }
    }
    // The extension is compared exactly, as the command line does.
    return First.endsWith(QStringLiteral(".nuoabc")) ? First : QString();
}

}  // namespace nuo4
