#include "editor/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "editor/status_texts.h"
#include "layout/draw_document.h"

namespace nuo4 {

namespace {
const QString PendingTip = QStringLiteral("此功能尚未实现");
}

QString Nuo4DemoFolder() {
    return Nuo4ResourceFolder(QStringLiteral("demo"));
}

TFormNuo4Main::TFormNuo4Main(const QString& AOptionsPath, QWidget* AParent)
    : QMainWindow(AParent),
      FOptionsPath(AOptionsPath.isEmpty() ? Nuo4ApplicationOptionsFilePath() : AOptionsPath) {
    FProgramFolder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    Nuo4AuxInfoSettings().SetToDefault();
    FOptions.SetToDefault(FProgramFolder);
    bFirstRun = !QFileInfo::exists(FOptionsPath);
    LoadApplicationOptions(FOptionsPath, FOptions);
    setWindowTitle(QStringLiteral("Nuo4"));

    FTabs = new QTabWidget(this);
    ScorePanel = new TKoScorePanel(
        FTabs, [this](TrecNuo4ScorePanelEventInfo& I) { ScorePanelEventHandler(I); });
    ScorePanel->SetKeyHandler(
        [this](QKeyEvent* E, bool bOnlyAsk) { return ScoreViewKey(E, bOnlyAsk); });
    ABCSynRichEdit = new TKoABCSynRichEdit(
        FTabs, [this](const TrecNuo4ABCSynRichEditEventInfo& I) { ABCSynRichEditEventHandler(I); });
    FTabs->addTab(ScorePanel, QStringLiteral("乐谱"));
    FTabs->addTab(ABCSynRichEdit, QStringLiteral("ABC代码"));
    setCentralWidget(FTabs);
    connect(FTabs, &QTabWidget::currentChanged, this, &TFormNuo4Main::OnTabChanged);

    CreateMenus();
    CreateToolBars();
    CreateFloatToolWindow();
    CreateStatusBar();
    ApplyOptionsToView();

    tmrGeneral.setInterval(1000);
    connect(&tmrGeneral, &QTimer::timeout, this, &TFormNuo4Main::OnGeneralTimer);
    tmrGeneral.start();

    if (FOptions.bRestoreWindowPos && FOptions.WindowWidth > 100 && FOptions.WindowHeight > 100)
        setGeometry(FOptions.WindowLeft, FOptions.WindowTop, FOptions.WindowWidth,
                    FOptions.WindowHeight);
    else
        resize(1200, 800);
    if (FOptions.bRestoreWindowPos && FOptions.bMaximized) setWindowState(Qt::WindowMaximized);
    if (FOptions.bRestoreWindowPos && FOptions.bFloatToolWindowVisible) {
        FFloatToolWindow->move(FOptions.FloatToolWindowLeft, FOptions.FloatToolWindowTop);
        FFloatToolWindow->show();
    }
    LoadFile(QString());
    bFirstActivated = true;
}

TFormNuo4Main::~TFormNuo4Main() {
    ABCSynRichEdit->FreeBuffers();
}

// ---- Menus ----------------------------------------------------------------------------------

QAction* TFormNuo4Main::AddAction(QMenu* AMenu, const QString& AName, const QString& ACaption,
                                  const QKeySequence& AShortcut, std::function<void()> AEffect) {
    QAction* A = new QAction(ACaption, this);
    A->setObjectName(AName);
    if (!AShortcut.isEmpty()) A->setShortcut(AShortcut);
    if (AEffect) connect(A, &QAction::triggered, this, [AEffect] { AEffect(); });
    if (AMenu) AMenu->addAction(A);
    FActions[AName] = A;
    return A;
}

QAction* TFormNuo4Main::AddPending(QMenu* AMenu, const QString& AName, const QString& ACaption,
                                   const QKeySequence& AShortcut) {
    QAction* A = AddAction(AMenu, AName, ACaption, AShortcut);
    A->setEnabled(false);
    A->setToolTip(PendingTip);
    A->setStatusTip(PendingTip);
    return A;
}

QAction* TFormNuo4Main::Action(const QString& AName) const {
    auto It = FActions.find(AName);
    return It == FActions.end() ? nullptr : It->second;
}

void TFormNuo4Main::CreateMenus() {
    QMenuBar* Bar = menuBar();
    QMenu* File = Bar->addMenu(QStringLiteral("文件"));
    File->setToolTipsVisible(true);
    AddAction(File, "mnuNewFile", QStringLiteral("新建…"), QKeySequence(Qt::CTRL | Qt::Key_N),
              [this] { NewFile(); });
    AddAction(File, "mnuOpenFile", QStringLiteral("打开…"), QKeySequence(Qt::CTRL | Qt::Key_O),
              [this] {
                  if (!AskToSave()) return;
                  const QString F = OpenFileDialog();
                  if (!F.isEmpty()) LoadFile(F);
              });
    AddAction(File, "mnuSaveFile", QStringLiteral("保存"), QKeySequence(Qt::CTRL | Qt::Key_S),
              [this] { SaveFile(); });
    AddAction(File, "mnuSaveAs", QStringLiteral("另存为…"), QKeySequence(),
              [this] { SaveFileAs(); });
    File->addSeparator();
    QMenu* Recent = File->addMenu(QStringLiteral("最近打开的文件"));
    Recent->setToolTipsVisible(true);
    CreateRecentFilesMenu(Recent);
    AddAction(File, "mnuOpenFileFromWindowsClipboard", QStringLiteral("打开剪贴板当中的文件"),
              QKeySequence(), [this] { OpenFileFromClipboard(); });
    AddAction(File, "OpenAutoSaveFile", QStringLiteral("打开自动保存的文件"), QKeySequence(),
              [this] { OpenAutoSaveFile(); });
    File->addSeparator();
    QMenu* Export = File->addMenu(QStringLiteral("导出"));
    Export->setToolTipsVisible(true);
    AddAction(Export, "mnuExportCurrPageOrSelectionToWindowsClipboard",
              QStringLiteral("复制选区或当前页到Windows剪贴板"), QKeySequence(),
              [this] { ExportToClipboard(); });
    AddAction(Export, "mnuExportToImageFile_LowResolution", QStringLiteral("图像文件(低分辨率)…"),
              QKeySequence(), [this] { ExportImage(irLow); });
    AddAction(Export, "mnuExportToImageFile_MediumResolution",
              QStringLiteral("图像文件(中分辨率)…"), QKeySequence(),
              [this] { ExportImage(irMedium); });
    AddAction(Export, "mnuExportToImageFile_HighResolution", QStringLiteral("图像文件(高分辨率)…"),
              QKeySequence(), [this] { ExportImage(irHigh); });
    AddAction(Export, "mnuExportToPdf", QStringLiteral("PDF…"), QKeySequence(),
              [this] { ExportPdf(); });
    AddAction(Export, "mnuExportToSvg", QStringLiteral("SVG…"), QKeySequence(),
              [this] { ExportSvg(); });
    AddAction(Export, "mnuExportToMidiFile", QStringLiteral("MIDI…"), QKeySequence(),
              [this] { ExportMidiFile(); });
    AddAction(File, "mnuPrint", QStringLiteral("打印…"), QKeySequence(Qt::CTRL | Qt::Key_P),
              [this] { ExportPrint(); });
    AddPending(File, "mnuDocInfo", QStringLiteral("文档信息…"));
    File->addSeparator();
    AddAction(File, "mnuExit", QStringLiteral("退出"), QKeySequence(), [this] { close(); });

    QMenu* Edit = Bar->addMenu(QStringLiteral("编辑"));
    Edit->setToolTipsVisible(true);
    // Undo and redo own their keys; the text tab's own undo is reached through them too.
    AddAction(Edit, "mnuUndo", QStringLiteral("撤消"), QKeySequence(Qt::CTRL | Qt::Key_Z),
              [this] { Undo(); });
    AddAction(Edit, "mnuRedo", QStringLiteral("恢复"),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), [this] { Redo(); });
    Edit->addSeparator();
    AddPending(Edit, "mnuCopy", QStringLiteral("复制"), QKeySequence(Qt::CTRL | Qt::Key_C));
    AddPending(Edit, "mnuCut", QStringLiteral("剪切"), QKeySequence(Qt::CTRL | Qt::Key_X));
    AddPending(Edit, "mnuPaste", QStringLiteral("粘贴"), QKeySequence(Qt::CTRL | Qt::Key_V));
    // The clipboard keys belong to the views (the text tab's own copy and paste) until the
    // score's clipboard commands exist.
    for (const char* N : {"mnuCopy", "mnuCut", "mnuPaste"})
        Action(N)->setShortcutContext(Qt::WidgetShortcut);

