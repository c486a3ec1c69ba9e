#pragma once
// The main window: the score view on the "乐谱" tab and the score text editor on the "ABC代码"
// tab, the menus, the mode tool bars, the floating tool window, the status bar, the undo ring and
// the edit mode. Every edit follows the command pattern of edit_commands.h with this window as
// its host.

#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <array>
#include <map>
#include <memory>

#include "editor/abc_syn_rich_edit.h"
#include "editor/app_options.h"
#include "editor/autosave.h"
#include "editor/edit_commands.h"
#include "editor/edit_mode.h"
#include "editor/help_window.h"
#include "editor/instance_lock.h"
#include "editor/new_file_dialog.h"
#include "editor/play_controller.h"
#include "editor/play_indicator.h"
#include "editor/play_window.h"
#include "editor/recent_files.h"
#include "editor/recovery_store.h"
#include "editor/score_panel.h"
#include "editor/undo_redo.h"
#include "layout/export_jobs.h"
#include "playback/played_note_map.h"

class QAction;
class QUrl;
class QActionGroup;
class QDockWidget;
class QMenu;
class QMenuBar;
class QStackedWidget;
class QTabWidget;
class QToolBar;

namespace nuo4 {

// The view options: the auxiliary-information switches (kept in Nuo4AuxInfoSettings, which the
// drawing reads), the fixed page column count and the gaps between pages.
struct TrecNuo4ViewOptions {
    int32_t FixedPageColumnCount = 0;
    double PageGapHorz = 5, PageGapVert = 5;
};

class TFormNuo4Main : public QMainWindow, public INuo4EditorHost {
  public:
    // AOptionsPath: the application options file ("" for the user's configuration folder).
    explicit TFormNuo4Main(const QString& AOptionsPath = QString(), QWidget* AParent = nullptr);
    ~TFormNuo4Main() override;

    // ---- The host of the edit commands ----------------------------------------------------
    TNuo4SimpleBuffer* GetSimpleBuffer() override { return ABCSynRichEdit->SimpleBuffer(); }
    TNuo4EditMode GetEditMode() const override { return FEditMode; }
    bool ReplaceText(const TNuo4ABCTextReplaceItems& AItems) override;
    void Redraw(bool bScrollToCaretVisible) override;
    void Redraw_Fast(bool bScrollToCaretVisible) override;
    void UpdateOverlay() override;
    void PutUndoSnapshot() override;
    void UpdateCaretStatus() override;
    void ShowMessage(const QString& AText) override;
    bool AutoInsertBarline() const override { return FOptions.bAutoBarline; }
    bool OldDVGroupOrder() const override { return FOptions.bOldDVGroupOrder; }
    // Keys (main_window_keys.cpp): the questions and menus of key commands, the window's keys.
    bool AskOkCancel(const QString& AText) override;
    int32_t ChooseFromPopupMenu(const QStringList& AItems, int32_t ADefaultItem) override;
    bool RunWindowCommand(const TrecNuo4KeyCommand& ACommand) override;
    TrecNuo4KeyOptions KeyOptions() const override;
    // Questions and pop-up menus go here instead of modal boxes when set (tests, scripts).
    std::function<bool(const QString&)> OkCancelSink;
    std::function<int32_t(const QStringList&, int32_t)> PopupMenuSink;

    void DoRedraw(bool bCompiled, bool bScrollToCaretVisible);
    void SetCompiled(bool AValue);
    bool GetCompiled() const { return ABCSynRichEdit->GetCompiled(); }
    void SetEditMode(TNuo4EditMode AValue);

    // Loads a score (an empty name gives a new document). A file that cannot be read or decoded
    // leaves the current document untouched and shows why; false then.
    bool LoadFile(const QString& AFileName);
    bool SaveFile();
    bool SaveFileAs();
    QString OpenFileDialog();
    // The save question; false when the user cancels.
    bool AskToSave();
    // The last command-line argument that contains ".nuoabc" and names an existing file.
    static QString FileFromCommandLine(const QStringList& AArguments);

