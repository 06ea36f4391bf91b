#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "storage/Bytes.h"

namespace oplix::testing_files {

// A fresh folder for one test, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string name = ::testing::TempDir() + "oplix_XXXXXX";
        if (mkdtemp(name.data()) != nullptr) {
            path_ = name;
        }
        EXPECT_FALSE(path_.empty()) << "cannot make a scratch folder";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline Bytes ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace oplix::testing_files
