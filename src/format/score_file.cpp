#include "format/score_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "format/abc_common.h"

namespace nuo4 {

const char* EnumName(TNuo4ScoreFileEncoding AValue) {
    static constexpr const char* Names[] = {"sfeUtf16LE", "sfeUtf16BE", "sfeUtf8Bom", "sfeUtf8",
                                            "sfeGB18030"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

bool IsValidUtf8(std::string_view ABytes) {
    size_t I = 0;
    const size_t N = ABytes.size();
    auto Cont = [&](size_t K) {
        return I + K < N && (static_cast<unsigned char>(ABytes[I + K]) & 0xC0) == 0x80;
    };
    while (I < N) {
        const unsigned char B = static_cast<unsigned char>(ABytes[I]);
        if (B < 0x80) {
            ++I;
        } else if (B >= 0xC2 && B <= 0xDF && Cont(1)) {
            I += 2;
        } else if (B >= 0xE0 && B <= 0xEF && Cont(1) && Cont(2)) {
            const unsigned char B1 = static_cast<unsigned char>(ABytes[I + 1]);
            if ((B == 0xE0 && B1 < 0xA0) || (B == 0xED && B1 >= 0xA0)) return false;
            I += 3;
        } else if (B >= 0xF0 && B <= 0xF4 && Cont(1) && Cont(2) && Cont(3)) {
            const unsigned char B1 = static_cast<unsigned char>(ABytes[I + 1]);
            if ((B == 0xF0 && B1 < 0x90) || (B == 0xF4 && B1 >= 0x90)) return false;
            I += 4;
        } else {
            return false;
        }
    }
    return true;
}

namespace {

std::u16string DecodeUtf16(std::string_view ABytes, bool bBigEndian) {
    std::u16string Text;
    Text.reserve(ABytes.size() / 2);
    for (size_t I = 0; I + 1 < ABytes.size(); I += 2) {
        const auto B0 = static_cast<unsigned char>(ABytes[I]);
        const auto B1 = static_cast<unsigned char>(ABytes[I + 1]);
        Text += static_cast<char16_t>(bBigEndian ? (B0 << 8) | B1 : (B1 << 8) | B0);
    }
    return Text;
}

bool DecodeGB18030(std::string_view ABytes, std::u16string& AText, std::string& AError) {
    iconv_t Cd = iconv_open("UTF-16LE", "GB18030");
    if (Cd == reinterpret_cast<iconv_t>(-1)) {
        AError = "the GB18030 converter is not available on this system";
        return false;
    }
    std::string In(ABytes);
    std::vector<char> Out(ABytes.size() * 4 + 16);
    char* InPtr = In.data();
    size_t InLeft = In.size();
    char* OutPtr = Out.data();
    size_t OutLeft = Out.size();
    const size_t Rc = iconv(Cd, &InPtr, &InLeft, &OutPtr, &OutLeft);
    iconv_close(Cd);
    if (Rc == static_cast<size_t>(-1)) {
        AError = "the file is neither UTF-8 nor GB18030 text (undecodable bytes at offset " +
                 std::to_string(In.size() - InLeft) + ")";
        return false;
    }
    AText = DecodeUtf16(std::string_view(Out.data(), Out.size() - OutLeft), false);
    return true;
}

}  // namespace

bool DecodeScoreBytes(std::string_view ABytes, std::u16string& AText, std::string& AError,
                      TNuo4ScoreFileEncoding* AEncoding) {
    AText.clear();
    AError.clear();
    auto Set = [&](TNuo4ScoreFileEncoding E) {
        if (AEncoding) *AEncoding = E;
    };
    auto Starts = [&](std::string_view Bom) { return ABytes.substr(0, Bom.size()) == Bom; };
    if (Starts("\xFF\xFE") || Starts("\xFE\xFF")) {
        const bool bBig = Starts("\xFE\xFF");
        const std::string_view Body = ABytes.substr(2);
        if (Body.size() % 2 != 0) {
            AError = "the UTF-16 text is damaged (odd number of bytes)";
            return false;
        }
        AText = DecodeUtf16(Body, bBig);
        Set(bBig ? sfeUtf16BE : sfeUtf16LE);
        return true;
    }
    if (Starts("\xEF\xBB\xBF")) {
        const std::string_view Body = ABytes.substr(3);
        if (!IsValidUtf8(Body)) {
            AError = "the UTF-8 text is damaged (invalid byte sequence)";
            return false;
        }
        AText = ABC_FromUtf8(Body);
        Set(sfeUtf8Bom);
        return true;
    }
    if (IsValidUtf8(ABytes)) {
        AText = ABC_FromUtf8(ABytes);
        Set(sfeUtf8);
        return true;
    }
    if (!DecodeGB18030(ABytes, AText, AError)) return false;
    Set(sfeGB18030);
    return true;
}

std::string EncodeScoreBytes(std::u16string_view AText) {
    std::string Bytes = "\xFF\xFE";
    Bytes.reserve(2 + AText.size() * 2 + 64);
    auto Put = [&](char16_t C) {
        Bytes += static_cast<char>(C & 0xFF);
        Bytes += static_cast<char>(C >> 8);
    };
    for (size_t I = 0; I < AText.size(); ++I) {
        const char16_t C = AText[I];
        if (C == u'\r' || C == u'\n') {
            if (C == u'\r' && I + 1 < AText.size() && AText[I + 1] == u'\n') ++I;
            Put(u'\r');
            Put(u'\n');
        } else {
            Put(C);
        }
    }
    return Bytes;
}

bool ReadScoreFile(const std::string& APath, std::u16string& AText, std::string& AError,
                   TNuo4ScoreFileEncoding* AEncoding) {
    AText.clear();
    struct stat St {};
    if (::stat(APath.c_str(), &St) != 0) {
        AError = "cannot open '" + APath + "': " + std::strerror(errno);
        return false;
    }
    if (S_ISDIR(St.st_mode)) {
        AError = "cannot open '" + APath + "': it is a folder";
        return false;
    }
    std::ifstream In(APath, std::ios::binary);
    if (!In) {
        AError = "cannot open '" + APath + "': " + std::strerror(errno);
        return false;
    }
    const std::string Bytes((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    if (In.bad()) {
        AError = "cannot read '" + APath + "'";
        return false;
    }
    std::string Why;
    if (!DecodeScoreBytes(Bytes, AText, Why, AEncoding)) {
        AError = "cannot read '" + APath + "': " + Why;
        return false;
    }
    return true;
}

bool WriteScoreFile(const std::string& APath, std::u16string_view AText, std::string& AError) {
    const std::string Bytes = EncodeScoreBytes(AText);
    std::string Temp = APath + ".XXXXXX";
    const int Fd = ::mkstemp(Temp.data());
    if (Fd < 0) {
        AError = "cannot save '" + APath + "': " + std::strerror(errno);
        return false;
    }
    auto Fail = [&](const char* AWhat) {
        AError = "cannot save '" + APath + "': " + AWhat + ": " + std::strerror(errno);
        ::close(Fd);
        ::unlink(Temp.c_str());
        return false;
    };
    // Keep the permissions of an existing file; a new one gets the usual 0666 & ~umask.
    struct stat St {};
    if (::stat(APath.c_str(), &St) == 0) {
        ::fchmod(Fd, St.st_mode & 07777);
    } else {
        const mode_t Mask = ::umask(0);
        ::umask(Mask);
        ::fchmod(Fd, 0666 & ~Mask);
    }
    size_t Done = 0;
    while (Done < Bytes.size()) {
        const ssize_t W = ::write(Fd, Bytes.data() + Done, Bytes.size() - Done);
        if (W < 0) {
            if (errno == EINTR) continue;
            return Fail("write failed");
        }
        Done += static_cast<size_t>(W);
    }
    if (::fsync(Fd) != 0) return Fail("flush failed");
    if (::close(Fd) != 0) {
        AError = "cannot save '" + APath + "': " + std::strerror(errno);
        ::unlink(Temp.c_str());
        return false;
    }
    if (::rename(Temp.c_str(), APath.c_str()) != 0) {
        AError = "cannot save '" + APath + "': " + std::strerror(errno);
        ::unlink(Temp.c_str());
        return false;
    }
    return true;
}

}  // namespace nuo4