    void Undo();
    void Redo();
    bool ScoreTabShown() const;
    void ShowScoreTab();
    void ShowTextTab();

    // ---- Parts the tests look at ------------------------------------------------------------
    TKoScorePanel* ScorePanelWidget() const { return ScorePanel; }
    TKoABCSynRichEdit* TextEditor() const { return ABCSynRichEdit; }
    TNuo4UndoRedoBuffer* UndoRedoBuffer() const { return FUndoRedoBuffer.get(); }
    QString StatusText(int APanel) const;
    QAction* Action(const QString& AName) const;
    const TrecNuo4ApplicationOptions& Options() const { return FOptions; }
    TrecNuo4ApplicationOptions& Options() { return FOptions; }
    QString FileNameOpened() const { return FFileNameOpened; }
    QString OptionsPath() const { return FOptionsPath; }
    // Remembers a folder for one kind of file; written to the options file at once.
    void SetLastFolder(TNuo4LastFolderKind AKind, const QString& AFolder);
    // Messages and the save question go here instead of modal boxes when set (tests, scripts).
    std::function<void(const QString&)> MessageSink;
    // 0 save, 1 do not save, 2 cancel.
    std::function<int()> SaveQuestionSink;
    // ---- Export and printing (main_window_export.cpp) --------------------------------------
    // The justification question; false when the user cancels.
    bool ExportJustificationCheck();
    void ExportPrint();
    void ExportImage(TNuo4ImageResolution AResolution);
    void ExportPdf();
    void ExportSvg();
    void ExportToClipboard();
    // The question goes here instead of a modal box when set (tests): true continues.
    std::function<bool()> JustifyQuestionSink;

    // Time of the last key-to-paint cycle is measured by the benchmark through these.
    int64_t ScoreDrawCount() const { return ScorePanel->DrawCount(); }

    // ---- Document files: new document, recent files, clipboard, demos, help ---------------
    // The new-document dialog, then the empty document with the chosen paper and title; false
    // when cancelled (by the save question or the dialog).
    bool NewFile();
    // The save question, then the load; for every load that replaces the current text.
    bool OpenReplacing(const QString& AFileName);
    void OpenRecentFile(const QString& AFileName);
    bool OpenFileFromClipboard();
    QString ProposedSaveName() const;
    // Registers the score type with the desktop for the user; false (and says so) on failure.
    bool SetFileAssociate();
    TMyRecentFilesMenu* RecentFilesMenu() const { return FMyRecentFilesMenu.get(); }
    // The help windows: shown (made on first use) and raised; at start-up those the options
    // ask for, the basic operations below the menus at the window's left.
    enum THelpWindowKind : uint8_t { hwQuickStart, hwBasicIntroduce };
    TNuo4HelpWindow* ShowHelpWindow(THelpWindowKind AKind, bool bActivate = true);
    void ShowStartupHelpWindows();
    // A help-folder file ("What's New.txt", "使用说明.pdf") with the desktop's viewer; a missing
    // file or a refusing viewer is said.
    void OpenHelpFile(const QString& AName);
    // Replaces the desktop's viewer (tests): true when the file was opened.
    std::function<bool(const QUrl&)> OpenUrlSink;
    // Dialog replacements for tests: the chosen file name ("" cancels) and the new document.
    std::function<QString(const QString& AProposed)> SaveFileNameSink;
    std::function<bool(TrecNuo4FormInfo_NewFile&)> NewFileSink;

  protected:
    void closeEvent(QCloseEvent* AEvent) override;

