#include "testing/SessionStore.h"

#include <cerrno>
#include <utility>

#include "app/FileReplacement.h"
#include "storage/Checksums.h"
#include "testing/InterruptedWorkCoding.h"

namespace oplix {

SessionStore::SessionStore(std::string path, FileSystem& files)
    : path_(std::move(path)), files_(files) {}

Status SessionStore::Keep(const InterruptedWork& work) {
    return ReplaceFileContents(path_, EncodeInterruptedWork(work), files_);
}

Result<std::optional<InterruptedWork>> SessionStore::Find() const {
    Result<Bytes> bytes = files_.ReadFile(path_);
    if (!bytes) {
        if (bytes.error().code == ENOENT) {
            return std::optional<InterruptedWork>();
        }
        return bytes.error();
    }
    Result<InterruptedWork> work = DecodeInterruptedWork(*bytes);
    if (!work) {
        return work.error();
    }
    return std::optional<InterruptedWork>(std::move(work).value());
}

void SessionStore::Discard() {
    (void)files_.Remove(path_);
}

Result<TestFileIdentity> IdentifyTestFile(const std::string& path, const FileSystem& files) {
    Result<FileStatus> status = files.Stat(path);
    if (!status) {
        return status.error();
    }
    Result<Bytes> bytes = files.ReadFile(path);
    if (!bytes) {
        return bytes.error();
    }
    return TestFileIdentity{.size = status->size,
                            .modifiedNanoseconds = status->modifiedNanoseconds,
                            .contentHash = Fnv1a64(*bytes)};
}

}  // namespace oplix
