#pragma once
// Reading and writing score files (.nuoabc).
//
// Files are written as UTF-16 little-endian with a byte-order mark and CR LF line breaks. On
// reading, the encoding comes from the byte-order mark (UTF-16LE, UTF-16BE, UTF-8); a file
// without one is read as UTF-8 when it is valid UTF-8, else as GB18030.

#include <cstdint>
#include <string>
#include <string_view>

namespace nuo4 {

enum TNuo4ScoreFileEncoding : uint8_t {
    sfeUtf16LE,
    sfeUtf16BE,
    sfeUtf8Bom,
    sfeUtf8,
    sfeGB18030,
    sfeUtf16LENoMark,  // UTF-16 recognised without a byte-order mark
    sfeUtf16BENoMark
};
const char* EnumName(TNuo4ScoreFileEncoding AValue);
// The encoding's usual name ("UTF-16LE", "GB18030").
const char* ScoreFileEncodingName(TNuo4ScoreFileEncoding AValue);

// Far beyond any real score; a larger file is refused before it is read.
constexpr uint64_t ScoreFileMaxBytes = 32u << 20;

// Decodes the bytes of a score file. The text keeps its line breaks as stored. False with a
// message in AError when the bytes cannot be decoded.
bool DecodeScoreBytes(std::string_view ABytes, std::u16string& AText, std::string& AError,
                      TNuo4ScoreFileEncoding* AEncoding = nullptr);
// UTF-16LE with byte-order mark; every CR, LF or CR LF becomes CR LF.
std::string EncodeScoreBytes(std::u16string_view AText);

// Reads a regular file (links followed) of at most ScoreFileMaxBytes; anything else (a FIFO,
// a device, a folder) is refused at once: nothing waits for a writer that never comes.
bool ReadScoreFile(const std::string& APath, std::u16string& AText, std::string& AError,
                   TNuo4ScoreFileEncoding* AEncoding = nullptr);

bool IsValidUtf8(std::string_view ABytes);

}  // namespace nuo4