  private:
    void CreateMenus();
    void CreateToolBars();
    void CreateFloatToolWindow();
    void CreateStatusBar();
    QAction* AddAction(QMenu* AMenu, const QString& AName, const QString& ACaption,
                       const QKeySequence& AShortcut = QKeySequence(),
                       std::function<void()> AEffect = nullptr);
    QAction* AddPending(QMenu* AMenu, const QString& AName, const QString& ACaption,
                        const QKeySequence& AShortcut = QKeySequence());
    void UpdateModeUI();
    void UpdateTotalsStatus();
    void UpdateScaleStatus();
    void UpdateAuxInfoChecks();
    void SetStatus(int APanel, const QString& AText);
    void OnTabChanged(int AIndex);
    void RecordTextTabEdits();
    void RestoreSnapshot(const TrecNuo4UndoRedoItem* AItem);
    void ResetUndoRing();
    void UpdateCaption();
    void OnGeneralTimer();
    void CheckMemory();
    void SaveOptions();
    void ApplyOptionsToView();
    void OpenDemo(const QString& APath);
    void CreateRecentFilesMenu(QMenu* AMenu);

    // Score view events and keys.
    void ScorePanelEventHandler(TrecNuo4ScorePanelEventInfo& AInfo);
    void ABCSynRichEditEventHandler(const TrecNuo4ABCSynRichEditEventInfo& AInfo);
    bool ScoreViewKey(QKeyEvent* AEvent, bool bOnlyAsk);
    void OnScorePanelEvent_PaintBoxMouseDown(const TrecNuo4ScorePanelEventInfo& AInfo);
    void OnScorePanelEvent_PaintBoxMouseMove(const TrecNuo4ScorePanelEventInfo& AInfo);
    void OnScorePanelEvent_BeforeDraw();
    // Mouse: the drag of a symbol, its release, the double click.
    void StartSymbolDrag(const TrecNuo4ScorePanelEventInfo& AInfo);
    void OnScorePanelEvent_PaintBoxMouseUp(const TrecNuo4ScorePanelEventInfo& AInfo);
    void OnScorePanelEvent_PaintBoxDblClick(const TrecNuo4ScorePanelEventInfo& AInfo);
    void ShowStatusMessage(const QString& AText);
    void DrawLayer(const TrecNuo4ScorePanelEventInfo& AInfo);

    TNuo4EditMode FEditMode = emStandard;
    QTabWidget* FTabs = nullptr;
    TKoABCSynRichEdit* ABCSynRichEdit = nullptr;
    TKoScorePanel* ScorePanel = nullptr;
    QString FFileNameOpened;
    std::unique_ptr<TNuo4UndoRedoBuffer> FUndoRedoBuffer;
    QTimer tmrGeneral;
    int32_t TimerCount = 0;
    bool bMemeoryWarningShowed = false;
    bool bFirstRun = false;
    bool bFirstActivated = false;
    QString FOptionsPath;
    QString FProgramFolder;
    TrecNuo4ApplicationOptions FOptions;
    TrecNuo4ViewOptions FViewOptions;
    QSizeF FLastPageSize;
    std::map<QString, QAction*> FActions;
    QActionGroup* FModeGroup = nullptr;
    QActionGroup* FScaleGroup = nullptr;
    std::array<QToolBar*, 6> FToolBars{};  // standard symbols, standard buttons, extend symbols,
                                           // extend buttons, page, layout
    QToolBar* FToolBarLayout2 = nullptr;
    QDockWidget* FFloatToolWindow = nullptr;
    QStackedWidget* FFloatPages = nullptr;
    std::array<QMenu*, Nuo4EditModeCount> FPopupMenus{};
    std::array<QLabel*, 8> FStatusPanels{};
    bool bAuxInfoDefaultShown = true;
    bool bHintWindowShowedAfterHanZiInputting = false;  // keys: the CJK-character hint is shown