    QMenu* Setup = Bar->addMenu(QStringLiteral("设置"));
    Setup->setToolTipsVisible(true);
    AddPending(Setup, "mnuSetupPaper", QStringLiteral("设置页面…"));
    AddPending(Setup, "mnuSetupTitle", QStringLiteral("设置标题…"), QKeySequence(Qt::Key_F11));
    AddPending(Setup, "mnuEditTextFonts", QStringLiteral("设置文本字体…"));
    AddPending(Setup, "mnuEditNoteFonts", QStringLiteral("设置音符字体…"));
    Setup->addSeparator();
    const std::pair<const char*, const char*> OptionItems[] = {
        {"mnuEditNoteHorzSpacing", "设置水平定位…"},
        {"mnuEditOptionsParam_VertSpacing_Note", "设置垂直定位…"},
        {"mnuEditOptionsParam_Arc", "设置弧线…"},
        {"mnuEditOptionsParam_Chord", "设置和弦…"},
        {"mnuEditOptionsParam_Accomp", "设置伴奏…"},
        {"mnuEditOptionsParam_DrumPitchChar", "设置锣鼓经…"},
        {"mnuEditOptionsParam_Lyric", "设置歌词…"},
        {"mnuEditOptionsParam_FitFactor", "设置撑满算法…"}};
    for (const auto& [N, C] : OptionItems) AddPending(Setup, N, QString::fromUtf8(C));

