#pragma once

namespace oplix {

// The window that explains the letters' colours after grading.
class LegendView {
public:
    virtual ~LegendView() = default;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    // Closed when the pupil leaves the test.
    virtual void Close() = 0;
};

}  // namespace oplix
