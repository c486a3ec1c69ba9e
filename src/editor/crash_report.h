#pragma once
// The crash report: when the editor meets an error it cannot go on from, it leaves three files
// in the state folder: "NUO4Error.txt" (what happened and the stack), "NUO4Error.nuoabc" (the
// score text) and, where a picture can still be taken, "NUO4Error.bmp" (the window).
//
// A fatal signal (SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL) is handled with async-signal-safe
// calls only: the paths and a copy of the score text are prepared beforehand (the text again
// after every change), and the handler does no more than open, write, rename and close; then
// the signal takes its default course. No message box is shown from a signal handler: a line
// goes to standard error. An exception that reaches the event loop or std::terminate still runs
// ordinary code: it writes the report (and the picture) and the caller shows the message. Only
// the first exception writes a report; later ones are only shown. The score's modified flag is
// never touched: the report is a copy, not a save.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace nuo4 {

struct TrecNuo4CrashReportResult {
    bool bReported = false;  // false for a later exception: no files written, only shown
    bool bTextWritten = false, bScoreWritten = false, bPictureWritten = false;
    std::string Message;  // the exception's message
    std::string TextError, ScoreError, PictureError;
};

class TNuo4CrashReport {
  public:
    static TNuo4CrashReport& Instance();

    // Prepares the three paths in AFolder (created when a report is written).
    void Setup(const std::string& AFolder);
    // The score text as it stands (editor line breaks); kept as UTF-8 with a byte-order mark
    // and CR LF breaks, ready for the signal handler.
    void SetScoreText(std::u16string_view AText);
    // Installs the fatal-signal handlers (on an alternate stack, so a stack overflow is
    // reported too) and the terminate handler.
    void Install();
    // A picture of the window as encoded image bytes ("" when none can be taken) and where a
    // message goes; used by exceptions only.
    void SetHooks(std::function<std::string()> AGrabPicture,
                  std::function<void(const std::string&)> AShowMessage);

    // An exception that reached the event loop (bFatal false) or std::terminate (bFatal true):
    // the first one writes the report, every one is counted.
    TrecNuo4CrashReportResult HandleException(std::string_view AMessage, bool bFatal);
    // HandleException, then the message through the show hook.
    void ReportException(std::string_view AMessage, bool bFatal);
    // The message for the user (UTF-8): for a report, what happened and per file where it was
    // written or that it was not; for a later exception only its message.
    static std::string ReportMessage(const TrecNuo4CrashReportResult& AResult, bool bFatal);

    // A fatal signal could show nothing: the next start shows its message from what the handler
    // left (and forgets it); "" when no report waits.
    std::string TakePendingSignalReport();

    int32_t ExceptionCount() const { return FExceptionCount; }
    const std::string& TextPath() const { return FTextPath; }
    const std::string& ScorePath() const { return FScorePath; }
    const std::string& PicturePath() const { return FPicturePath; }
    // Forgets the count (tests).
    void ResetCount() { FExceptionCount = 0; }

    // Used by the signal handler only.
    void WriteSignalReport(int ASignal);

  private:
    TNuo4CrashReport() = default;
    std::string FFolder, FTextPath, FTextTemp, FScorePath, FScoreTemp, FPicturePath, FPendingPath;
    // Two copies of the text: the handler reads the published one while the other is refilled.
    std::string FScoreBytes[2];
    volatile int FPublished = 0;
    int32_t FExceptionCount = 0;
    std::function<std::string()> FGrabPicture;
    std::function<void(const std::string&)> FShowMessage;
};

}  // namespace nuo4
