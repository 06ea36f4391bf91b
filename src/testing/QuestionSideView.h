#pragma once

#include <string_view>

namespace oplix {

class TVfsPAK;

// The text window or the picture window beside the test panel: it shows a test member that
// the current question names, or folds up into its empty strip when there is none.
class QuestionSideView {
public:
    virtual ~QuestionSideView() = default;
    // At the start of a test: the window appears at its place, empty.
    virtual void ShowEmpty() = 0;
    // The window stays shown but drops what it showed.
    virtual void Empty() = 0;
    // Reads the member from the open test archive and shows it.
    virtual void Load(const TVfsPAK& archive, std::string_view member) = 0;
    virtual void Close() = 0;
};

}  // namespace oplix