    QMenu* View = Bar->addMenu(QStringLiteral("查看"));
    View->setToolTipsVisible(true);
    QMenu* Mode = View->addMenu(QStringLiteral("编辑模式"));
    FModeGroup = new QActionGroup(this);
    const std::pair<const char*, TNuo4EditMode> Modes[] = {{"mnuEditMode_Standard", emStandard},
                                                           {"mnuEditMode_Extend", emExtend},
                                                           {"mnuEditMode_Page", emPage},
                                                           {"mnuEditMode_Layout", emLayout}};
    for (const auto& [N, M] : Modes) {
        const TNuo4EditMode Md = M;
        QAction* A = AddAction(Mode, N, Nuo4EditModeName(M), QKeySequence(),
                               [this, Md] { SetEditMode(Md); });
        A->setCheckable(true);
        FModeGroup->addAction(A);
    }
    QMenu* Scale = View->addMenu(QStringLiteral("显示比例"));
    FScaleGroup = new QActionGroup(this);
    for (int L = 0; L < Nuo4ViewScaleLevelCount; ++L) {
        const double S = Nuo4ViewScaleOfLevel(TNuo4ViewScaleLevel(L));
        const QString Pct = QString::number(int(S * 100));
        QAction* A =
            AddAction(Scale, "mnuViewScalePercent" + Pct, Pct + "%", QKeySequence(),
                      [this, L] { ScorePanel->SetViewScaleLevel(TNuo4ViewScaleLevel(L)); });
        A->setCheckable(true);
        FScaleGroup->addAction(A);
    }
    Scale->addSeparator();
    AddAction(Scale, "mnuViewScaleUp", QStringLiteral("放大"),
              QKeySequence(Qt::CTRL | Qt::Key_PageUp), [this] { ScorePanel->StepViewScale(1); });
    AddAction(Scale, "mnuViewScaleDown", QStringLiteral("缩小"),
              QKeySequence(Qt::CTRL | Qt::Key_PageDown), [this] { ScorePanel->StepViewScale(-1); });

