// nuo4: the jianpu score editor. The last argument that contains ".nuoabc" and names an existing
// file is opened; otherwise a new document.
#include <QApplication>
#include <memory>

#include "editor/main_window.h"
#include "render/music_font.h"

int main(int argc, char** argv) {
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nuo4"));
    nuo4::Nuo4Render_Init();
    int Result = 0;
    {
        auto Main = std::make_unique<nuo4::TFormNuo4Main>();
        Main->show();
        const QString File = nuo4::TFormNuo4Main::FileFromCommandLine(QApplication::arguments());
        if (!File.isEmpty()) Main->LoadFile(File);
        Result = QApplication::exec();
    }
    // The music font goes before the application it was made under.
    nuo4::Nuo4Render_Done();
    return Result;
}
