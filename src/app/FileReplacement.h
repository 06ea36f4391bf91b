#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "storage/Result.h"

namespace oplix {

// Gives the file at `path` the content `bytes` so that a crash or a full disk at any moment
// leaves either the old file or the new one: the bytes go to a temporary file in the same
// folder, reach the disk, and the temporary file is then renamed over `path`. An existing
// file's permission bits are kept; a new file is readable and writable by its owner only. On
// failure the temporary file is removed and an existing file stays as it was.
Status ReplaceFileContents(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace oplix