    QMenu* Aux = View->addMenu(QStringLiteral("辅助信息"));
    AddAction(Aux, "mnuToggleAuxInfoVisible", QStringLiteral("切换缺省/全无"),
              QKeySequence(Qt::Key_F9), [this] {
                  bAuxInfoDefaultShown = !bAuxInfoDefaultShown;
                  if (bAuxInfoDefaultShown)
                      Nuo4AuxInfoSettings().SetToDefault();
                  else
                      Nuo4AuxInfoSettings().SetAllOff();
                  UpdateAuxInfoChecks();
                  Redraw(false);
              });
    AddAction(Aux, "mnuShowAuxInfoAll", QStringLiteral("全部"), QKeySequence(), [this] {
        Nuo4AuxInfoSettings().SetAllOn();
        bAuxInfoDefaultShown = true;
        UpdateAuxInfoChecks();
        Redraw(false);
    });
    Aux->addSeparator();
    struct {
        const char* Name;
        const char* Caption;
        bool TrecNuo4AuxInfoSettings::*Flag;
    } const AuxItems[] = {
        {"mnuShowAuxInfoGrid", "网格", &TrecNuo4AuxInfoSettings::bShowGrid},
        {"mnuShowAuxInfoBarNumber", "小节序号", &TrecNuo4AuxInfoSettings::bShowBarNumber},
        {"mnuShowAuxInfoLineNumber", "行号", &TrecNuo4AuxInfoSettings::bShowLineNumber},
        {"mnuShowAuxInfoPageNumber", "页号", &TrecNuo4AuxInfoSettings::bShowPageNumber},
        {"mnuShowAuxInfoReturn", "段落标记", &TrecNuo4AuxInfoSettings::bShowReturnSymbol},
        {"mnuShowAuxInfoAttachmentsBk", "特殊附属符号底色",
         &TrecNuo4AuxInfoSettings::bShowAttachmentsBk},
        {"mnuShowAuxInfoPageSymbolBk", "页面符号底色", &TrecNuo4AuxInfoSettings::bShowPageSymbolBk},
        {"mnuShowAuxInfoLyricVerseStart", "段首歌词",
         &TrecNuo4AuxInfoSettings::bShowLyricVerseStart},
        {"mnuShowAuxInfoAWCoefLocked", "前进宽度锁定标记",
         &TrecNuo4AuxInfoSettings::bShowAWCoefLockedMarker},
        {"mnuShowAuxInfoAttachIndicator", "附属符号关联指示线",
         &TrecNuo4AuxInfoSettings::bShowAttachIndicator},
        {"mnuShowAuxInfoMarginMarker", "排版边界指示线",
         &TrecNuo4AuxInfoSettings::bShowMarginMarker},
        {"mnuShowAuxInfoRulesCheck", "规则检查错误标记",
         &TrecNuo4AuxInfoSettings::bShowRulesCheckMark},
        {"mnuShowAuxInfoHidedSymbol", "隐藏符号", &TrecNuo4AuxInfoSettings::bShowHidedSymbol},
    };
    for (const auto& It : AuxItems) {
        bool TrecNuo4AuxInfoSettings::*Flag = It.Flag;
        QAction* A =
            AddAction(Aux, It.Name, QString::fromUtf8(It.Caption), QKeySequence(), [this, Flag] {
                Nuo4AuxInfoSettings().*Flag = !(Nuo4AuxInfoSettings().*Flag);
                UpdateAuxInfoChecks();
                Redraw(false);
            });
        A->setCheckable(true);
        A->setData(QVariant::fromValue(reinterpret_cast<quintptr>(&(Nuo4AuxInfoSettings().*Flag))));
    }

