#pragma once

#include <array>
#include <string>

namespace oplix {

// The values kept in Test.ini. Before loading every field is zero or empty.
struct Settings {
    std::string sct;          // tests list path (UTF-8); empty: the default list beside the program
    std::string scl;          // students list path; empty: the default list
    bool al = false;          // confirm leaving an unfinished test
    bool fn = false;          // names as first name then surname
    bool opl = false;         // show the legend after grading
    bool chl = false;         // the legend's "do not show" box is enabled
    bool woc = false;         // the grade control stays after grading
    bool wz = false;          // the time limit ends and grades the test
    std::array<int, 5> sk{};  // default thresholds cel, bdb, db, dst, dp in per cent
    int wo = 0;               // window mode
    int dfpz = 0;             // journal level 0-4
    int trc = 0;              // copy method for tests on network paths
};

}  // namespace oplix
