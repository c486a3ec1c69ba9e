#pragma once
// Atomic saving of score files and of any other output file (POSIX).
//
// The bytes go to a temporary file in the target's own folder (".NAME.nuo4tmp-XXXXXX"), are
// flushed to disk, checked for their full size and renamed over the target; the folder is
// flushed after the rename, so a save reported as done survives a power loss and a failed save
// leaves the old file as it was. A symbolic link is followed and its final target is saved in
// its own folder: the link stays a link. An existing target keeps its mode and, where the
// process may, its owner and group. Temporaries of the same target left by an interrupted save
// are removed by the next one. A target that is no regular file, or one the process may not
// write, is refused and left alone.
//
// SIGXFSZ is ignored by every save (unless the program handles it), so that the file-size limit
// makes the write fail with its message instead of killing the program.

#include <string>
#include <string_view>

namespace nuo4 {

// The text as UTF-16LE with byte-order mark and CR LF line breaks. On failure false, with
// "cannot save 'APath': <reason>" in AError.
bool SaveScoreFileAtomic(const std::string& APath, std::u16string_view AText, std::string& AError);

// Any bytes (images, PDF, JSON). On failure false, with "cannot write 'APath': <reason>".
bool WriteFileAtomic(const std::string& APath, std::string_view ABytes, std::string& AError);

// The name of the temporary file for a target name (no folder), without its random suffix:
// ".NAME.nuo4tmp-". A long name is shortened and given a hash of the full name, so that the
// temporary name stays within the 255 bytes a file name may have.
std::string AtomicSaveTempPrefix(std::string_view ATargetName);

}  // namespace nuo4
