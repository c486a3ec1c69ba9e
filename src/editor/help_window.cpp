#include "editor/help_window.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// The pages live in the editor library, which a program links statically: its resources are
// registered explicitly, from the global namespace.
static void InitNuo4HelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace nuo4 {

QString Nuo4BuiltInHelpHtml(const QString& AName) {
    InitNuo4HelpResources();
    QFile F(QStringLiteral(":/help/") + AName + QStringLiteral(".html"));
    return F.open(QIODevice::ReadOnly) ? QString::fromUtf8(F.readAll()) : QString();
}

TNuo4HelpWindow::TNuo4HelpWindow(const QString& AName, bool bSearch, bool AShowAtStart,
                                 std::function<void(bool)> AOnShowAtStart, QWidget* AParent)
    : QWidget(AParent, Qt::Window) {
    setWindowTitle(AName);
    setObjectName(AName);
    resize(560, 640);
    auto* Main = new QVBoxLayout(this);
    if (bSearch) {
        auto* Row = new QHBoxLayout;
        FSearch = new QLineEdit(this);
        FSearch->setPlaceholderText(QStringLiteral("输入要查找的文字"));
        FSearch->setClearButtonEnabled(true);
        auto* Find = new QPushButton(QStringLiteral("查找下一个"), this);
        FNotFound = new QLabel(this);
        Row->addWidget(FSearch, 1);
        Row->addWidget(Find);
        Row->addWidget(FNotFound);
        Main->addLayout(Row);
        auto Go = [this] { FindNext(FSearch->text()); };
        connect(FSearch, &QLineEdit::returnPressed, this, Go);
        connect(Find, &QPushButton::clicked, this, Go);
    }
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenExternalLinks(true);
    FBrowser->setHtml(Nuo4BuiltInHelpHtml(AName));
    Main->addWidget(FBrowser, 1);
    FShowAtStart = new QCheckBox(QStringLiteral("启动时显示此窗口"), this);
    FShowAtStart->setChecked(AShowAtStart);
    connect(FShowAtStart, &QCheckBox::toggled, this, [AOnShowAtStart](bool bOn) {
        if (AOnShowAtStart) AOnShowAtStart(bOn);
    });
    Main->addWidget(FShowAtStart);
}

bool TNuo4HelpWindow::FindNext(const QString& AText) {
    const QString T = AText.trimmed();
    bool bFound = !T.isEmpty() && FBrowser->find(T);
    if (!bFound && !T.isEmpty()) {
        // From the top once more: the search wraps.
        FBrowser->moveCursor(QTextCursor::Start);
        bFound = FBrowser->find(T);
    }
    if (FNotFound)
        FNotFound->setText(bFound || T.isEmpty() ? QString() : QStringLiteral("没有找到"));
    return bFound;
}

}  // namespace nuo4
