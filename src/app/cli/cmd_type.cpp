// nuo4-cli type: a key sequence typed into a score through the editor's own key dispatcher, on
// a host without a window, and the result saved.
#include <QStringList>
#include <ostream>

#include "app/cli/commands.h"
#include "app/cli/layout_document.h"
#include "editor/key_host.h"
#include "format/score_file_save.h"

namespace nuo4::cli {

namespace {

void PrintTypeHelp(std::ostream& AOut) {
    AOut << "Usage: nuo4-cli type FILE KEYS -o OUT [--four-octaves] [--tab-beam-key]\n"
            "                    [--no-beam-menu] [--auto-barline] [--cancel-questions]\n"
            "KEYS: key names separated by spaces, typed in standard mode with the caret at\n"
            "the start of the score: one character (1 q - . ; ` and shifted ones such as _ or\n"
            "( for their key with Shift), a key name (Space Enter Backspace Del Left Right\n"
            "Up Down Home End PgUp PgDown Tab Esc F1..F12), with Ctrl+ Shift+ Alt+ in front\n"
            "and KP for a keypad key (KP0 KP+ KP/). While a pop-up menu is open the next key\n"
            "chooses its item by the item's hot key (Space the default item); any other key\n"
            "closes it and is typed. Questions are answered OK unless --cancel-questions.\n";
}

}  // namespace

int RunType(const TArgs& AArgs, std::ostream& AOut, std::ostream& AErr) {
    std::vector<std::string> Pos;
    std::string Out;
    TrecNuo4KeyOptions Options;
    bool bAutoBarline = false, bCancel = false;
    for (size_t I = 0; I < AArgs.size(); ++I) {
        const std::string& A = AArgs[I];
        if (A == "--help" || A == "-h") {
            PrintTypeHelp(AOut);
            return 0;
        }
        if (A == "-o") {
            if (I + 1 >= AArgs.size()) {
                AErr << "nuo4-cli type: -o needs a value\n";
                return 2;
            }
            Out = AArgs[++I];
        } else if (A == "--four-octaves")
            Options.bFourOctaves = true;
        else if (A == "--tab-beam-key")
            Options.bTabIsDVGroupKey = true;
        else if (A == "--no-beam-menu")
            Options.bPopupOnDVGroupKey = false;
        else if (A == "--auto-barline")
            bAutoBarline = true;
        else if (A == "--cancel-questions")
            bCancel = true;
        else if (A.size() > 2 && A.rfind("--", 0) == 0) {
            AErr << "nuo4-cli type: unknown option '" << A << "'\n";
            return 2;
        } else
            Pos.push_back(A);
    }
    if (Pos.size() != 2 || Out.empty()) {
        AErr << "nuo4-cli type: needs FILE, KEYS and -o OUT (see nuo4-cli type --help)\n";
        return 2;
    }
    // Every key is checked before anything is typed.
    const QStringList Names =
        QString::fromStdString(Pos[1]).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    std::vector<TrecNuo4PhysicalKey> Keys;
    for (const QString& N : Names) {
        TrecNuo4PhysicalKey K;
        QString Error;
        if (!Nuo4ParseKeyName(N, K, Error)) {
            AErr << "nuo4-cli type: " << Error.toStdString() << " (see nuo4-cli type --help)\n";
            return 2;
        }
        Keys.push_back(K);
    }
    TLayoutDocument Doc;
    std::string Error;
    if (!LoadLayoutDocument(Pos[0], Doc, Error)) {
        AErr << "nuo4-cli type: " << Error << "\n";
        return 2;
    }
    TNuo4HeadlessEditorHost H(Doc.ABCBuffer->ABCText());
    H.Options = Options;
    H.bAutoBarline = bAutoBarline;
    H.Answer = [&](const QString&) { return !bCancel; };
    size_t Next = 0;
    // A pop-up menu takes the next key when it is one of its hot keys; any other key closes
    // the menu and is typed as usual.
    H.Chooser = [&](const QStringList& AItems, int32_t ADefault) -> int32_t {
        if (Next >= Keys.size() || Keys[Next].Modifiers != Qt::NoModifier) return -1;
        const Qt::Key K = Keys[Next].Key;
        for (int32_t I = 0; I < AItems.size(); ++I) {
            const char C = GetHotKeyFromMenuItemIndex(I, ADefault);
            if (C && ((C == ' ' && K == Qt::Key_Space) || (C != ' ' && K == C))) {
                ++Next;
                return I;
            }
        }
        return -1;
    };
    // Typing starts where the editor puts the caret after opening: the start of the score.
    Nuo4ConsecutiveNoteCount() = 0;
    while (Next < Keys.size()) H.Type(Keys[Next++]);
    for (const QString& M : H.Messages) AErr << "nuo4-cli type: " << M.toStdString() << "\n";
    if (!SaveScoreFileAtomic(Out, H.Text(), Error)) {
        AErr << "nuo4-cli type: " << Error << "\n";
        return 2;
    }
    AOut << "typed " << Keys.size() << " keys into " << Out << "\n";
    return 0;
}

}  // namespace nuo4::cli
