#pragma once

#include <cerrno>
#include <memory>
#include <string>
#include <utility>

#include "storage/FileSystem.h"

namespace oplix::testing_files {

// The real file system, except that the chosen call that changes something on disk fails, as
// if the program had died there: the call and every one after it do nothing. A short write
// stores half its bytes before it fails.
class FailingFileSystem : public FileSystem {
public:
    // Call number `failAt` (from 1) fails; 0 lets every call through.
    explicit FailingFileSystem(int failAt, bool shortWrites = false)
        : failAt_(failAt), shortWrites_(shortWrites) {}

    // The calls that changed something, or tried to.
    int Calls() const { return calls_; }
    bool Failed() const { return failAt_ > 0 && calls_ >= failAt_; }

    Result<FileStatus> Stat(const std::string& path) const override {
        return PosixFileSystem().Stat(path);
    }
    Result<Bytes> ReadFile(const std::string& path) const override {
        return PosixFileSystem().ReadFile(path);
    }
    Result<NewFile> CreateUniqueFile(const std::string& prefix) override {
        if (Fails()) {
            return Injected();
        }
        Result<NewFile> created = PosixFileSystem().CreateUniqueFile(prefix);
        if (!created) {
            return created;
        }
        created->file = std::make_unique<File>(*this, std::move(created->file));
        return created;
    }
    Status Rename(const std::string& from, const std::string& to) override {
        return Fails() ? Injected() : PosixFileSystem().Rename(from, to);
    }
    Status Remove(const std::string& path) override {
        return Fails() ? Injected() : PosixFileSystem().Remove(path);
    }
    Status SyncFolder(const std::string& folder) override {
        return Fails() ? Injected() : PosixFileSystem().SyncFolder(folder);
    }

private:
    class File : public WritableFile {
    public:
        File(FailingFileSystem& files, std::unique_ptr<WritableFile> real)
            : files_(files), real_(std::move(real)) {}
        Status Append(std::span<const std::uint8_t> bytes) override {
            if (!files_.Fails()) {
                return real_->Append(bytes);
            }
            if (files_.shortWrites_ && files_.calls_ == files_.failAt_) {
                (void)real_->Append(bytes.first(bytes.size() / 2));
            }
            return Injected();
        }
        Status SetPermissions(mode_t permissions) override {
            return files_.Fails() ? Injected() : real_->SetPermissions(permissions);
        }
        Status Sync() override { return files_.Fails() ? Injected() : real_->Sync(); }
        Status Close() override { return files_.Fails() ? Injected() : real_->Close(); }

    private:
        FailingFileSystem& files_;
        std::unique_ptr<WritableFile> real_;
    };

    static Error Injected() { return Error{EIO, "injected failure"}; }
    bool Fails() {
        ++calls_;
        return failAt_ > 0 && calls_ >= failAt_;
    }

    int failAt_;
    bool shortWrites_;
    int calls_ = 0;
};

}  // namespace oplix::testing_files
