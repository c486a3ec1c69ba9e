#include "format/score_file_save.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>
#include <random>

#include "format/score_file.h"

namespace nuo4 {

namespace {

constexpr size_t MaxNameBytes = 255;
constexpr const char* TempMark = ".nuo4tmp-";
constexpr size_t SuffixLength = 6;
constexpr int MaxLinkHops = 40;

// Checked on every save: a handler the program set itself is left alone.
void IgnoreFileSizeSignal() {
    struct sigaction Old {};
    if (::sigaction(SIGXFSZ, nullptr, &Old) == 0 && Old.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

std::string FolderOf(const std::string& APath) {
    const size_t Slash = APath.find_last_of('/');
    if (Slash == std::string::npos) return ".";
    if (Slash == 0) return "/";
    return APath.substr(0, Slash);
}

std::string NameOf(const std::string& APath) {
    const size_t Slash = APath.find_last_of('/');
    return Slash == std::string::npos ? APath : APath.substr(Slash + 1);
}

// Follows symbolic links to the file that is really written; a missing final target is
// created. False with errno set when a link cannot be read or the chain does not end.
bool ResolveLinks(const std::string& APath, std::string& ATarget) {
    ATarget = APath;
    for (int Hop = 0;; ++Hop) {
        struct stat St {};
        if (::lstat(ATarget.c_str(), &St) != 0) return errno == ENOENT;
        if (!S_ISLNK(St.st_mode)) return true;
        if (Hop == MaxLinkHops) {
            errno = ELOOP;
            return false;
        }
        std::string Link(size_t(St.st_size > 0 ? St.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t N = ::readlink(ATarget.c_str(), Link.data(), Link.size());
            if (N < 0) return false;
            if (size_t(N) < Link.size()) {
                Link.resize(size_t(N));
                break;
            }
            Link.resize(Link.size() * 2);
        }
        ATarget = !Link.empty() && Link[0] == '/' ? Link : FolderOf(ATarget) + "/" + Link;
    }
}

uint32_t NameHash(std::string_view AName) {
    uint32_t H = 2166136261u;
    for (const char C : AName) H = (H ^ static_cast<unsigned char>(C)) * 16777619u;
    return H;
}

std::string RandomSuffix() {
    static constexpr char Letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mutex Lock;
    static std::mt19937_64 Gen(std::random_device{}() ^ (uint64_t(::getpid()) << 32));
    const std::lock_guard<std::mutex> Guard(Lock);
    std::string S(SuffixLength, 'x');
    for (char& C : S) C = Letters[Gen() % (sizeof(Letters) - 1)];
    return S;
}

// Removes temporaries of this target that an interrupted save left behind.
void RemoveStaleTemporaries(const std::string& AFolder, const std::string& APrefix) {
    DIR* D = ::opendir(AFolder.c_str());
    if (!D) return;
    while (const dirent* E = ::readdir(D)) {
        const std::string_view Name(E->d_name);
        if (Name.size() != APrefix.size() + SuffixLength ||
            Name.substr(0, APrefix.size()) != APrefix)
            continue;
        struct stat St {};
        if (::fstatat(::dirfd(D), E->d_name, &St, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(St.st_mode))
            ::unlinkat(::dirfd(D), E->d_name, 0);
    }
    ::closedir(D);
}

bool WriteAll(int AFd, std::string_view ABytes) {
    size_t Done = 0;
    while (Done < ABytes.size()) {
        const ssize_t W = ::write(AFd, ABytes.data() + Done, ABytes.size() - Done);
        if (W < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (W == 0) {
            errno = EIO;
            return false;
        }
        Done += size_t(W);
    }
    return true;
}

bool SyncFolder(const std::string& AFolder) {
    const int Fd = ::open(AFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd < 0) return false;
    const bool bOk = ::fsync(Fd) == 0 || errno == EINVAL || errno == ENOTSUP || errno == EROFS;
    const int Saved = errno;
    ::close(Fd);
    errno = Saved;
    return bOk;
}

bool AtomicWrite(const std::string& APath, std::string_view ABytes, const char* AVerb,
                 std::string& AError) {
    IgnoreFileSizeSignal();
    AError.clear();
    auto Fail = [&](const std::string& AWhy) {
        AError = std::string("cannot ") + AVerb + " '" + APath + "': " + AWhy;
        return false;
    };
    if (APath.empty()) return Fail("no file name");
    std::string Target;
    if (!ResolveLinks(APath, Target)) return Fail(std::strerror(errno));
    const std::string Folder = FolderOf(Target), Name = NameOf(Target);
    if (Name.empty() || Name == "." || Name == "..") return Fail("it is a folder");
    if (Name.size() > MaxNameBytes) return Fail(std::strerror(ENAMETOOLONG));

    struct stat Old {};
    const bool bExists = ::stat(Target.c_str(), &Old) == 0;
    if (!bExists && errno != ENOENT) return Fail(std::strerror(errno));
    if (bExists) {
        if (S_ISDIR(Old.st_mode)) return Fail("it is a folder");
        if (!S_ISREG(Old.st_mode)) return Fail("it is not a regular file");
        // The rename would replace a file the user may not write; refuse as writing it would.
        if (::faccessat(AT_FDCWD, Target.c_str(), W_OK, AT_EACCESS) != 0)
            return Fail(std::strerror(errno));
    }

    const std::string Prefix = AtomicSaveTempPrefix(Name);
    RemoveStaleTemporaries(Folder, Prefix);
    std::string Temp;
    int Fd = -1;
    for (int Try = 0; Fd < 0 && Try < 100; ++Try) {
        Temp = Folder + "/" + Prefix + RandomSuffix();
        // 0666 lets the umask decide the mode of a new file, as for any other new file.
        Fd = ::open(Temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (Fd < 0 && errno != EEXIST) break;
    }
    if (Fd < 0) return Fail(std::strerror(errno));
    auto Abandon = [&](const std::string& AWhy) {
        if (Fd >= 0) ::close(Fd);
        ::unlink(Temp.c_str());
        return Fail(AWhy);
    };
    if (bExists) {
        // Owner first: changing it may clear the set-id bits the mode then restores.
        if (::fchown(Fd, Old.st_uid, Old.st_gid) != 0) (void)::fchown(Fd, uid_t(-1), Old.st_gid);
        (void)::fchmod(Fd, Old.st_mode & 07777);
    }
    if (!WriteAll(Fd, ABytes)) return Abandon(std::strerror(errno));
    if (::fsync(Fd) != 0) return Abandon(std::strerror(errno));
    struct stat Written {};
    if (::fstat(Fd, &Written) != 0) return Abandon(std::strerror(errno));
    if (uint64_t(Written.st_size) != ABytes.size())
        return Abandon("only " + std::to_string(Written.st_size) + " of " +
                       std::to_string(ABytes.size()) + " bytes were written");
    const int ToClose = Fd;
    Fd = -1;
    if (::close(ToClose) != 0) return Abandon(std::strerror(errno));
    if (::rename(Temp.c_str(), Target.c_str()) != 0) return Abandon(std::strerror(errno));
    if (!SyncFolder(Folder))
        return Fail(std::string("the new file is in place but its folder could not be flushed: ") +
                    std::strerror(errno));
    return true;
}

}  // namespace

std::string AtomicSaveTempPrefix(std::string_view ATargetName) {
    const size_t Room = MaxNameBytes - 1 - std::strlen(TempMark) - SuffixLength;
    std::string Kept(ATargetName);
    if (Kept.size() > Room) {
        static constexpr char Hex[] = "0123456789abcdef";
        std::string Hash = "~";
        for (int Shift = 28; Shift >= 0; Shift -= 4)
            Hash += Hex[(NameHash(ATargetName) >> Shift) & 15];
        size_t Cut = Room - Hash.size();
        // Cut between UTF-8 sequences so the name stays readable.
        while (Cut > 0 && (static_cast<unsigned char>(Kept[Cut]) & 0xC0) == 0x80) --Cut;
        Kept = Kept.substr(0, Cut) + Hash;
    }
    return "." + Kept + TempMark;
}

bool SaveScoreFileAtomic(const std::string& APath, std::u16string_view AText, std::string& AError) {
    return AtomicWrite(APath, EncodeScoreBytes(AText), "save", AError);
}

bool WriteFileAtomic(const std::string& APath, std::string_view ABytes, std::string& AError) {
    return AtomicWrite(APath, ABytes, "write", AError);
}

}  // namespace nuo4
