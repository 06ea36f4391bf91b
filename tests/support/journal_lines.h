#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/Bytes.h"
#include "storage/Cp1250.h"
#include "test_files.h"

namespace oplix::testing_files {

// The messages of a journal file: every line up to its " - date time", as UTF-8.
inline std::vector<std::string> JournalMessages(const std::string& journalPath) {
    const Bytes bytes = ReadFileBytes(journalPath);
    const std::string text = Cp1250ToUtf8(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> messages;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        messages.push_back(line.substr(0, line.rfind(" - ")));
    }
    EXPECT_EQ(start, text.size()) << "the journal ends inside a line";
    return messages;
}

}  // namespace oplix::testing_files