    CreatePlayMenu(Bar);
    QMenu* Tools = Bar->addMenu(QStringLiteral("工具"));
    Tools->setToolTipsVisible(true);
    AddAction(Tools, "mnuShowFloatToolWindow", QStringLiteral("浮动工具窗口"),
              QKeySequence(Qt::Key_F12),
              [this] { FFloatToolWindow->setVisible(!FFloatToolWindow->isVisible()); });
    AddPending(Tools, "mnuApplicationOptions", QStringLiteral("选项…"));
    QAction* Top =
        AddAction(Tools, "mnuAlwaysTop", QStringLiteral("窗口总在最前"), QKeySequence(), [this] {
            const bool bOn = Action("mnuAlwaysTop")->isChecked();
            setWindowFlag(Qt::WindowStaysOnTopHint, bOn);
            show();
        });
    Top->setCheckable(true);
    AddAction(Tools, "mnuSetFileAssociate", QStringLiteral("设定文件关联"), QKeySequence(),
              [this] { SetFileAssociate(); });
    AddPending(Tools, "mnuTranspose", QStringLiteral("移调…"));
    AddPending(Tools, "mnuCalcKeyAndTempo", QStringLiteral("测调测速…"),
               QKeySequence(Qt::CTRL | Qt::Key_F12));
    AddPending(Tools, "mnuSpeedEntry", QStringLiteral("SpeedEntry(演奏出谱)"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
    AddAction(Tools, "mnuRedraw", QStringLiteral("Redraw"), QKeySequence(),
              [this] { Redraw(false); });

    QMenu* Help = Bar->addMenu(QStringLiteral("帮助"));
    Help->setToolTipsVisible(true);
    AddAction(Help, "mnuShowQuickStartWindow", QStringLiteral("快速入门"), QKeySequence(),
              [this] { ShowHelpWindow(hwQuickStart); });
    AddAction(Help, "mnuShowBasicIntroduceWindow", QStringLiteral("基础操作"), QKeySequence(),
              [this] { ShowHelpWindow(hwBasicIntroduce); });
    Help->addSeparator();
    for (const char* T : {"图文教程-基础篇", "图文教程-提高篇", "图文教程-高级篇",
                          "图文教程-怎样打合唱谱", "使用说明"}) {
        const QString Name = QString::fromUtf8(T);
        AddAction(Help, "mnuTutorial_" + Name, Name, QKeySequence(),
                  [this, Name] { OpenHelpFile(Name + QStringLiteral(".pdf")); });
    }
    QMenu* Demo = Help->addMenu(QStringLiteral("演示乐谱"));
    const QFileInfoList Demos =
        QDir(Nuo4DemoFolder()).entryInfoList({QStringLiteral("*.nuoabc")}, QDir::Files, QDir::Name);
    for (const QFileInfo& F : Demos) {
        const QString Path = F.absoluteFilePath();
        AddAction(Demo, "mnuDemo_" + F.completeBaseName(), F.completeBaseName(), QKeySequence(),
                  [this, Path] { OpenDemo(Path); });
    }
    AddAction(Help, "mnuWhatsNew", QStringLiteral("新版变化"), QKeySequence(),
              [this] { OpenHelpFile(QStringLiteral("What's New.txt")); });

    // The pop-up menus of the modes; the text tab has its own.
    for (int M = 0; M < Nuo4EditModeCount; ++M) {
        QMenu* P = new QMenu(this);
        P->addAction(Action("mnuUndo"));
        P->addAction(Action("mnuRedo"));
        P->addSeparator();
        P->addAction(Action("mnuCopy"));
        P->addAction(Action("mnuCut"));
        P->addAction(Action("mnuPaste"));
        P->addSeparator();
        P->addMenu(Mode);
        FPopupMenus[M] = P;
    }
    ScorePanel->PaintBox()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ScorePanel->PaintBox(), &QWidget::customContextMenuRequested, this, [this](QPoint P) {
        FPopupMenus[FEditMode]->popup(ScorePanel->PaintBox()->mapToGlobal(P));
    });

    // The text tab: F1 toggles highlighting; only the text control owns that key.
    QAction* Syn = new QAction(QStringLiteral("语法高亮"), ABCSynRichEdit);
    Syn->setObjectName("mnuSyntaxHighlight");
    Syn->setShortcut(QKeySequence(Qt::Key_F1));
    Syn->setShortcutContext(Qt::WidgetShortcut);
    Syn->setCheckable(true);
    connect(Syn, &QAction::triggered, this, [this] {
        RecordTextTabEdits();
        DoRedraw(!GetCompiled(), false);
    });
    ABCSynRichEdit->addAction(Syn);
    FActions["mnuSyntaxHighlight"] = Syn;
    QAction* ToScore = new QAction(QStringLiteral("查看乐谱"), this);
    connect(ToScore, &QAction::triggered, this, [this] { ShowScoreTab(); });
    QAction* Format = new QAction(QStringLiteral("格式化代码"), this);
    Format->setEnabled(false);
    Format->setToolTip(PendingTip);
    QAction* Blank = new QAction(QStringLiteral("删除多余空行"), this);
    connect(Blank, &QAction::triggered, this, [this] {
        if (GetCompiled()) return;
        ABCSynRichEdit->RemoveContinueBlankLines();
    });
    ABCSynRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ABCSynRichEdit, &QWidget::customContextMenuRequested, this, [=, this](QPoint P) {
        QMenu M(this);
        M.setToolTipsVisible(true);
        M.addAction(Syn);
        M.addAction(ToScore);
        M.addAction(Format);
        M.addAction(Blank);
        M.exec(ABCSynRichEdit->mapToGlobal(P));
    });
}

