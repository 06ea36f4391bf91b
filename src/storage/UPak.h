#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Bitmap.h"
#include "storage/Bytes.h"
#include "storage/Result.h"
#include "storage/VfsPAK.h"

namespace oplix {

// The thin layer through which documents use archives. Names are UTF-8.

// False when the file cannot be opened. A file without the magic still gives true and an
// archive without members: the readers find their members missing and say so.
bool OpenArchiveForReading(const std::string& fileName, TVfsPAK& archive);
// Creates the file, or truncates it, as an empty archive.
bool CreateArchiveForWriting(const std::string& fileName, TVfsPAK& archive);

// Replaces the target's content with the member names in directory order.
void ListMembers(std::vector<std::string>& target, const TVfsPAK& archive);
bool MemberExists(std::string_view name, const TVfsPAK& archive);
// None when absent; an error when the member's entry or data are damaged.
Result<std::optional<Bytes>> GetMember(std::string_view name, const TVfsPAK& archive);
// Stores the bytes under exactly this name, replacing a member of that name, which moves the
// member to the end of the directory.
Status PutMember(std::string_view name, std::span<const std::uint8_t> source, TVfsPAK& archive);
Status RemoveMember(std::string_view name, TVfsPAK& archive);

// The member's lines (Windows-1250 in the file) as UTF-8; false when there is no such member or
// it cannot be read.
bool LoadTextMember(std::string_view name, std::vector<std::string>& lines, const TVfsPAK& archive);

// Decodes a picture member into `target` by its extension, compared in upper case: ".JPG" (the
// target becomes Rgb24 first), ".GIF" (Indexed8 first) or ".BMP" (the target keeps its format).
// False, drawing nothing, for an absent member or any other extension (".jpeg" included); an
// error when the member cannot be read or decoded.
Result<bool> LoadPictureMember(std::string_view name, Bitmap& target, const TVfsPAK& archive);

}  // namespace oplix
