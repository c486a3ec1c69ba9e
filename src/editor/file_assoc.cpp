#include "editor/file_assoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "format/score_file_save.h"

namespace nuo4 {

QString Nuo4XdgDataHome() {
    const QString D = qEnvironmentVariable("XDG_DATA_HOME");
    return D.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : D;
}

QString Nuo4DesktopExecProgram(const QString& AExePath) {
    static const QString Reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`=%");
    bool bQuote = false;
    for (QChar C : AExePath) bQuote = bQuote || Reserved.contains(C);
    QString S;
    if (bQuote) {
        S = QLatin1Char('"');
        for (QChar C : AExePath) {
            if (QStringView(u"\"`$\\").contains(C)) S += QLatin1Char('\\');
            S += C;
        }
        S += QLatin1Char('"');
    } else {
        S = AExePath;
    }
    // '%' is a field code in an Exec line; the key file's string escapes come last.
    S.replace(QLatin1Char('%'), QStringLiteral("%%"));
    S.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return S;
}

QString Nuo4DesktopEntryText(const QString& ATemplate, const QString& AExePath) {
    QStringList Lines = ATemplate.split(QLatin1Char('\n'));
    for (QString& L : Lines)
        if (L.startsWith(QStringLiteral("Exec=")))
            L = QStringLiteral("Exec=") + Nuo4DesktopExecProgram(AExePath) + QStringLiteral(" %f");
    return Lines.join(QLatin1Char('\n'));
}

namespace {

bool ReadSource(const QString& APath, QByteArray& ABytes, QString& AError) {
    QFile F(APath);
    if (!F.open(QIODevice::ReadOnly)) {
        AError = QStringLiteral("cannot read '%1': %2").arg(APath, F.errorString());
        return false;
    }
    ABytes = F.readAll();
    return true;
}

bool WriteTarget(const QString& APath, const QByteArray& ABytes, QString& AError) {
    if (!QDir().mkpath(QFileInfo(APath).absolutePath())) {
        AError = QStringLiteral("cannot create the folder of '%1'").arg(APath);
        return false;
    }
    std::string Error;
    if (!WriteFileAtomic(QFile::encodeName(APath).toStdString(), ABytes.toStdString(), Error)) {
        AError = QString::fromStdString(Error);
        return false;
    }
    return true;
}

void RunIfPresent(const QString& AProgram, const QStringList& AArguments) {
    const QString Exe = QStandardPaths::findExecutable(AProgram);
    if (Exe.isEmpty()) return;
    QProcess P;
    P.start(Exe, AArguments);
    if (!P.waitForFinished(20000)) P.kill();
}

}  // namespace

bool Nuo4SetFileAssociate(const QString& ASourceFolder, const QString& AExePath,
                          const QString& ADataHome, bool bRunTools, QString& AError) {
    const QDir Src(ASourceFolder), Dst(ADataHome);
    QByteArray Entry, Mime, Icon;
    if (!ReadSource(Src.filePath(QStringLiteral("nuo4.desktop")), Entry, AError) ||
        !ReadSource(Src.filePath(QStringLiteral("nuo4-mime.xml")), Mime, AError) ||
        !ReadSource(Src.filePath(QStringLiteral("nuo4.svg")), Icon, AError))
        return false;
    Entry = Nuo4DesktopEntryText(QString::fromUtf8(Entry), AExePath).toUtf8();
    const QString Apps = Dst.filePath(QStringLiteral("applications"));
    const QString MimeRoot = Dst.filePath(QStringLiteral("mime"));
    const QString Icons = Dst.filePath(QStringLiteral("icons/hicolor/scalable"));
    if (!WriteTarget(Apps + QStringLiteral("/nuo4.desktop"), Entry, AError) ||
        !WriteTarget(MimeRoot + QStringLiteral("/packages/nuo4.xml"), Mime, AError) ||
        !WriteTarget(Icons + QStringLiteral("/apps/nuo4.svg"), Icon, AError) ||
        !WriteTarget(Icons + QStringLiteral("/mimetypes/application-x-nuoabc.svg"), Icon, AError))
        return false;
    if (bRunTools) {
        RunIfPresent(QStringLiteral("update-mime-database"), {MimeRoot});
        RunIfPresent(QStringLiteral("update-desktop-database"), {Apps});
        RunIfPresent(QStringLiteral("xdg-mime"),
                     {QStringLiteral("default"), QStringLiteral("nuo4.desktop"),
                      QStringLiteral("application/x-nuoabc")});
    }
    return true;
}

}  // namespace nuo4
