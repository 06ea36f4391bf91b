#pragma once

#include <string_view>

namespace oplix {

// The modal window with the summary of a graded test. Its save control lets an anonymous
// pupil keep the result; it calls TestSession::SaveResult with the path the pupil chose.
class SummaryView {
public:
    virtual ~SummaryView() = default;
    // `text` is UTF-8, "\r" breaking the lines. Returns when the pupil closes the window.
    virtual void Show(std::string_view text, bool saveOffered) = 0;
};

}  // namespace oplix