// ---- Tool bars, floating tool window, status bar -------------------------------------------

void TFormNuo4Main::CreateToolBars() {
    QToolBar* Modes = addToolBar(QStringLiteral("编辑模式"));
    Modes->setObjectName("tbModes");
    for (const char* N :
         {"mnuEditMode_Standard", "mnuEditMode_Extend", "mnuEditMode_Page", "mnuEditMode_Layout"})
        Modes->addAction(Action(N));
    const char* Names[] = {
        "tbStandardSymbols", "tbStandardButtons", "tbExtendSymbols", "tbExtendButtons", "tbPage",
        "tbLayout"};
    const char* Captions[] = {"标准符号", "标准按钮", "扩展符号", "扩展按钮", "页面", "排版"};
    for (int I = 0; I < 6; ++I) {
        FToolBars[I] = addToolBar(QString::fromUtf8(Captions[I]));
        FToolBars[I]->setObjectName(Names[I]);
    }
    FToolBarLayout2 = addToolBar(QStringLiteral("排版2"));
    FToolBarLayout2->setObjectName("tbLayout2");
    // Standard symbols: the note digits and the bar line, entered like their keys.
    for (int D = 0; D <= 7; ++D) {
        QAction* A = new QAction(QString::number(D), this);
        A->setObjectName(QStringLiteral("tbNote%1").arg(D));
        A->setToolTip(D == 0 ? QStringLiteral("休止符") : QStringLiteral("音符 %1").arg(D));
        connect(A, &QAction::triggered, this, [this, D] {
            TrecNuo4KeyCommand C;
            C.Command = ecInsertNote;
            C.Param = D;
            Nuo4ExecuteCommand(*this, C);
            ScorePanel->MySetFocus();
        });
        FToolBars[0]->addAction(A);
    }
    QAction* Bar = new QAction(QStringLiteral("|"), this);
    Bar->setToolTip(QStringLiteral("小节线"));
    connect(Bar, &QAction::triggered, this, [this] {
        TrecNuo4KeyCommand C;
        C.Command = ecInsertBarline;
        Nuo4ExecuteCommand(*this, C);
        ScorePanel->MySetFocus();
    });
    FToolBars[0]->addAction(Bar);
    for (QToolBar* T : {FToolBars[1], FToolBars[3]}) {
        T->addAction(Action("mnuUndo"));
        T->addAction(Action("mnuRedo"));
    }
    auto Pending = [this](QToolBar* T, const QString& ACaption) {
        QAction* A = T->addAction(ACaption);
        A->setEnabled(false);
        A->setToolTip(ACaption + QStringLiteral(": ") + PendingTip);
    };
    for (const char* C : {"歌词", "附属符号", "弧线", "房子"})
        Pending(FToolBars[2], QString::fromUtf8(C));
    for (const char* C : {"文本框", "标题块"}) Pending(FToolBars[4], QString::fromUtf8(C));
    for (const char* C : {"两端对齐", "段落", "分页"}) Pending(FToolBars[5], QString::fromUtf8(C));
    for (const char* C : {"前进宽度", "行宽"}) Pending(FToolBarLayout2, QString::fromUtf8(C));
}

