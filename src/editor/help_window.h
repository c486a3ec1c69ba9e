#pragma once
// The help windows "快速入门" and "基础操作": a page of help text built into the program, with
// an optional search line (the basic operations are looked up by key words) and the choice to
// show the window at start-up.

#include <QWidget>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTextBrowser;

namespace nuo4 {

// The built-in help page AName ("快速入门", "基础操作") as HTML; empty when there is none.
QString Nuo4BuiltInHelpHtml(const QString& AName);

class TNuo4HelpWindow : public QWidget {
  public:
    // bSearch: with the search line. AShowAtStart: the start-up choice as it stands;
    // AOnShowAtStart is told every change of it.
    TNuo4HelpWindow(const QString& AName, bool bSearch, bool AShowAtStart,
                    std::function<void(bool)> AOnShowAtStart, QWidget* AParent = nullptr);
    // Selects the next place (from the current one, wrapping once) that holds AText; false
    // when the page has none.
    bool FindNext(const QString& AText);
    QTextBrowser* Browser() const { return FBrowser; }
    QLineEdit* SearchLine() const { return FSearch; }
    QCheckBox* ShowAtStartBox() const { return FShowAtStart; }

  private:
    QTextBrowser* FBrowser = nullptr;
    QLineEdit* FSearch = nullptr;
    QLabel* FNotFound = nullptr;
    QCheckBox* FShowAtStart = nullptr;
};

}  // namespace nuo4
