#pragma once

#include <string_view>

namespace oplix {

// The program's only way of telling the pupil something or asking a question. The window
// code shows the program's own message box; tests record what would have been shown.
enum class MessageKind {
    Close = 1,        // a single close button
    YesNoCancel = 3,  // yes, no and cancel
};

enum class MessageIcon {
    Information = 1,
    Question = 2,
    Warning = 3,
};

enum class MessageBoxResult {
    Closed = 0,
    Yes = 1,
    No = 2,  // also when the box is closed otherwise
    Cancel = 3,
};

class MessageBoxPresenter {
public:
    virtual ~MessageBoxPresenter() = default;
    // `text` is UTF-8; "\r" breaks the line.
    virtual MessageBoxResult ShowMessageBox(MessageKind kind, MessageIcon icon,
                                            std::string_view text) = 0;
};

}  // namespace oplix
