// Reads the input as a test file twice, once anonymously and once for a pupil of a class with
// its own time and scale. A test that loads must hold what the session relies on: 0 to 45
// questions of 3 to 5 answers, each shown at distinct slots 1 .. answerCount.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "app/Settings.h"
#include "formats/StudentsList.h"
#include "formats/TestDocument.h"
#include "formats/TestFileReader.h"
#include "fuzz_support.h"
#include "storage/Random.h"
#include "storage/VfsPAK.h"

namespace {

// Draws that repeat for the same input.
class CountingRandom : public oplix::RandomSource {
public:
    std::uint32_t Below(std::uint32_t n) override { return n == 0 ? 0 : next_++ % n; }

private:
    std::uint32_t next_ = 0;
};

oplix::StudentsList OneClass() {
    oplix::ClassRecord record;
    record.className = "1a";
    record.classTime = "20";
    record.ownScale = 1;
    record.thresholds = {90, 75, 60, 45, 30};
    oplix::StudentsList list;
    list.classes.push_back(record);
    list.classCount = 1;
    return list;
}

void CheckLoaded(const oplix::TestDocument& test) {
    if (test.questionCount < 0 || test.questionCount > oplix::kMaxQuestions ||
        test.answerCount < 3 || test.answerCount > oplix::kMaxAnswers) {
        std::abort();
    }
    for (int n = 1; n <= test.questionCount; ++n) {
        const oplix::Question& question = test.At(n);
        unsigned seen = 0;
        for (int k = 1; k <= oplix::kMaxAnswers; ++k) {
            const int slot = question.answers[static_cast<std::size_t>(k - 1)].displaySlot;
            if (k > test.answerCount) {
                if (slot != -1) {
                    std::abort();
                }
                continue;
            }
            if (slot < 1 || slot > test.answerCount || (seen & (1u << slot)) != 0) {
                std::abort();
            }
            seen |= 1u << slot;
        }
    }
}

}  // namespace

// The journal formats its date under the user's locale at every line; the C locale spares the
// harness loading locale data for each input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("LC_ALL", "C", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const oplix_fuzz::MemoryFile input("fuzz_test_file");
    const std::string& path = input.path;
    static oplix::Journal journal;
    static const bool journalSet = [] {
        journal.SetFile("/dev/null");
        return true;
    }();
    (void)journalSet;
    static const oplix::StudentsList students = OneClass();
    oplix::Settings settings;
    settings.sk = {91, 75, 60, 45, 30};
    oplix_fuzz::SilentMessageBox messages;
    CountingRandom random;
    static oplix::TestDocument document;  // large; the program keeps one for its whole run

    for (oplix::StartMode mode :
         {oplix::StartMode::TestFileAnonymously, oplix::StartMode::PupilAndTestFromLists}) {
        // Every read rewinds the file: a read may have written an empty archive's header.
        input.Fill(data, size);
        oplix::TVfsPAK archive;
        const oplix::TestReadContext context{.journal = journal,
                                             .messages = messages,
                                             .settings = settings,
                                             .random = random,
                                             .mode = mode,
                                             .students = &students,
                                             .classIndex = 0};
        if (oplix::ReadTest(path, document, archive, context) == oplix::TestReadOutcome::Loaded) {
            CheckLoaded(document);
        }
    }
    return 0;
}
