#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace oplix {

// The one member of a result file.
inline constexpr std::string_view kResultMemberName = "Selo0.xml";
inline constexpr std::string_view kResultFormatVersion = "Edytor - Ver.4.0";
// Written to `lic`: names this build of the program.
inline constexpr std::string_view kBuildIdentification = "Oplix Test 4.0 dla Linuksa";
// The surname recorded for a pupil who took the test without choosing himself from a list.
inline constexpr std::string_view kAnonymousSurname = "Anonimowy użytkownik";

// One question of a result: five characters '1' or '0', one per answer 1 to 5 in file order.
struct ResultQuestion {
    std::string chosenFlags;
    std::string correctFlags;

    bool operator==(const ResultQuestion&) const = default;
};

// What one result file holds. Texts are UTF-8; times of day are text as the user's region
// writes the long time.
struct ResultRecord {
    std::string formatVersion{kResultFormatVersion};
    std::string buildIdentification;
    std::string testName;
    std::string author;
    int testType = 0;
    int answerCount = 0;
    int timeLimit = 0;
    std::string startTime;
    std::string endTime;
    std::string saveTime;
    int gradingSource = 3;            // 1 the test, 2 the class, 3 the settings
    std::array<int, 5> thresholds{};  // cel, bdb, db, dst, dp in per cent
    std::string surname;
    std::string firstName;
    bool endedByTimeLimit = false;
    std::vector<ResultQuestion> questions;  // questions 1 .. question count

    int QuestionCount() const { return static_cast<int>(questions.size()); }

    bool operator==(const ResultRecord&) const = default;
};

}  // namespace oplix
