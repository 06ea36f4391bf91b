#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/CurrentChoice.h"

namespace oplix {

// Looks of a tree row. A line's look 2 reads as normal: only the selection draws selected.
inline constexpr int kLookNormal = 0;
inline constexpr int kLookSelected = 2;
inline constexpr int kLookGrey = 3;
inline constexpr int kLookUnderlined = 4;

// One entry line of a tests list: a group or a test of the tests tree. Texts are UTF-8.
struct TreeEntry {
    int id = 0;
    int level = 0;            // depth, 0 at the top
    int descendantCount = 0;  // entries right after this one that belong to its subtree
    int parentId = 0;
    std::string text;
    // Relative to the list's folder, with its own leading '\'; empty for a group.
    std::string fileName;
    int visible = 0;  // 1 while the row is shown
    int look = kLookNormal;
};

struct TreeTextStyle {
    int red = 91;
    int green = 90;
    int blue = 92;
    bool underlined = false;

    bool operator==(const TreeTextStyle&) const = default;
};

enum class TreeArrow {
    None,   // a test
    Right,  // a closed group
    Left,   // an open group
};

// A shown entry as it is drawn on the tree's surface.
struct TreeRow {
    int entry = 0;  // index into the table
    int top = 0;
    int arrowX = 0;
    int textX = 0;
    TreeArrow arrow = TreeArrow::None;
    TreeTextStyle style;
};

// How the scroll bar beside the tree is set; a hidden bar leaves its other values unused.
struct TreeBarSetup {
    bool shown = false;
    int max = 0;
    int largeChange = 0;
    int smallChange = 0;
    int smallChangeMax = 0;
    int position = 0;
};

// The tests tree without its drawing: the table of entries, the selection, which rows are
// shown and where the view is scrolled to. Rows are 16 pixels high, the first one at y = 5.
class ListTree {
public:
    static constexpr int kRowHeight = 16;
    static constexpr int kFirstRowTop = 5;
    static constexpr int kIndent = 20;

    // Reads every line into the table and selects the first entry. False for an empty list
    // or a malformed line (an integer field that is not a decimal number, or one left empty
    // by a missing star): the table then keeps the entries read before that line, nothing is
    // selected, and presses and toggles change nothing.
    bool Load(const std::vector<std::string>& lines, int viewportHeight);

    // A press at `y` on the surface; false when nothing changed.
    bool Click(int y);
    // Opens or closes the selected group; false when nothing changed.
    bool Toggle();
    void Scroll(int position) { scrollPosition_ = position; }
    // The selected test's path (the list's folder joined with its file name, backslashes
    // turned into '/') and name. False, `choice` untouched, for a group or no selection.
    bool TakeChosenTest(std::string_view listPath, CurrentChoice& choice) const;

    // The shown rows in table order, each with the look it is drawn in, as far as they begin
    // within `surfaceHeight`.
    std::vector<TreeRow> Rows(int surfaceHeight) const;
    TreeBarSetup Bar() const;

    const std::vector<TreeEntry>& Entries() const { return entries_; }
    int Selected() const { return selected_; }
    int RowsInView() const { return rowsInView_; }
    int VisibleCount() const;
    int ScrollPosition() const { return scrollPosition_; }
    bool IsLoaded() const { return loaded_; }

private:
    // The entry on row n of the view, -1 when fewer rows are shown.
    int VisibleEntry(int n) const;

    std::vector<TreeEntry> entries_;
    int selected_ = -1;
    int rowsInView_ = 0;
    int scrollPosition_ = 0;
    bool loaded_ = false;
};

}  // namespace oplix
