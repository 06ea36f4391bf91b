#include "storage/VfsPAK.h"

#include <fcntl.h>
#include <sys/file.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <utility>

#include "storage/CaseMapping.h"
#include "storage/Cp1250.h"

namespace oplix {
namespace {

constexpr std::uint8_t kMagic[4] = {'P', 'A', 'C', 'K'};

std::int32_t GetInt32(const std::uint8_t* bytes) {
    const std::uint32_t value =
        static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
        static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    return static_cast<std::int32_t>(value);
}

void PutInt32(std::uint8_t* bytes, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
}

// The stored name: the bytes up to the first zero, all 120 when there is none.
std::string NameOfEntry(const std::uint8_t* entry) {
    const auto* end = std::find(entry, entry + kPakNameField, std::uint8_t{0});
    return std::string(entry, end);
}

std::int32_t OffsetOfEntry(const std::uint8_t* entry) {
    return GetInt32(entry + kPakNameField);
}

std::int32_t SizeOfEntry(const std::uint8_t* entry) {
    return GetInt32(entry + kPakNameField + 4);
}

// The text after the last '\' or ':' of a Windows file name.
std::string_view FilePart(std::string_view fileName) {
    const std::size_t cut = fileName.find_last_of("\\:");
    return cut == std::string_view::npos ? fileName : fileName.substr(cut + 1);
}

Error DamagedArchive(const char* what) {
    return Error{EIO, std::string("damaged archive: ") + what};
}

bool IsPermissionError(int code) {
    return code == EACCES || code == EPERM || code == EROFS;
}

// A file that is read may be read by others meanwhile but not written; a new archive is ours
// alone. The locks are advisory, so only programs that ask for them are kept out.
Result<FileHandle> OpenWithSharing(const std::string& fileName, PakOpenMode mode, bool& writable) {
    const bool create = mode == PakOpenMode::Create;
    int fd = ::open(fileName.c_str(), O_RDWR | O_CLOEXEC | (create ? O_CREAT : 0), 0666);
    writable = fd >= 0;
    if (fd < 0 && !create && IsPermissionError(errno)) {
        // A test in a folder the pupil may only read is still a test to solve.
        fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0) {
        return ErrnoError("cannot open " + fileName);
    }
    FileHandle file(fd);
    while (::flock(fd, (create ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        if (errno != EINTR) {
            return ErrnoError("cannot lock " + fileName);
        }
    }
    if (create) {
        Status truncated = file.Truncate(0);
        if (!truncated) {
            return truncated.error();
        }
    }
    return file;
}

}  // namespace

Result<bool> TVfsPAK::Open(const std::string& fileName, PakOpenMode mode) {
    Close();
    fileName_ = fileName;
    Result<FileHandle> opened = OpenWithSharing(fileName, mode, writable_);
    if (!opened) {
        return opened.error();
    }
    file_ = std::move(opened).value();
    bool hasMagic = false;
    Status read = ReadHeader(hasMagic);
    if (read && hasMagic) {
        read = ReadDirectory();
    }
    if (!read || !hasMagic) {
        Close();
    }
    if (!read) {
        return read.error();
    }
    return hasMagic;
}

void TVfsPAK::Close() {
    file_.Close();
    writable_ = false;
    header_ = Header{};
    entries_.clear();
}

// A file of 0 bytes becomes an empty archive; it stays one in memory only when it is read-only.
Status TVfsPAK::ReadHeader(bool& hasMagic) {
    Result<std::int64_t> size = file_.Size();
    if (!size) {
        return size.error();
    }
    header_ = Header{};
    if (*size == 0) {
        hasMagic = true;
        return writable_ ? WriteHeader() : Success();
    }
    std::uint8_t bytes[kPakHeaderSize];
    Status read = file_.ReadAt(0, bytes);
    if (!read) {
        return read.error();
    }
    hasMagic = std::equal(std::begin(kMagic), std::end(kMagic), bytes);
    if (hasMagic) {
        header_.directoryOffset = GetInt32(bytes + 4);
        header_.directoryLength = GetInt32(bytes + 8);
    }
    return Success();
}

Status TVfsPAK::WriteHeader() {
    std::uint8_t bytes[kPakHeaderSize];
    std::copy(std::begin(kMagic), std::end(kMagic), bytes);
    PutInt32(bytes + 4, header_.directoryOffset);
    PutInt32(bytes + 8, header_.directoryLength);
    return file_.WriteAt(0, bytes);
}

Status TVfsPAK::ReadDirectory() {
    entries_.clear();
    const std::int64_t length = DirectoryBytes();
    if (length == 0) {
        return Success();
    }
    Result<std::int64_t> size = file_.Size();
    if (!size) {
        return size.error();
    }
    const std::int64_t offset = header_.directoryOffset;
    if (offset < 0 || offset + length > *size) {
        return DamagedArchive("the directory runs past the end of the file");
    }
    Result<Bytes> directory = file_.ReadRange(offset, length);
    if (!directory) {
        return directory.error();
    }
    for (std::int64_t at = 0; at < length; at += kPakEntrySize) {
        const std::uint8_t* entry = directory->data() + at;
        entries_.push_back({NameOfEntry(entry), OffsetOfEntry(entry), SizeOfEntry(entry)});
    }
    return Success();
}

int TVfsPAK::Count() const {
    return std::max(header_.directoryLength, 0) / kPakEntrySize;
}

std::int64_t TVfsPAK::DirectoryBytes() const {
    return static_cast<std::int64_t>(Count()) * kPakEntrySize;
}

std::vector<std::string> TVfsPAK::Names() const {
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        names.push_back(Cp1250ToUtf8(entry.name));
    }
    return names;
}

int TVfsPAK::IndexOf(std::string_view name) const {
    const std::string wanted = Utf8ToCp1250(name);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (EqualsIgnoreCaseCp1250(entries_[i].name, wanted)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

Result<const TVfsPAK::Entry*> TVfsPAK::EntryAt(int position) const {
    if (!IsOpen() || position < 0 || position >= std::ssize(entries_)) {
        return Error{EINVAL, "no member at position " + std::to_string(position)};
    }
    return &entries_[static_cast<std::size_t>(position)];
}

Result<Bytes> TVfsPAK::ReadMember(int position) const {
    Result<const Entry*> found = EntryAt(position);
    if (!found) {
        return found.error();
    }
    const Entry& entry = **found;
    if (entry.size == 0) {
        return Bytes{};
    }
    Result<std::int64_t> size = file_.Size();
    if (!size) {
        return size.error();
    }
    if (entry.offset < 0 || entry.size < 0 ||
        static_cast<std::int64_t>(entry.offset) + entry.size > *size) {
        return DamagedArchive("a member's data run past the end of the file");
    }
    return file_.ReadRange(entry.offset, entry.size);
}

Result<std::optional<Bytes>> TVfsPAK::ReadMemberByName(std::string_view name) const {
    const int position = IndexOf(name);
    if (position < 0) {
        return std::optional<Bytes>();
    }
    Result<Bytes> bytes = ReadMember(position);
    if (!bytes) {
        return bytes.error();
    }
    return std::optional<Bytes>(std::move(bytes).value());
}

Status TVfsPAK::CheckWritable() const {
    if (!IsOpen()) {
        return Error{EBADF, "the archive is not open"};
    }
    if (!writable_) {
        return Error{EBADF, "the archive " + fileName_ + " is open for reading only"};
    }
    return Success();
}

Status TVfsPAK::AddMember(std::string_view sourceFileName, std::string_view prefix,
                          std::span<const std::uint8_t> source) {
    if (Status writable = CheckWritable(); !writable) {
        return writable;
    }
    std::string name = Utf8ToCp1250(std::string(prefix) + std::string(FilePart(sourceFileName)));
    name.resize(std::min(name.size(), name.find('\0')));
    if (name.size() > kPakMaxNameLength) {
        return Error{ENAMETOOLONG, "a member name has more than 119 bytes"};
    }
    Result<std::int64_t> size = file_.Size();
    if (!size) {
        return size.error();
    }
    // A trailing partial entry is dropped, so the new entry lands where the directory says.
    const std::int64_t offset = header_.directoryOffset;
    const std::int64_t directory = DirectoryBytes();
    if (offset < kPakHeaderSize || offset + directory > *size) {
        return DamagedArchive("the directory lies outside the file");
    }
    const std::int64_t newEnd =
        offset + static_cast<std::int64_t>(source.size()) + directory + kPakEntrySize;
    if (newEnd > std::numeric_limits<std::int32_t>::max()) {
        return Error{EFBIG, "an archive cannot grow beyond 2 GB"};
    }
    Result<Bytes> tail = file_.ReadRange(offset, directory);
    if (!tail) {
        return tail.error();
    }
    // Data, then the old directory, then the new entry, written in one go.
    tail->insert(tail->begin(), source.begin(), source.end());
    const std::size_t entryAt = tail->size();
    tail->resize(entryAt + kPakEntrySize, 0);
    std::uint8_t* entry = tail->data() + entryAt;
    std::copy(name.begin(), name.end(), entry);
    PutInt32(entry + kPakNameField, static_cast<std::int32_t>(offset));
    PutInt32(entry + kPakNameField + 4, static_cast<std::int32_t>(source.size()));
    if (Status written = file_.WriteAt(offset, *tail); !written) {
        return written;
    }
    header_.directoryOffset = static_cast<std::int32_t>(offset + std::ssize(source));
    header_.directoryLength = static_cast<std::int32_t>(directory + kPakEntrySize);
    if (Status written = WriteHeader(); !written) {
        return written;
    }
    entries_.push_back({std::move(name), static_cast<std::int32_t>(offset),
                        static_cast<std::int32_t>(source.size())});
    return Success();
}

Status TVfsPAK::DeleteMember(int position) {
    if (Status writable = CheckWritable(); !writable) {
        return writable;
    }
    Result<const Entry*> found = EntryAt(position);
    if (!found) {
        return found.error();
    }
    const Entry entry = **found;
    Result<std::int64_t> size = file_.Size();
    if (!size) {
        return size.error();
    }
    const std::int64_t start = entry.offset;
    const std::int64_t end = start + entry.size;
    if (start < kPakHeaderSize || entry.size < 0 || end > header_.directoryOffset ||
        header_.directoryOffset + DirectoryBytes() > *size) {
        return DamagedArchive("a member's data do not lie before the directory");
    }
    // Everything after the member moves down by its size; the entries after it in the
    // directory point that much lower, and the directory loses the member's entry.
    Result<Bytes> tail = file_.ReadRange(end, *size - end);
    if (!tail) {
        return tail.error();
    }
    header_.directoryOffset -= entry.size;
    const std::int64_t directoryInTail = header_.directoryOffset - start;
    for (int i = position + 1; i < Count(); ++i) {
        std::uint8_t* offset = tail->data() + directoryInTail +
                               static_cast<std::int64_t>(i) * kPakEntrySize + kPakNameField;
        // A damaged entry's offset may lie anywhere; it wraps as 32-bit arithmetic does.
        PutInt32(offset, static_cast<std::int32_t>(static_cast<std::uint32_t>(GetInt32(offset)) -
                                                   static_cast<std::uint32_t>(entry.size)));
    }
    const auto removed =
        tail->begin() + directoryInTail + static_cast<std::int64_t>(position) * kPakEntrySize;
    tail->erase(removed, removed + kPakEntrySize);
    header_.directoryLength -= kPakEntrySize;
    Status done = file_.WriteAt(start, *tail);
    if (done) {
        done = WriteHeader();
    }
    if (done) {
        done = file_.Truncate(start + std::ssize(*tail));
    }
    if (done) {
        done = ReadDirectory();
    }
    return done;
}

Status TVfsPAK::DeleteMemberByName(std::string_view name) {
    const int position = IndexOf(name);
    return position < 0 ? Success() : DeleteMember(position);
}

}  // namespace oplix
