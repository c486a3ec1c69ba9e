#pragma once
// Recovery files: the text of every open document is copied to the state folder within a second
// or two of each change, so that a killed or crashed editor loses at most the last moments of
// work. One file per running copy and document ("Recovery-PID-DOC.nuo4rec"); a small header
// names the process (pid and start time, so a reused pid is not mistaken for the writer), the
// document and its original path, and the byte count of the text, so a torn file is never taken
// for a complete one. Standard C++ and POSIX only: no widget is needed to test it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nuo4 {

// $XDG_STATE_HOME/Nuo4 (an absolute XDG_STATE_HOME only), else $HOME/.local/state/Nuo4.
std::string Nuo4StateFolder();

struct TrecNuo4RecoveryHeader {
    int64_t Pid = 0;
    uint64_t StartTime = 0;  // the process's start time in clock ticks since boot
    uint64_t DocumentId = 0;
    std::string OriginalPath;  // "" for an untitled document
};

struct TrecNuo4RecoveryFile {
    std::string Path;  // the recovery file itself
    TrecNuo4RecoveryHeader Header;
    std::u16string Text;         // the score text, line breaks as the editor holds them
    int64_t ModifiedTimeNs = 0;  // of the recovery file
};

// The file's bytes: the header lines, an empty line, the text as UTF-8.
std::string FormatRecoveryFile(const TrecNuo4RecoveryHeader& AHeader, std::u16string_view AText);
// False for anything but a complete file of this kind (torn, truncated, foreign).
bool ParseRecoveryFile(std::string_view ABytes, TrecNuo4RecoveryHeader& AHeader,
                       std::u16string& AText);

// The start time of a running process, 0 when there is none.
uint64_t Nuo4ProcessStartTime(int64_t APid);
// True while the process that wrote the header still runs.
bool Nuo4RecoveryWriterAlive(const TrecNuo4RecoveryHeader& AHeader);

class TNuo4RecoveryStore {
  public:
    // AFolder: where the files go (created when missing); APid and AStartTime name this process.
    TNuo4RecoveryStore(std::string AFolder, int64_t APid, uint64_t AStartTime);

    std::string FilePath(uint64_t ADocumentId) const;
    // Writes the text atomically unless it equals what this document's file already holds. True
    // when the file holds the text afterwards; false with the reason in AError.
    bool Write(uint64_t ADocumentId, const std::string& AOriginalPath, std::u16string_view AText,
               std::string& AError);
    // Removes this document's file (a clean close or a save that made it redundant).
    void Remove(uint64_t ADocumentId);
    bool Holds(uint64_t ADocumentId, std::u16string_view AText) const;

    // The leftovers worth offering, newest first: complete files whose writer is gone
    // (AWriterAlive decides, by default Nuo4RecoveryWriterAlive) and that are newer than the
    // score they belong to (always for an untitled document or a vanished score). Files of
    // this process are never offered. The paths of leftovers that are older than their score go
    // to AStale when given: nothing in them is worth keeping.
    std::vector<TrecNuo4RecoveryFile> FindLeftovers(
        const std::function<bool(const TrecNuo4RecoveryHeader&)>& AWriterAlive = nullptr,
        std::vector<std::string>* AStale = nullptr) const;

    const std::string& Folder() const { return FFolder; }

  private:
    struct TrecWritten {
        uint64_t DocumentId;
        std::string OriginalPath;
        std::u16string Text;
    };
    std::string FFolder;
    int64_t FPid;
    uint64_t FStartTime;
    std::vector<TrecWritten> FWritten;
};

}  // namespace nuo4
