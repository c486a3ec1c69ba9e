#include "editor/autosave.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "format/score_file_save.h"

namespace nuo4 {

namespace {
constexpr int32_t MaxSlots = 64;

void MakeFolders(const std::string& AFolder) {
    for (size_t Slash = AFolder.find('/', 1);; Slash = AFolder.find('/', Slash + 1)) {
        ::mkdir(AFolder.substr(0, Slash).c_str(), 0700);
        if (Slash == std::string::npos) break;
    }
}
}  // namespace

std::string Nuo4AutoSaveFileName(int32_t ASlot) {
    return ASlot <= 1 ? std::string("AutoSave.nuoabc")
                      : "AutoSave-" + std::to_string(ASlot) + ".nuoabc";
}

TNuo4AutoSave::TNuo4AutoSave(std::string AFolder) : FFolder(std::move(AFolder)) {}

TNuo4AutoSave::~TNuo4AutoSave() {
    if (FLockFd >= 0) ::close(FLockFd);
}

bool TNuo4AutoSave::AcquireSlot(std::string& AError) {
    if (FSlot > 0) return true;
    MakeFolders(FFolder);
    for (int32_t S = 1; S <= MaxSlots; ++S) {
        const std::string Lock = FFolder + "/" + Nuo4AutoSaveFileName(S) + ".lock";
        const int Fd = ::open(Lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (Fd < 0) {
            AError = "cannot open '" + Lock + "': " + std::strerror(errno);
            return false;
        }
        if (::flock(Fd, LOCK_EX | LOCK_NB) == 0) {
            FLockFd = Fd;
            FSlot = S;
            return true;
        }
        ::close(Fd);
    }
    AError = "every autosave slot in '" + FFolder + "' is held";
    return false;
}

std::string TNuo4AutoSave::FilePath() const {
    return FSlot > 0 ? FFolder + "/" + Nuo4AutoSaveFileName(FSlot) : std::string();
}

bool TNuo4AutoSave::Tick(bool bModified, std::u16string_view AText, std::string& AError) {
    if (!FRule.ShouldSave(bModified, AText)) return true;
    if (FSlot == 0 && !AcquireSlot(AError)) return false;
    if (!SaveScoreFileAtomic(FilePath(), AText, AError)) return false;
    FRule.Saved(AText);
    ++FWriteCount;
    return true;
}

}  // namespace nuo4