    // ---- Recovery files, autosave and crash report (main_window_safety.cpp) ----------------
  public:
    // Recovery files, the per-copy autosave and the crash report go to AStateFolder from now on.
    void EnableSafety(const QString& AStateFolder);
    // Offers the leftover recovery files of ended sessions, newest first; true when one was
    // loaded. Asks through RecoveryQuestionSink when set (0 recover, 1 discard, 2 keep).
    bool OfferRecovery();
    std::function<int(const QString&)> RecoveryQuestionSink;
    // Joins the running copies noted in AStateFolder; says so when another copy already runs
    // (both go on). True when another copy was found.
    bool NoticeOtherInstances(const QString& AStateFolder);
    // "打开自动保存的文件": the autosave copy as an untitled, modified document.
    void OpenAutoSaveFile();
    // A text as a modified document under AFileName ("" for untitled).
    void LoadTextAsModified(std::u16string_view AText, const QString& AFileName);
    // Writes or removes this document's recovery file now (as the timer would).
    void FlushRecovery();
    // A clean exit: the recovery file goes.
    void RemoveRecoveryFile();
    QString RecoveryFilePath() const;
    QString AutoSaveFilePath() const;
    // Hidden self-test: types a note every AIntervalMs through the key path, saving every
    // ASaveEvery edits (0 never), and prints every completed edit with a time stamp.
    void StartSelfTestTyping(int AIntervalMs, int ASaveEvery);

  private:
    void OnTextChangedForSafety();
    void AutoSaveTick();
    void SelfTestStep();
    std::unique_ptr<TNuo4RecoveryStore> FRecoveryStore;
    std::unique_ptr<TNuo4AutoSave> FAutoSave;
    std::unique_ptr<TNuo4InstanceLock> FInstanceLock;
    QTimer tmrRecovery;
    QTimer tmrSelfTest;
    int64_t FRecoveryPendingSinceMs = -1;
    uint64_t FDocumentId = 1;
    int32_t FSelfTestCount = 0, FSelfTestSaveEvery = 0;

    // ---- Playback: player, play window, playing-note indicator, audition, MIDI files -------
  public:
    void AuditionCaretNote() override;
    // Plays the document in that range; false (with a status message) when it cannot.
    bool PlayScore(TNuo4MelodyPlayRange ARange);
    void TogglePausePlay();
    void StopPlay();
    // Moves the play window's speed track bar by ASteps of its page size.
    void StepPlaySpeed(int ASteps);
    void SetMetronomeSound(bool bOn);
    void ShowPlayWindow();
    // The "MIDI…" command: the save dialog, then the melody of the whole score as a file.
    bool ExportMidiFile();
    TNuo4PlayController* PlayController() const { return FPlay.get(); }
    TNuo4PlayWindow* PlayWindow() const { return FPlayWindow; }
    QWidget* PlayingNoteIndicator() const;
    // Replaces the MIDI save dialog (tests): the proposed path in, the chosen one out ("" cancels).
    std::function<QString(const QString& AProposed)> MidiFileDialogSink;

  private:
    void CreatePlayMenu(QMenuBar* ABar);
    void OnPlayingNote(int32_t ABasicIndex);
    void UpdatePlayingNoteIndicator();
    // Another score is loaded: the melody that plays on marks none of its notes.
    void ForgetPlayedScore();
    void UpdatePlayUI();
    void ShowPlayStatus(const QString& AText);
    std::unique_ptr<TNuo4PlayController> FPlay;
    TNuo4PlayWindow* FPlayWindow = nullptr;
    QDockWidget* FPlayDock = nullptr;
    TNuo4PlayingNoteIndicator* FPlayIndicator = nullptr;
    bool bAuditionFailureShown = false;
    // The notes of the melody that plays, found again in the score as it is edited meanwhile,
    // and the played index of the note that sounds (-1 for none).
    TNuo4PlayedNoteMap FPlayedNotes;
    int32_t FPlayedIndex = -1;
    std::unique_ptr<TMyRecentFilesMenu> FMyRecentFilesMenu;  // document files
    std::array<TNuo4HelpWindow*, 2> FHelpWindows{};
};

// Where the demonstration scores lie: the program's "demo" folder, else the source tree's.
QString Nuo4DemoFolder();
// A resource folder ("demo", "help"): beside the program, in its share/nuo4, else the source tree.
QString Nuo4ResourceFolder(const QString& AName);

}  // namespace nuo4
