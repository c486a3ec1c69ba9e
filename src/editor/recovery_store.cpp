#include "editor/recovery_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "format/abc_common.h"
#include "format/score_file_save.h"

namespace nuo4 {

namespace {

constexpr std::string_view Magic = "NUO4RECOVERY 1\n";
constexpr std::string_view FilePrefix = "Recovery-";
constexpr std::string_view FileSuffix = ".nuo4rec";

// A path may hold any byte but NUL; the header is line based, so breaks and the escape itself
// are escaped.
std::string EscapeLine(std::string_view S) {
    std::string R;
    for (const char C : S) {
        if (C == '\\')
            R += "\\\\";
        else if (C == '\n')
            R += "\\n";
        else if (C == '\r')
            R += "\\r";
        else
            R += C;
    }
    return R;
}

bool UnescapeLine(std::string_view S, std::string& R) {
    R.clear();
    for (size_t I = 0; I < S.size(); ++I) {
        if (S[I] != '\\') {
            R += S[I];
            continue;
        }
        if (++I == S.size()) return false;
        if (S[I] == '\\')
            R += '\\';
        else if (S[I] == 'n')
            R += '\n';
        else if (S[I] == 'r')
            R += '\r';
        else
            return false;
    }
    return true;
}

bool ParseUnsigned(std::string_view S, uint64_t& AValue) {
    if (S.empty() || S.size() > 20) return false;
    AValue = 0;
    for (const char C : S) {
        if (C < '0' || C > '9') return false;
        AValue = AValue * 10 + uint64_t(C - '0');
    }
    return true;
}

int64_t ModifiedTimeNs(const struct stat& St) {
    return int64_t(St.st_mtim.tv_sec) * 1000000000 + St.st_mtim.tv_nsec;
}

bool ReadWholeFile(const std::string& APath, std::string& ABytes) {
    std::ifstream F(APath, std::ios::binary);
    if (!F) return false;
    std::ostringstream S;
    S << F.rdbuf();
    ABytes = S.str();
    return true;
}

}  // namespace

std::string Nuo4StateFolder() {
    const char* State = std::getenv("XDG_STATE_HOME");
    if (State && State[0] == '/') return std::string(State) + "/Nuo4";
    const char* Home = std::getenv("HOME");
    return std::string(Home && Home[0] ? Home : "/tmp") + "/.local/state/Nuo4";
}

std::string FormatRecoveryFile(const TrecNuo4RecoveryHeader& AHeader, std::u16string_view AText) {
    const std::string Text = ABC_ToUtf8(AText);
    std::string R(Magic);
    R += "pid " + std::to_string(AHeader.Pid) + "\n";
    R += "start " + std::to_string(AHeader.StartTime) + "\n";
    R += "document " + std::to_string(AHeader.DocumentId) + "\n";
    R += "length " + std::to_string(Text.size()) + "\n";
    R += "original " + EscapeLine(AHeader.OriginalPath) + "\n\n";
    return R + Text;
}

bool ParseRecoveryFile(std::string_view ABytes, TrecNuo4RecoveryHeader& AHeader,
                       std::u16string& AText) {
    if (ABytes.substr(0, Magic.size()) != Magic) return false;
    size_t Pos = Magic.size();
    static constexpr std::string_view Keys[] = {"pid ", "start ", "document ", "length ",
                                                "original "};
    uint64_t Numbers[4] = {};
    std::string Original;
    for (size_t K = 0; K < std::size(Keys); ++K) {
        const size_t End = ABytes.find('\n', Pos);
        if (End == std::string_view::npos) return false;
        const std::string_view Line = ABytes.substr(Pos, End - Pos);
        if (Line.substr(0, Keys[K].size()) != Keys[K]) return false;
        const std::string_view Value = Line.substr(Keys[K].size());
        if (K < 4 ? !ParseUnsigned(Value, Numbers[K]) : !UnescapeLine(Value, Original))
            return false;
        Pos = End + 1;
    }
    if (Pos >= ABytes.size() || ABytes[Pos] != '\n') return false;
    ++Pos;
    // The count makes a file cut short (or grown by garbage) recognisable.
    if (ABytes.size() - Pos != Numbers[3]) return false;
    const std::string_view Text = ABytes.substr(Pos);
    AHeader.Pid = int64_t(Numbers[0]);
    AHeader.StartTime = Numbers[1];
    AHeader.DocumentId = Numbers[2];
    AHeader.OriginalPath = std::move(Original);
    AText = ABC_FromUtf8(Text);
    return true;
}

uint64_t Nuo4ProcessStartTime(int64_t APid) {
    if (APid <= 0) return 0;
    std::string Stat;
    if (!ReadWholeFile("/proc/" + std::to_string(APid) + "/stat", Stat)) return 0;
    // The command name is in parentheses and may hold blanks and parentheses itself.
    const size_t Close = Stat.rfind(')');
    if (Close == std::string::npos) return 0;
    std::istringstream S(Stat.substr(Close + 1));
    std::string Field;
    // Fields after the name start at the third (state); the start time is the 22nd.
    for (int I = 3; I <= 22; ++I)
        if (!(S >> Field)) return 0;
    uint64_t V = 0;
    return ParseUnsigned(Field, V) ? V : 0;
}

bool Nuo4RecoveryWriterAlive(const TrecNuo4RecoveryHeader& AHeader) {
    if (AHeader.Pid <= 0) return false;
    const uint64_t Start = Nuo4ProcessStartTime(AHeader.Pid);
    if (Start != 0) return Start == AHeader.StartTime;
    // Without /proc only the pid can tell.
    return ::kill(pid_t(AHeader.Pid), 0) == 0 || errno == EPERM;
}

TNuo4RecoveryStore::TNuo4RecoveryStore(std::string AFolder, int64_t APid, uint64_t AStartTime)
    : FFolder(std::move(AFolder)), FPid(APid), FStartTime(AStartTime) {}

std::string TNuo4RecoveryStore::FilePath(uint64_t ADocumentId) const {
    return FFolder + "/" + std::string(FilePrefix) + std::to_string(FPid) + "-" +
           std::to_string(ADocumentId) + std::string(FileSuffix);
}

bool TNuo4RecoveryStore::Holds(uint64_t ADocumentId, std::u16string_view AText) const {
    for (const TrecWritten& W : FWritten)
        if (W.DocumentId == ADocumentId) return W.Text == AText;
    return false;
}

bool TNuo4RecoveryStore::Write(uint64_t ADocumentId, const std::string& AOriginalPath,
                               std::u16string_view AText, std::string& AError) {
    auto It = std::find_if(FWritten.begin(), FWritten.end(),
                           [&](const TrecWritten& W) { return W.DocumentId == ADocumentId; });
    if (It != FWritten.end() && It->Text == AText && It->OriginalPath == AOriginalPath) return true;
    // Every parent too: a first start has no state folder yet.
    for (size_t Slash = FFolder.find('/', 1);; Slash = FFolder.find('/', Slash + 1)) {
        ::mkdir(FFolder.substr(0, Slash).c_str(), 0700);
        if (Slash == std::string::npos) break;
    }
    const TrecNuo4RecoveryHeader H{FPid, FStartTime, ADocumentId, AOriginalPath};
    if (!WriteFileAtomic(FilePath(ADocumentId), FormatRecoveryFile(H, AText), AError)) return false;
    if (It == FWritten.end())
        FWritten.push_back({ADocumentId, AOriginalPath, std::u16string(AText)});
    else {
        It->OriginalPath = AOriginalPath;
        It->Text = std::u16string(AText);
    }
    return true;
}

void TNuo4RecoveryStore::Remove(uint64_t ADocumentId) {
    ::unlink(FilePath(ADocumentId).c_str());
    std::erase_if(FWritten, [&](const TrecWritten& W) { return W.DocumentId == ADocumentId; });
}

std::vector<TrecNuo4RecoveryFile> TNuo4RecoveryStore::FindLeftovers(
    const std::function<bool(const TrecNuo4RecoveryHeader&)>& AWriterAlive,
    std::vector<std::string>* AStale) const {
    std::vector<TrecNuo4RecoveryFile> R;
    DIR* D = ::opendir(FFolder.c_str());
    if (!D) return R;
    while (const dirent* E = ::readdir(D)) {
        const std::string_view Name = E->d_name;
        if (!Name.starts_with(FilePrefix) || !Name.ends_with(FileSuffix)) continue;
        TrecNuo4RecoveryFile F;
        F.Path = FFolder + "/" + std::string(Name);
        struct stat St {};
        std::string Bytes;
        if (::stat(F.Path.c_str(), &St) != 0 || !S_ISREG(St.st_mode)) continue;
        if (!ReadWholeFile(F.Path, Bytes) || !ParseRecoveryFile(Bytes, F.Header, F.Text)) continue;
        if (F.Header.Pid == FPid && F.Header.StartTime == FStartTime) continue;
        if (AWriterAlive ? AWriterAlive(F.Header) : Nuo4RecoveryWriterAlive(F.Header)) continue;
        F.ModifiedTimeNs = ModifiedTimeNs(St);
        struct stat Score {};
        if (!F.Header.OriginalPath.empty() && ::stat(F.Header.OriginalPath.c_str(), &Score) == 0 &&
            ModifiedTimeNs(Score) >= F.ModifiedTimeNs) {
            if (AStale) AStale->push_back(F.Path);
            continue;
        }
        R.push_back(std::move(F));
    }
    ::closedir(D);
    std::sort(R.begin(), R.end(), [](const TrecNuo4RecoveryFile& A, const TrecNuo4RecoveryFile& B) {
        return A.ModifiedTimeNs > B.ModifiedTimeNs;
    });
    return R;
}

}  // namespace nuo4
