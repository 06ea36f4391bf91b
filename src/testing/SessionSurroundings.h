#pragma once

#include "app/Clock.h"
#include "app/Journal.h"
#include "app/Locations.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "storage/Random.h"
#include "testing/LegendView.h"
#include "testing/MinuteTimer.h"
#include "testing/QuestionSideView.h"
#include "testing/SoundPlayer.h"
#include "testing/SummaryView.h"
#include "testing/TestPanelView.h"

namespace oplix {

// What the test session reaches in the program. Everything is owned by the program and lives
// longer than the session; the settings may change between calls.
struct SessionServices {
    Journal& journal;
    MessageBoxPresenter& messages;
    const Clock& clock;
    RandomSource& random;  // draws the answers' on-screen order
    const Settings& settings;
    const Locations& locations;  // the temp folder for network copies, the documents folder
};

// The windows, the sounds and the timer the session drives.
struct SessionWindows {
    TestPanelView& panel;
    QuestionSideView& textWindow;
    QuestionSideView& pictureWindow;
    LegendView& legend;
    SummaryView& summary;
    SoundPlayer& sounds;
    MinuteTimer& timer;
};

}  // namespace oplix
