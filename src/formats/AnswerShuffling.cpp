#include "formats/AnswerShuffling.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace oplix {
namespace {

constexpr std::array<std::string_view, 6> kThreeAnswerOrders = {"123", "132", "213",
                                                                "231", "321", "312"};

// Every order of four answers, and 3412, 3421, 4312, 4321 a second time.
constexpr std::array<std::string_view, 28> kFourAnswerOrders = {
    "1234", "1243", "1324", "1342", "1423", "1432", "2134", "2143", "2314", "2341",
    "3124", "3142", "3214", "3241", "4123", "4132", "4213", "4231", "4312", "4321",
    "3412", "3421", "2413", "2431", "3412", "3421", "4312", "4321"};

// 100 of the 120 orders of five answers, 54312 and 54321 twice. Each entry at 25, 45, 65 and 85
// is the smallest order above the entry before it that the rest of the table lacks.
constexpr std::array<std::string_view, 102> kFiveAnswerOrders = {
    "12345", "12435", "13245", "13425", "14235", "14325", "21345", "21435", "23145", "23415",
    "31245", "31425", "32145", "32415", "41235", "41325", "42135", "42315", "43125", "43215",
    "34125", "34215", "13254", "13452", "14253", "14352", "21354", "21453", "23154", "23451",
    "31254", "31452", "32154", "32451", "41253", "41352", "42153", "42351", "43152", "43251",
    "34152", "34251", "13524", "13542", "14523", "14532", "21534", "21543", "23514", "23541",
    "31524", "31542", "32514", "32541", "41523", "41532", "42513", "42531", "43512", "43521",
    "34512", "34521", "15324", "15342", "15423", "15432", "25134", "25143", "25314", "25341",
    "35124", "35142", "35214", "35241", "45123", "45132", "45213", "45231", "45312", "45321",
    "35412", "35421", "51324", "51342", "51423", "51432", "52134", "52143", "52314", "52341",
    "53124", "53142", "53214", "53241", "54123", "54132", "54213", "54231", "54312", "54321",
    "54312", "54321"};

}  // namespace

std::span<const std::string_view> OrderTable(int answerCount) {
    if (answerCount == 3) {
        return kThreeAnswerOrders;
    }
    if (answerCount == 4) {
        return kFourAnswerOrders;
    }
    return kFiveAnswerOrders;
}

std::string DrawOrder(int answerCount, RandomSource& random) {
    const std::span<const std::string_view> table = OrderTable(answerCount);
    const std::uint32_t drawn = random.Below(static_cast<std::uint32_t>(table.size()));
    // A source that breaks its contract must not read past the table.
    return std::string(table[std::min<std::size_t>(drawn, table.size() - 1)]);
}

void ApplyOrder(std::string_view order, int answerCount, Question& question) {
    question.permutation = std::string(order);
    for (int k = 1; k <= kMaxAnswers; ++k) {
        Answer& answer = question.answers[static_cast<std::size_t>(k - 1)];
        const bool shown = k <= answerCount && static_cast<std::size_t>(k) <= order.size();
        answer.displaySlot = shown ? order[static_cast<std::size_t>(k - 1)] - '0' : -1;
    }
}

void ShuffleAnswers(int answerCount, RandomSource& random, Question& question) {
    ApplyOrder(DrawOrder(answerCount, random), answerCount, question);
}

int AnswerAtSlot(const Question& question, int answerCount, int slot) {
    if (slot < 1) {
        return kNoAnswer;
    }
    const int last = std::min(answerCount, kMaxAnswers);
    for (int k = 1; k <= last; ++k) {
        if (question.answers[static_cast<std::size_t>(k - 1)].displaySlot == slot) {
            return k;
        }
    }
    return kNoAnswer;
}

}  // namespace oplix