void TFormNuo4Main::CreateFloatToolWindow() {
    FFloatToolWindow = new QDockWidget(QStringLiteral("浮动工具窗口"), this);
    FFloatToolWindow->setObjectName("FloatToolWindow");
    FFloatPages = new QStackedWidget(FFloatToolWindow);
    for (int M = 0; M < Nuo4EditModeCount; ++M) {
        QWidget* Page = new QWidget(FFloatPages);
        QGridLayout* G = new QGridLayout(Page);
        // Undo on every page; a click with Shift held down is a redo.
        QPushButton* UndoBtn = new QPushButton(QStringLiteral("撤消"), Page);
        connect(UndoBtn, &QPushButton::clicked, this, [this] {
            if (QApplication::keyboardModifiers() & Qt::ShiftModifier)
                Redo();
            else
                Undo();
        });
        G->addWidget(UndoBtn, 0, 0);
        if (M == emStandard)
            for (int D = 0; D <= 7; ++D) {
                QPushButton* B = new QPushButton(QString::number(D), Page);
                connect(B, &QPushButton::clicked, this, [this, D] {
                    TrecNuo4KeyCommand C;
                    C.Command = ecInsertNote;
                    C.Param = D;
                    Nuo4ExecuteCommand(*this, C);
                });
                G->addWidget(B, 1 + D / 4, D % 4);
            }
        FFloatPages->addWidget(Page);
    }
    FFloatToolWindow->setWidget(FFloatPages);
    addDockWidget(Qt::RightDockWidgetArea, FFloatToolWindow);
    FFloatToolWindow->setFloating(true);
    FFloatToolWindow->hide();
}

void TFormNuo4Main::CreateStatusBar() {
    for (int I = 0; I < Nuo4StatusPanelCount; ++I) {
        FStatusPanels[I] = new QLabel(this);
        // The widths are shares of the bar: on a narrow window the panels shrink and clip
        // their texts instead of running into each other.
        FStatusPanels[I]->setMinimumWidth(std::min(Nuo4StatusPanelWidths[I], 40));
        FStatusPanels[I]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        FStatusPanels[I]->setFrameShape(QFrame::StyledPanel);
        statusBar()->addWidget(FStatusPanels[I], Nuo4StatusPanelWidths[I]);
    }
}

void TFormNuo4Main::SetStatus(int APanel, const QString& AText) {
    if (FStatusPanels[APanel]->text() != AText) FStatusPanels[APanel]->setText(AText);
}

QString TFormNuo4Main::StatusText(int APanel) const {
    return APanel >= 0 && APanel < Nuo4StatusPanelCount ? FStatusPanels[APanel]->text() : QString();
}

void TFormNuo4Main::UpdateAuxInfoChecks() {
    for (auto& [Name, A] : FActions)
        if (Name.startsWith("mnuShowAuxInfo") && A->isCheckable())
            A->setChecked(*reinterpret_cast<bool*>(A->data().value<quintptr>()));
    const TrecNuo4AuxInfoSettings& S = Nuo4AuxInfoSettings();
    ScorePanel->SetShowGrid(S.bShowGrid);
    const TrecNuo4DocOptionsParam_Paper& P = Nuo4DocOptions().Param_Paper;
    ScorePanel->SetShowMarginMarker(
        S.bShowMarginMarker, QMarginsF(P.MarginLeft, P.MarginTop, P.MarginRight, P.MarginBottom));
}

void TFormNuo4Main::ApplyOptionsToView() {
    ScorePanel->SetPaperColor(QColor::fromRgba(FOptions.PageBkColor));
    Nuo4AuxInfoSettings().PaperColor = FOptions.PageBkColor;
    Nuo4AuxInfoSettings().InkColor = FOptions.SymbolColor;
    ScorePanel->SetFixedColumnCount(FViewOptions.FixedPageColumnCount);
    ScorePanel->Geometry().Params.GapHorz = FViewOptions.PageGapHorz;
    ScorePanel->Geometry().Params.GapVert = FViewOptions.PageGapVert;
    UpdateAuxInfoChecks();
}
}  // namespace nuo4
