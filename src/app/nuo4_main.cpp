// nuo4: the jianpu score editor. The last argument that contains ".nuoabc" and names an existing
// file is opened; otherwise a new document. Leftovers of a session that ended without closing
// are offered first.
#include <QApplication>
#include <cstdlib>
#include <exception>
#include <memory>

#include "editor/crash_report.h"
#include "editor/main_window.h"
#include "editor/recovery_store.h"
#include "render/music_font.h"

namespace {

// An exception that escapes an event handler is reported here instead of ending the program.
class TNuo4Application : public QApplication {
  public:
    using QApplication::QApplication;
    bool notify(QObject* AReceiver, QEvent* AEvent) override {
        try {
            return QApplication::notify(AReceiver, AEvent);
        } catch (const std::exception& E) {
            nuo4::TNuo4CrashReport::Instance().ReportException(E.what(), false);
        } catch (...) {
            nuo4::TNuo4CrashReport::Instance().ReportException("unknown exception", false);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    TNuo4Application App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuo4"));
    nuo4::Nuo4Render_Init();
    int Result = 0;
    {
        auto Main = std::make_unique<nuo4::TFormNuo4Main>();
        const QString State = QString::fromStdString(nuo4::Nuo4StateFolder());
        Main->EnableSafety(State);
        Main->show();
        Main->ShowStartupHelpWindows();
        Main->NoticeOtherInstances(State);
        const std::string Crash = nuo4::TNuo4CrashReport::Instance().TakePendingSignalReport();
        if (!Crash.empty()) Main->ShowMessage(QString::fromStdString(Crash));
        // Hidden self-test: "INTERVAL_MS[,SAVE_EVERY]" types notes by itself.
        const char* SelfTest = std::getenv("NUO4_SELFTEST_TYPE");
        const bool bRecovered = !SelfTest && Main->OfferRecovery();
        const QString File = nuo4::TFormNuo4Main::FileFromCommandLine(QApplication::arguments());
        if (!bRecovered && !File.isEmpty()) Main->LoadFile(File);
        if (SelfTest) {
            const QStringList P = QString::fromUtf8(SelfTest).split(QLatin1Char(','));
            Main->StartSelfTestTyping(P.value(0).toInt(), P.value(1).toInt());
        }
        Result = QApplication::exec();
        // A clean exit: nothing is left to recover.
        Main->RemoveRecoveryFile();
    }
    // The music font goes before the application it was made under.
    nuo4::Nuo4Render_Done();
    return Result;
}
