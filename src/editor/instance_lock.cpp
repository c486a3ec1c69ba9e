#include "editor/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace nuo4 {

namespace {

void MakeFolders(const std::string& AFolder) {
    for (size_t Slash = AFolder.find('/', 1);; Slash = AFolder.find('/', Slash + 1)) {
        ::mkdir(AFolder.substr(0, Slash).c_str(), 0700);
        if (Slash == std::string::npos) break;
    }
}

int OpenLockFile(const std::string& APath, std::string& AError) {
    const int Fd = ::open(APath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Fd < 0) AError = "cannot open '" + APath + "': " + std::strerror(errno);
    return Fd;
}

}  // namespace

TNuo4InstanceLock::TNuo4InstanceLock(std::string AFolder) : FFolder(std::move(AFolder)) {}

TNuo4InstanceLock::~TNuo4InstanceLock() {
    if (FFd >= 0) ::close(FFd);
}

bool TNuo4InstanceLock::Acquire(bool& bOthersRunning, std::string& AError) {
    if (FFd >= 0) {
        bOthersRunning = bOthers;
        return true;
    }
    MakeFolders(FFolder);
    // The test (exclusive, then down to shared) happens under a gate, so two copies that start
    // at the same moment cannot both find the file free while the other converts its lock.
    const int Gate = OpenLockFile(FFolder + "/Nuo4.start.lock", AError);
    if (Gate < 0) return false;
    while (::flock(Gate, LOCK_EX) != 0 && errno == EINTR) {
    }
    const int Fd = OpenLockFile(FFolder + "/Nuo4.running.lock", AError);
    bool bOk = Fd >= 0;
    if (bOk) {
        bOthers = ::flock(Fd, LOCK_EX | LOCK_NB) != 0;
        // Others hold only shares outside the gate: this never waits.
        if (::flock(Fd, LOCK_SH) != 0) {
            AError = std::string("cannot lock the running-copies file: ") + std::strerror(errno);
            ::close(Fd);
            bOk = false;
        } else {
            FFd = Fd;
        }
    }
    ::close(Gate);
    bOthersRunning = bOthers;
    return bOk;
}

}  // namespace nuo4
