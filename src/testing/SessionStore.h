#pragma once

#include <optional>
#include <string>

#include "storage/FileSystem.h"
#include "storage/Result.h"
#include "testing/InterruptedWork.h"

namespace oplix {

// The one record of interrupted work, in a file of the program's own in the data folder. Each
// record replaces the one before in a single step, so that a crash or a power cut at any moment
// leaves one of the two whole on disk.
class SessionStore {
public:
    explicit SessionStore(std::string path, FileSystem& files = PosixFileSystem());

    Status Keep(const InterruptedWork& work);
    // None when no work was kept; an error when the file holds no usable record.
    Result<std::optional<InterruptedWork>> Find() const;
    // No work is kept any more.
    void Discard();

    const std::string& Path() const { return path_; }
    FileSystem& Files() const { return files_; }

private:
    std::string path_;
    FileSystem& files_;
};

// The size, modification time and content hash of the test file at `path`.
Result<TestFileIdentity> IdentifyTestFile(const std::string& path, const FileSystem& files);

}  // namespace oplix
