#include "app/ListTree.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "app/Locations.h"

namespace oplix {
namespace {

constexpr int kSmallChangeMax = 5;

// Takes the next field off `rest`. A field ends at the first star not directly after an at
// sign; without such a star the field and every later one read as empty.
std::string_view NextField(std::string_view& rest) {
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '*' && (i == 0 || rest[i - 1] != '@')) {
            const std::string_view field = rest.substr(0, i);
            rest.remove_prefix(i + 1);
            return field;
        }
    }
    rest = {};
    return {};
}

// A decimal number with an optional sign that fits 32 bits, the whole field.
std::optional<int> DecimalField(std::string_view field) {
    if (field.size() > 1 && field.front() == '+') {
        field.remove_prefix(1);
    }
    int value = 0;
    const char* end = field.data() + field.size();
    const auto [stop, error] = std::from_chars(field.data(), end, value);
    if (field.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<TreeEntry> ParseEntry(std::string_view line) {
    TreeEntry entry;
    for (int* target : {&entry.id, &entry.level, &entry.descendantCount, &entry.parentId}) {
        const std::optional<int> value = DecimalField(NextField(line));
        if (!value) {
            return std::nullopt;
        }
        *target = *value;
    }
    // Only top-level entries say whether they start shown; deeper ones start hidden.
    const std::string_view visibility = NextField(line);
    if (entry.level <= 0) {
        const std::optional<int> value = DecimalField(visibility);
        if (!value) {
            return std::nullopt;
        }
        entry.visible = *value;
    }
    const std::optional<int> look = DecimalField(NextField(line));
    if (!look) {
        return std::nullopt;
    }
    entry.look = *look == kLookSelected ? kLookNormal : *look;
    entry.text = std::string(NextField(line));
    entry.fileName = std::string(NextField(line));
    return entry;
}

// The list file's folder: its path up to the last separator or drive colon. The separator
// itself is left out unless it follows a colon or another separator, so a root keeps it.
std::string ListFolder(std::string_view listPath) {
    const std::size_t last = listPath.find_last_of("\\/:");
    if (last == std::string_view::npos) {
        return {};
    }
    if (listPath[last] == ':') {
        return std::string(listPath.substr(0, last + 1));
    }
    const bool keepSeparator =
        last > 0 &&
        (listPath[last - 1] == ':' || listPath[last - 1] == '\\' || listPath[last - 1] == '/');
    return std::string(listPath.substr(0, keepSeparator ? last + 1 : last));
}

// Looks 0, 2, 3 and 4 set the colour and style; any other look keeps the row before's.
void ApplyLook(int look, TreeTextStyle& style) {
    switch (look) {
        case kLookNormal:
            style = TreeTextStyle{};
            break;
        case kLookSelected:
            style = TreeTextStyle{35, 31, 24, false};
            break;
        case kLookGrey:
            style = TreeTextStyle{128, 128, 128, false};
            break;
        case kLookUnderlined:
            style = TreeTextStyle{91, 90, 92, true};
            break;
        default:
            break;
    }
}

}  // namespace

bool ListTree::Load(const std::vector<std::string>& lines, int viewportHeight) {
    entries_.clear();
    selected_ = -1;
    rowsInView_ = std::max(viewportHeight, 0) / kRowHeight;
    scrollPosition_ = 0;
    loaded_ = false;
    entries_.reserve(lines.size());
    for (const std::string& line : lines) {
        std::optional<TreeEntry> entry = ParseEntry(line);
        if (!entry) {
            return false;
        }
        entries_.push_back(std::move(*entry));
    }
    if (entries_.empty()) {
        return false;
    }
    selected_ = 0;
    entries_.front().look = kLookSelected;
    loaded_ = true;
    return true;
}

int ListTree::VisibleCount() const {
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(),
                      [](const TreeEntry& entry) { return entry.visible == 1; }));
}

int ListTree::VisibleEntry(int n) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].visible == 1 && n-- == 0) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A press above the second row takes the table's first entry, shown or not.
bool ListTree::Click(int y) {
    if (!loaded_) {
        return false;
    }
    const int row = y < kFirstRowTop ? 0 : (y - kFirstRowTop) / kRowHeight;
    const int found = row == 0 ? 0 : VisibleEntry(row);
    if (found < 0) {
        return false;
    }
    entries_[static_cast<std::size_t>(selected_)].look = kLookNormal;
    selected_ = found;
    entries_[static_cast<std::size_t>(found)].look = kLookSelected;
    return true;
}

// Closing hides the whole subtree; opening shows only the direct children, so a child group
// closed along with its parent comes back closed.
bool ListTree::Toggle() {
    if (!loaded_ || entries_[static_cast<std::size_t>(selected_)].descendantCount <= 0) {
        return false;
    }
    const std::size_t group = static_cast<std::size_t>(selected_);
    const TreeEntry& selected = entries_[group];
    const bool open = group + 1 < entries_.size() && entries_[group + 1].visible == 1;
    if (open) {
        const std::size_t end = std::min(
            entries_.size(), group + 1 + static_cast<std::size_t>(selected.descendantCount));
        for (std::size_t i = group + 1; i < end; ++i) {
            entries_[i].visible = 0;
        }
    } else {
        const int id = selected.id;
        for (TreeEntry& entry : entries_) {
            if (entry.parentId == id) {
                entry.visible = 1;
            }
        }
    }
    return true;
}

bool ListTree::TakeChosenTest(std::string_view listPath, CurrentChoice& choice) const {
    if (!loaded_) {
        return false;
    }
    const TreeEntry& entry = entries_[static_cast<std::size_t>(selected_)];
    if (entry.fileName.empty()) {
        return false;
    }
    choice.testPath = WindowsPathToLocal(ListFolder(listPath) + entry.fileName);
    choice.testName = entry.text;
    return true;
}

std::vector<TreeRow> ListTree::Rows(int surfaceHeight) const {
    std::vector<TreeRow> rows;
    TreeTextStyle style;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const TreeEntry& entry = entries_[i];
        if (entry.visible != 1) {
            continue;
        }
        const int top = kFirstRowTop + kRowHeight * static_cast<int>(rows.size());
        if (top >= surfaceHeight) {
            break;
        }
        TreeArrow arrow = TreeArrow::None;
        if (entry.descendantCount > 0) {
            const bool open = i + 1 < entries_.size() && entries_[i + 1].visible == 1;
            arrow = open ? TreeArrow::Left : TreeArrow::Right;
        }
        ApplyLook(entry.look, style);
        rows.push_back(TreeRow{.entry = static_cast<int>(i),
                               .top = top,
                               .arrowX = kIndent * entry.level + 1,
                               .textX = kIndent * entry.level + 18,
                               .arrow = arrow,
                               .style = style});
    }
    return rows;
}

TreeBarSetup ListTree::Bar() const {
    const int visible = VisibleCount();
    if (visible <= rowsInView_) {
        return {};
    }
    const int max = visible - rowsInView_;
    return TreeBarSetup{.shown = true,
                        .max = max,
                        .largeChange = rowsInView_ - 1,
                        .smallChange = rowsInView_ - 2,
                        .smallChangeMax = kSmallChangeMax,
                        .position = std::clamp(scrollPosition_, 0, max)};
}

}  // namespace oplix
