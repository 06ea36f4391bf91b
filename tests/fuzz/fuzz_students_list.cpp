// Reads the input as a students list file. Whatever the bytes, the reader must finish; a list
// it accepts holds as many classes as it says, no more than the input has bytes, none with
// more than 36 pupils, and reads back the same after the version-40 writer stored it encoded.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <string>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "formats/StudentsListFile.h"
#include "fuzz_support.h"

namespace {

class StillClock : public oplix::Clock {
public:
    std::time_t Now() const override { return 1765357200; }
};

bool IsConsistent(const oplix::StudentsList& list, std::size_t inputSize) {
    if (list.classCount < 0 || static_cast<std::size_t>(list.classCount) != list.classes.size() ||
        list.classes.size() > inputSize) {
        return false;
    }
    for (const oplix::ClassRecord& record : list.classes) {
        if (record.pupilCount < 0 || record.pupilCount > oplix::kMaxPupils) {
            return false;
        }
    }
    return true;
}

bool SameClass(const oplix::ClassRecord& a, const oplix::ClassRecord& b) {
    if (a.className != b.className || a.resultFolder != b.resultFolder ||
        a.classTime != b.classTime || a.pupilCount != b.pupilCount || a.ownScale != b.ownScale ||
        a.thresholds != b.thresholds) {
        return false;
    }
    for (std::size_t j = 0; j < a.pupils.size(); ++j) {
        if (a.pupils[j].firstName != b.pupils[j].firstName ||
            a.pupils[j].surname != b.pupils[j].surname) {
            return false;
        }
    }
    return true;
}

bool Same(const oplix::StudentsList& a, const oplix::StudentsList& b) {
    if (a.listType != b.listType || a.listDate != b.listDate || a.listRemarks != b.listRemarks ||
        a.entryCount != b.entryCount || a.classCount != b.classCount ||
        a.classes.size() != b.classes.size()) {
        return false;
    }
    for (std::size_t n = 0; n < a.classes.size(); ++n) {
        if (!SameClass(a.classes[n], b.classes[n])) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const oplix_fuzz::MemoryFile input("fuzz_students_list");
    static const oplix_fuzz::MemoryFile copy("fuzz_students_list_copy");
    static const StillClock clock;
    static oplix::Journal journal(clock);
    journal.SetFile("/dev/null");
    input.Fill(data, size);
    oplix::CurrentChoice choice;
    oplix::StudentsList list;
    if (!oplix::ReadStudentsList(input.path, list, choice, journal, clock)) {
        return 0;
    }
    if (!IsConsistent(list, size)) {
        std::abort();
    }
    if (oplix::WriteStudentsList40(copy.path, list, true, true)) {
        oplix::StudentsList again;
        if (!oplix::ReadStudentsList(copy.path, again, choice, journal, clock) ||
            !Same(list, again)) {
            std::abort();
        }
    }
    return 0;
}
