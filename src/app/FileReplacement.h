#pragma once

#include <cstdint>
#include <ctime>
#include <span>
#include <string>

#include "storage/FileSystem.h"
#include "storage/Result.h"

namespace oplix {

// Gives the file at `path` the content `bytes` so that a crash or a full disk at any moment
// leaves either the old file or the new one: the bytes go to a temporary file in the same
// folder, reach the disk, and the temporary file is then renamed over `path`. An existing
// file's permission bits are kept; a new file is readable and writable by its owner only. On
// failure the temporary file is removed and an existing file stays as it was. A symbolic link
// is followed and its target replaced. A file whose permission bits do not let this user write
// it is not replaced (the administrator included): an error. Every step that could leave a
// wrong file goes through `files`.
Status ReplaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes,
                           FileSystem& files = PosixFileSystem());

// Removes the temporary files that ReplaceFileContents left beside `path` when the program was
// stopped half-way: those at least a minute older than `now`, so that one being written by
// another running program is left alone.
void RemoveStaleReplacements(const std::string& path, std::time_t now);

}  // namespace oplix
