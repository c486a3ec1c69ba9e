#include "editor/key_dispatch.h"

#include <QGuiApplication>

#include "layout/buffer_caret.h"
#include "layout/buffer_highlight.h"

namespace nuo4 {

namespace {

// The unshifted key of a shifted character on a US keyboard.
Qt::Key UnshiftedUS(int AKey) {
    switch (AKey) {
        case Qt::Key_Exclam:
            return Qt::Key_1;
        case Qt::Key_At:
            return Qt::Key_2;
        case Qt::Key_NumberSign:
            return Qt::Key_3;
        case Qt::Key_Dollar:
            return Qt::Key_4;
        case Qt::Key_Percent:
            return Qt::Key_5;
        case Qt::Key_AsciiCircum:
            return Qt::Key_6;
        case Qt::Key_Ampersand:
            return Qt::Key_7;
        case Qt::Key_Asterisk:
            return Qt::Key_8;
        case Qt::Key_ParenLeft:
            return Qt::Key_9;
        case Qt::Key_ParenRight:
            return Qt::Key_0;
        case Qt::Key_Underscore:
            return Qt::Key_Minus;
        case Qt::Key_Plus:
            return Qt::Key_Equal;
        case Qt::Key_BraceLeft:
            return Qt::Key_BracketLeft;
        case Qt::Key_BraceRight:
            return Qt::Key_BracketRight;
        case Qt::Key_Bar:
            return Qt::Key_Backslash;
        case Qt::Key_Colon:
            return Qt::Key_Semicolon;
        case Qt::Key_QuoteDbl:
            return Qt::Key_Apostrophe;
        case Qt::Key_Less:
            return Qt::Key_Comma;
        case Qt::Key_Greater:
            return Qt::Key_Period;
        case Qt::Key_Question:
            return Qt::Key_Slash;
        case Qt::Key_AsciiTilde:
            return Qt::Key_QuoteLeft;
        case Qt::Key_Backtab:
            return Qt::Key_Tab;  // Shift+Tab
        default:
            return Qt::Key(AKey);
    }
}

// The key at an X11/evdev key code position (code = evdev code + 8) of the main block.
Qt::Key KeyAtScanCode(quint32 ACode) {
    static const Qt::Key Row1[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3,     Qt::Key_4,
                                   Qt::Key_5, Qt::Key_6, Qt::Key_7,     Qt::Key_8,
                                   Qt::Key_9, Qt::Key_0, Qt::Key_Minus, Qt::Key_Equal};
    if (ACode >= 10 && ACode <= 21) return Row1[ACode - 10];
    switch (ACode) {
        case 34:
            return Qt::Key_BracketLeft;
        case 35:
            return Qt::Key_BracketRight;
        case 47:
            return Qt::Key_Semicolon;
        case 48:
            return Qt::Key_Apostrophe;
        case 49:
            return Qt::Key_QuoteLeft;
        case 51:
            return Qt::Key_Backslash;
        case 59:
            return Qt::Key_Comma;
        case 60:
            return Qt::Key_Period;
        case 61:
            return Qt::Key_Slash;
        default:
            return Qt::Key_unknown;
    }
}

// Keypad keys while NumLock is off.
Qt::Key KeypadDigit(int AKey) {
    switch (AKey) {
        case Qt::Key_Insert:
            return Qt::Key_0;
        case Qt::Key_End:
            return Qt::Key_1;
        case Qt::Key_Down:
            return Qt::Key_2;
        case Qt::Key_PageDown:
            return Qt::Key_3;
        case Qt::Key_Left:
            return Qt::Key_4;
        case Qt::Key_Clear:
            return Qt::Key_5;
        case Qt::Key_Right:
            return Qt::Key_6;
        case Qt::Key_Home:
            return Qt::Key_7;
        case Qt::Key_Up:
            return Qt::Key_8;
        case Qt::Key_PageUp:
            return Qt::Key_9;
        case Qt::Key_Delete:
            return Qt::Key_Period;
        default:
            return Qt::Key(AKey);
    }
}

bool IsLetterOrDigit(int AKey) {
    return (AKey >= Qt::Key_A && AKey <= Qt::Key_Z) || (AKey >= Qt::Key_0 && AKey <= Qt::Key_9);
}

bool IsNoteKeyCommand(TNuo4EditorCommand C) {
    return C == ecInsertNote || C == ecChordPitch;
}

// An edit inside a symbol: Home, End, Left and Right move inside it, Esc ends it.
bool WithinSymbolKey(INuo4EditorHost& H, TNuo4SimpleBuffer& B, const TrecNuo4PhysicalKey& K) {
    if (!WithinSymbolEdit_GetEnable(B) || K.Modifiers != Qt::NoModifier) return false;
    if (K.Key == Qt::Key_Escape) {
        WithinSymbolEdit_Disable(B);
        H.UpdateOverlay();
        return true;
    }
    TrecNuo4WithinSymbolEditStatusInfo& W = B.InternalStatus.WithinSymbolEditStatusInfo;
    int32_t& Pos = WithinSymbolEdit_IsBranch(B) ? W.WithinSymbolPos_Branch : W.WithinSymbolPos_Note;
    int32_t New = Pos;
    bool bOk = false;
    switch (K.Key) {
        case Qt::Key_Home:
            bOk = WithinSymbolEdit_FirstPos(B, New);
            break;
        case Qt::Key_End:
            bOk = WithinSymbolEdit_LastPos(B, New);
            break;
        case Qt::Key_Left:
            bOk = WithinSymbolEdit_PrevPos(B, New);
            break;
        case Qt::Key_Right:
            bOk = WithinSymbolEdit_NextPos(B, New);
            break;
        default:
            return false;
    }
    if (bOk && New != Pos) {
        Pos = New;
        // Only the indicator moves: the score is not drawn again.
        H.UpdateOverlay();
    }
    return true;
}

}  // namespace

TrecNuo4PhysicalKey Nuo4PhysicalKeyOf(int AQtKey, Qt::KeyboardModifiers AModifiers,
                                      quint32 AScanCode) {
    TrecNuo4PhysicalKey R;
    R.bKeypad = (AModifiers & Qt::KeypadModifier) != 0;
    // Only the four modifiers of the table take part in the exact-modifier test.
    R.Modifiers =
        AModifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    Qt::Key K = Qt::Key(AQtKey);
    if (R.bKeypad) {
        K = KeypadDigit(AQtKey);
    } else if (AQtKey >= 'a' && AQtKey <= 'z') {
        K = Qt::Key(AQtKey - 'a' + 'A');
    } else if (!IsLetterOrDigit(AQtKey) && AQtKey < 0x100) {
        const Qt::Key AtCode = AScanCode ? KeyAtScanCode(AScanCode) : Qt::Key_unknown;
        K = AtCode != Qt::Key_unknown ? AtCode : UnshiftedUS(AQtKey);
    } else if (AQtKey == Qt::Key_Backtab) {
        K = Qt::Key_Tab;
    }
    R.Key = K;
    return R;
}

TrecNuo4PhysicalKey Nuo4PhysicalKeyOfEvent(const QKeyEvent& E) {
    // The X11 and Wayland key codes are evdev codes + 8; elsewhere the shift map decides.
    const QString P = QGuiApplication::platformName();
    const bool bEvdev = P == QLatin1String("xcb") || P.startsWith(QLatin1String("wayland"));
    return Nuo4PhysicalKeyOf(E.key(), E.modifiers(), bEvdev ? E.nativeScanCode() : 0);
}

bool Nuo4ReturnSplitsMeasure(const TNuo4SimpleBuffer& B) {
    if (B.Basic_GetCount() == 0) return false;
    const TrecNuo4CaretPos_Index C = NormalizeCaret(B, B.InternalStatus.Selection.CaretPos_End);
    if (CaretPos_IsLineStart(B, C) || CaretPos_IsLineEnd(B, C)) return false;
    const int32_t Left = C.GetLeftPos(), Right = C.GetRightPos();
    if (Left < 0 || Right > B.Basic_GetLast()) return false;
    // Just left of a line's return (after End, or after the last typed note) is its end too.
    if (B.Basic_IsReturn(Right) || B.Basic_IsReturn(Left)) return false;
    return !B.Basic_IsBarline(Left);
}

bool Nuo4KeyIsTaken(const INuo4EditorHost& H, const TrecNuo4PhysicalKey& K, bool bTextTab) {
    return Nuo4FindKeyRow(H.GetEditMode(), K, H.KeyOptions(), bTextTab) != nullptr;
}

bool Nuo4DispatchKeyDown(INuo4EditorHost& H, const TrecNuo4PhysicalKey& K, bool bTextTab) {
    if (!bTextTab)
        if (TNuo4SimpleBuffer* B = H.GetSimpleBuffer())
            if (WithinSymbolKey(H, *B, K)) return true;
    const TrecNuo4KeyTableItem* Row = Nuo4FindKeyRow(H.GetEditMode(), K, H.KeyOptions(), bTextTab);
    if (!Row) return false;
    Nuo4ExecuteCommand(H, Row->Command);
    return true;
}

void Nuo4DispatchKeyUp(INuo4EditorHost& H, const TrecNuo4PhysicalKey& K) {
    const TrecNuo4KeyTableItem* Row = Nuo4FindKeyRow(H.GetEditMode(), K, H.KeyOptions());
    if (Row && IsNoteKeyCommand(Row->Command.Command) && H.GetEditMode() == emStandard)
        H.AuditionCaretNote();
}

QString Nuo4HanZiInputHint(const QString& AChar) {
    const char* const Lines[] = {
        "发现您刚刚输入了字符\"%1\"。您想做什么？",
        "----------------------------------------",
        "",
        "(1) 如果想输入标题，请按F11.",
        "(2) 如果想输入歌词，请按F8. 注意：必须先将旋律(音符)输入完毕才能输入歌词.",
        "(3) 如果想输入和音符在同一行内的文字，比如“此处省略8小节”，请按F5.",
        "(4) 如果想输入位于音符上方(或下方)的文字，比如“稍快”，请按Alt+F5. "
        "这种文字叫做特殊文字，在扩展摸下可以鼠标任意拖动位置.",
    };
    QStringList L;
    for (const char* S : Lines) L << QString::fromUtf8(S);
    L[0] = L[0].arg(AChar);
    return L.join(QLatin1Char('\n'));
}

}  // namespace nuo4
