#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "formats/AnswerShuffling.h"
#include "formats_testfile_support.h"

namespace oplix {
namespace {

using testing_testfile::ScriptedRandom;

std::set<std::string> AllOrders(int answerCount) {
    std::string order;
    for (int digit = 1; digit <= answerCount; ++digit) {
        order.push_back(static_cast<char>('0' + digit));
    }
    std::set<std::string> orders;
    do {
        orders.insert(order);
    } while (std::next_permutation(order.begin(), order.end()));
    return orders;
}

std::map<std::string, int> Occurrences(int answerCount) {
    std::map<std::string, int> counts;
    for (std::string_view entry : OrderTable(answerCount)) {
        ++counts[std::string(entry)];
    }
    return counts;
}

Question ShuffledWith(int answerCount, std::uint32_t draw) {
    ScriptedRandom random({draw});
    Question question;
    ShuffleAnswers(answerCount, random, question);
    return question;
}

TEST(AnswerShuffling, EveryEntryIsAnOrderOfItsAnswerCount) {
    for (int answerCount : {3, 4, 5}) {
        SCOPED_TRACE(answerCount);
        const std::set<std::string> orders = AllOrders(answerCount);
        for (std::string_view entry : OrderTable(answerCount)) {
            EXPECT_TRUE(orders.contains(std::string(entry))) << entry;
        }
    }
}

TEST(AnswerShuffling, TablesHoldTheirOrdersAsOftenAsDesigned) {
    std::map<std::string, int> three = Occurrences(3);
    EXPECT_EQ(OrderTable(3).size(), 6u);
    EXPECT_EQ(three.size(), 6u);

    EXPECT_EQ(OrderTable(4).size(), 28u);
    std::map<std::string, int> four = Occurrences(4);
    EXPECT_EQ(four.size(), 24u);
    for (const auto& [order, count] : four) {
        const bool twice = order == "3412" || order == "3421" || order == "4312" || order == "4321";
        EXPECT_EQ(count, twice ? 2 : 1) << order;
    }

    // 96 given orders, two of them twice, and four more that none of the others repeats.
    EXPECT_EQ(OrderTable(5).size(), 102u);
    std::map<std::string, int> five = Occurrences(5);
    EXPECT_EQ(five.size(), 100u);
    for (const auto& [order, count] : five) {
        EXPECT_EQ(count, order == "54312" || order == "54321" ? 2 : 1) << order;
    }
}

TEST(AnswerShuffling, FiveAnswerTableKeepsItsGivenPositions) {
    const std::span<const std::string_view> table = OrderTable(5);
    const std::map<std::size_t, std::string_view> given = {
        {0, "12345"},  {19, "43215"}, {24, "14253"},  {26, "21354"}, {44, "14523"},
        {46, "21534"}, {64, "15423"}, {66, "25134"},  {84, "51423"}, {86, "52134"},
        {98, "54312"}, {99, "54321"}, {100, "54312"}, {101, "54321"}};
    for (const auto& [index, entry] : given) {
        EXPECT_EQ(table[index], entry) << "index " << index;
    }
}

TEST(AnswerShuffling, DrawsUniformlyOverTheWholeTable) {
    for (int answerCount : {3, 4, 5, 7}) {
        ScriptedRandom random;
        (void)DrawOrder(answerCount, random);
        ASSERT_EQ(random.ranges.size(), 1u);
        EXPECT_EQ(random.ranges[0], answerCount == 3 ? 6u : answerCount == 4 ? 28u : 102u);
    }
}

TEST(AnswerShuffling, DrawThreeOfThreeAnswersShowsThemInOrder312) {
    const Question question = ShuffledWith(3, 3);
    EXPECT_EQ(question.permutation, "231");
    EXPECT_EQ(AnswerAtSlot(question, 3, 1), 3);
    EXPECT_EQ(AnswerAtSlot(question, 3, 2), 1);
    EXPECT_EQ(AnswerAtSlot(question, 3, 3), 2);
}

TEST(AnswerShuffling, DuplicatedFourAnswerEntriesGiveTheSameOrder) {
    EXPECT_EQ(ShuffledWith(4, 24).permutation, "3412");
    EXPECT_EQ(ShuffledWith(4, 20).permutation, "3412");
}

TEST(AnswerShuffling, LastFiveAnswerEntryShowsTheAnswersReversed) {
    const Question question = ShuffledWith(5, 101);
    EXPECT_EQ(question.permutation, "54321");
    EXPECT_EQ(question.answers[4].displaySlot, 1);
    EXPECT_EQ(question.answers[0].displaySlot, 5);
    EXPECT_EQ(AnswerAtSlot(question, 5, 1), 5);
    EXPECT_EQ(AnswerAtSlot(question, 5, 5), 1);
}

TEST(AnswerShuffling, AnswersBeyondTheCountAreNeverShown) {
    Question question = ShuffledWith(5, 101);
    ScriptedRandom random({6});
    ShuffleAnswers(4, random, question);  // a new draw forgets the old slots
    EXPECT_EQ(question.permutation, "2134");
    EXPECT_EQ(question.answers[4].displaySlot, -1);
    for (int slot = 1; slot <= 5; ++slot) {
        EXPECT_NE(AnswerAtSlot(question, 4, slot), 5) << "slot " << slot;
    }
    EXPECT_EQ(AnswerAtSlot(question, 4, 5), kNoAnswer);
    std::set<int> slots;
    for (int k = 1; k <= 4; ++k) {
        slots.insert(AnswerAtSlot(question, 4, k));
    }
    EXPECT_EQ(slots, (std::set<int>{1, 2, 3, 4}));
}

TEST(AnswerShuffling, AnswerAtSlotFindsTheFirstAnswerWithTheSlotOrNone) {
    Question question;
    EXPECT_EQ(AnswerAtSlot(question, 3, -1), kNoAnswer);
    EXPECT_EQ(AnswerAtSlot(question, 3, 1), kNoAnswer);
    question.answers[1].displaySlot = 2;
    question.answers[2].displaySlot = 2;
    question.answers[3].displaySlot = 1;  // beyond the count
    EXPECT_EQ(AnswerAtSlot(question, 3, 2), 2);
    EXPECT_EQ(AnswerAtSlot(question, 3, 1), kNoAnswer);
}

}  // namespace
}  // namespace oplix
