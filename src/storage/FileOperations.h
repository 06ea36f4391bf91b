#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oplix {

// Appends to `names` (without emptying it) the names, without folder, of the entries in the
// folder part of folderAndPattern + suffix whose name matches the last path component as a
// shell pattern (fnmatch). Hidden entries are found like any other ("*" matches a leading dot);
// "." and ".." are not. Every folder, a symbolic link to one included, is left out. Matching
// ignores ASCII case, so "*.skg" finds "LISTA.SKG". The names found are appended sorted by
// byte order, so "the first" is the same on every run. A missing or unreadable folder appends
// nothing. A text without "/" searches the current folder.
void ListFiles(std::string_view folderAndPattern, std::string_view suffix,
               std::vector<std::string>& names);

inline constexpr int kCopyReplacing = 1;  // whole-file copy that never leaves a partial file
inline constexpr int kCopyBlocks = 2;     // 4096-byte block loop
inline constexpr int kCopyStream = 3;     // destination created first, code = bytes copied
inline constexpr int kCopyVerified = 4;   // the block copy, then read back and compared

// Copies source to destination by one of the methods above; true on success. `code` is an
// errno value or, as each method defines, 0 or a byte count:
// - an existing destination with overwrite false: false, EEXIST (for every method number);
// - a destination that is the source itself: false, EINVAL, and the file is left alone;
// - kCopyReplacing: the data go to a temporary file in the destination's folder that is then
//   renamed over the destination; the copy keeps the source's permission bits and is always
//   readable and writable by its owner. False with errno on failure, code 0 on success;
// - kCopyBlocks: a source that cannot be opened gives false with errno; any later failure
//   (creating, writing or closing the destination, reading the source) gives false with 0;
//   success gives 0;
// - kCopyStream: the destination is created or truncated first, then the source opened; every
//   failure gives false with errno, and a source that cannot be opened leaves an empty
//   destination. Success gives the number of bytes copied, at most INT_MAX;
// - kCopyVerified: the kCopyBlocks copy with its codes, then the copy is compared byte for
//   byte with the source. A copy that differs gives false with EIO and is removed; a file
//   that cannot be read back gives false with errno; success gives 0;
// - any other method: false, `code` unchanged.
bool CopyFileByMethod(int method, const std::string& source, const std::string& destination,
                      int& code, bool overwrite);

// True when both files can be read and hold the same bytes. `code` is 0, or the errno of an
// open or read that failed.
bool FilesHaveSameBytes(const std::string& first, const std::string& second, int& code);

}  // namespace oplix
