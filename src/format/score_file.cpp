#include "format/score_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <vector>

#include "format/abc_common.h"

namespace nuo4 {

const char* EnumName(TNuo4ScoreFileEncoding AValue) {
    static constexpr const char* Names[] = {"sfeUtf16LE",      "sfeUtf16BE", "sfeUtf8Bom",
                                            "sfeUtf8",         "sfeGB18030", "sfeUtf16LENoMark",
                                            "sfeUtf16BENoMark"};
    return AValue < std::size(Names) ? Names[AValue] : "";
}

const char* ScoreFileEncodingName(TNuo4ScoreFileEncoding AValue) {
    static constexpr const char* Names[] = {"UTF-16LE", "UTF-16BE", "UTF-8",   "UTF-8",
                                            "GB18030",  "UTF-16LE", "UTF-16BE"};
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

// UTF-16 without a mark: even length, NUL in at least a quarter of the bytes of one parity (the
// high bytes of ASCII characters) and in far fewer of the other, and no unpaired surrogate.
bool LooksLikeUtf16(std::string_view ABytes, bool& bBigEndian) {
    if (ABytes.size() < 2 || ABytes.size() % 2 != 0) return false;
    size_t ZeroEven = 0, ZeroOdd = 0;
    for (size_t I = 0; I < ABytes.size(); I += 2) {
        ZeroEven += ABytes[I] == '\0';
        ZeroOdd += ABytes[I + 1] == '\0';
    }
    const size_t Units = ABytes.size() / 2;
    if (ZeroOdd * 4 >= Units && ZeroOdd > ZeroEven * 4)
        bBigEndian = false;
    else if (ZeroEven * 4 >= Units && ZeroEven > ZeroOdd * 4)
        bBigEndian = true;
    else
        return false;
    bool bHighPending = false;
    for (size_t I = 0; I < ABytes.size(); I += 2) {
        const auto B0 = static_cast<unsigned char>(ABytes[I]);
        const auto B1 = static_cast<unsigned char>(ABytes[I + 1]);
        const unsigned Unit = bBigEndian ? (B0 << 8) | B1 : (B1 << 8) | B0;
        const bool bHigh = Unit >= 0xD800 && Unit <= 0xDBFF,
                   bLow = Unit >= 0xDC00 && Unit <= 0xDFFF;
        if (bLow != bHighPending) return false;
        bHighPending = bHigh;
    }
    return !bHighPending;
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
    if (bool bBig = false; LooksLikeUtf16(ABytes, bBig)) {
        AText = DecodeUtf16(ABytes, bBig);
        Set(bBig ? sfeUtf16BENoMark : sfeUtf16LENoMark);
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

namespace {

const char* KindOfFile(mode_t AMode) {
    if (S_ISDIR(AMode)) return "it is a folder";
    if (S_ISFIFO(AMode)) return "it is a FIFO, not a regular file";
    if (S_ISCHR(AMode)) return "it is a character device, not a regular file";
    if (S_ISBLK(AMode)) return "it is a block device, not a regular file";
    if (S_ISSOCK(AMode)) return "it is a socket, not a regular file";
    return S_ISREG(AMode) ? nullptr : "it is not a regular file";
}

std::string TooLarge(uint64_t ASize) {
    return "the file has " + std::to_string(ASize) + " bytes, more than the " +
           std::to_string(ScoreFileMaxBytes >> 20) + " MB a score file may have";
}

}  // namespace

bool ReadScoreFile(const std::string& APath, std::u16string& AText, std::string& AError,
                   TNuo4ScoreFileEncoding* AEncoding) {
    AText.clear();
    auto Fail = [&](const std::string& AWhy) {
        AError = "cannot read '" + APath + "': " + AWhy;
        return false;
    };
    struct stat St {};
    if (::stat(APath.c_str(), &St) != 0) {
        AError = "cannot open '" + APath + "': " + std::strerror(errno);
        return false;
    }
    if (const char* Kind = KindOfFile(St.st_mode)) {
        AError = "cannot open '" + APath + "': " + Kind;
        return false;
    }
    if (uint64_t(St.st_size) > ScoreFileMaxBytes) return Fail(TooLarge(uint64_t(St.st_size)));
    // Not blocking, and checked again once open: the name may have been replaced meanwhile.
    const int Fd = ::open(APath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (Fd < 0) {
        AError = "cannot open '" + APath + "': " + std::strerror(errno);
        return false;
    }
    std::string Bytes;
    std::string Why;
    if (::fstat(Fd, &St) != 0) {
        Why = std::strerror(errno);
    } else if (const char* Kind = KindOfFile(St.st_mode)) {
        Why = Kind;
    } else {
        Bytes.resize(std::min<uint64_t>(uint64_t(St.st_size), ScoreFileMaxBytes) + 1);
        size_t Done = 0;
        // One byte more than the limit tells a file that grew while it was read.
        while (Done < Bytes.size()) {
            const ssize_t N = ::read(Fd, Bytes.data() + Done, Bytes.size() - Done);
            if (N < 0 && errno == EINTR) continue;
            if (N < 0) {
                Why = std::strerror(errno);
                break;
            }
            if (N == 0) break;
            Done += size_t(N);
            if (Done == Bytes.size() && Done <= ScoreFileMaxBytes)
                Bytes.resize(std::min<size_t>(Bytes.size() * 2, ScoreFileMaxBytes + 1));
        }
        if (Why.empty() && Done > ScoreFileMaxBytes) Why = TooLarge(Done);
        Bytes.resize(Done);
    }
    ::close(Fd);
    if (!Why.empty()) return Fail(Why);
    if (!DecodeScoreBytes(Bytes, AText, Why, AEncoding)) return Fail(Why);
    return true;
}

}  // namespace nuo4
