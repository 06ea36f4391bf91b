#include "storage/UPak.h"

#include "storage/Cp1250.h"
#include "storage/TextLines.h"

namespace oplix {

bool OpenArchiveForReading(const std::string& fileName, TVfsPAK& archive) {
    return archive.Open(fileName, PakOpenMode::Read).ok();
}

bool CreateArchiveForWriting(const std::string& fileName, TVfsPAK& archive) {
    return archive.Open(fileName, PakOpenMode::Create).ok();
}

void ListMembers(std::vector<std::string>& target, const TVfsPAK& archive) {
    target = archive.Names();
}

bool MemberExists(std::string_view name, const TVfsPAK& archive) {
    return archive.Exists(name);
}

Result<std::optional<Bytes>> GetMember(std::string_view name, const TVfsPAK& archive) {
    return archive.ReadMemberByName(name);
}

Status PutMember(std::string_view name, std::span<const std::uint8_t> source, TVfsPAK& archive) {
    if (Status removed = archive.DeleteMemberByName(name); !removed) {
        return removed;
    }
    return archive.AddMember("", name, source);
}

Status RemoveMember(std::string_view name, TVfsPAK& archive) {
    return archive.DeleteMemberByName(name);
}

bool LoadTextMember(std::string_view name, std::vector<std::string>& lines,
                    const TVfsPAK& archive) {
    Result<std::optional<Bytes>> member = archive.ReadMemberByName(name);
    if (!member || !member->has_value()) {
        return false;
    }
    lines.clear();
    for (const std::string& line : SplitTextLines(**member)) {
        lines.push_back(Cp1250ToUtf8(line));
    }
    return true;
}

}  // namespace oplix
