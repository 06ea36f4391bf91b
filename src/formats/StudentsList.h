#pragma once

#include <array>
#include <string>
#include <vector>

namespace oplix {

inline constexpr int kMaxPupils = 36;
// Far more than any school has; a list that claims more is damaged, and refusing it keeps a
// small hostile file from costing gigabytes of class records.
inline constexpr int kMaxClasses = 1000;

struct Pupil {
    std::string firstName;  // UTF-8
    std::string surname;
};

struct ClassRecord {
    std::string className;
    std::string resultFolder;         // as stored: a Windows path may hold backslashes
    std::string classTime;            // minutes as decimal text
    int pupilCount = 0;               // 0 .. kMaxPupils
    int ownScale = 0;                 // 1: the thresholds below replace the program's defaults
    std::array<int, 5> thresholds{};  // cel, bdb, db, dst, dp
    std::array<Pupil, kMaxPupils> pupils;
};

// One school: its classes and their pupils.
struct StudentsList {
    std::string listType;
    std::string listDate;
    std::string listRemarks;
    int entryCount = 0;
    int classCount = 0;
    std::vector<ClassRecord> classes;
};

}  // namespace oplix
