#pragma once

#include <string>
#include <vector>

namespace oplix {

// A tests list: its header and the entry lines of the tests tree, in file order. Each entry is
// eight fields ended by '*' (id, level, descendant count, parent id, initial visibility, look,
// text, file name); the tree view splits them, the list file keeps them as they are. UTF-8.
struct TestsList {
    std::string listName;
    std::string listDate = "0";
    std::string listRemarks;
    std::vector<std::string> entries;
};

}  // namespace oplix
