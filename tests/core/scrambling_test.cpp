#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <string_view>

#include "storage/Random.h"
#include "storage/ScrambleTables.h"
#include "storage/Scrambling.h"

namespace oplix {
namespace {

// Hands out scripted draws, then `fallback` clamped to the range asked for.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::deque<std::uint32_t> draws, std::uint32_t fallback)
        : draws_(std::move(draws)), fallback_(fallback) {}
    std::uint32_t Below(std::uint32_t n) override {
        std::uint32_t draw = fallback_;
        if (!draws_.empty()) {
            draw = draws_.front();
            draws_.pop_front();
        }
        EXPECT_LT(draw, n) << "scripted draw out of range";
        return draw < n ? draw : n - 1;
    }

private:
    std::deque<std::uint32_t> draws_;
    std::uint32_t fallback_;
};

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    return bytes;
}

// The scrambled form, which must exist for every value the tests use.
std::string Scrambled(const Result<std::string>& result) {
    EXPECT_TRUE(result.ok()) << result.error().message;
    return result.ok() ? *result : std::string();
}

std::string Substituted(std::string_view bytes, const ByteTable& table) {
    std::string result;
    for (char ch : bytes) {
        result.push_back(static_cast<char>(table[static_cast<unsigned char>(ch)]));
    }
    return result;
}

struct TablePair {
    const char* name;
    const ByteTable& encoding;
    const ByteTable& decoding;
};
const TablePair kTablePairs[] = {
    {"settings and lists", kScrambleEncoding, kScrambleDecoding},
    {"version-35 tests", kTestEditor35Encoding, kTestText35Decoding},
};

TEST(ScrambleTables, EachPairIsA132ValuePermutationAndItsInverse) {
    for (const TablePair& pair : kTablePairs) {
        SCOPED_TRACE(pair.name);
        for (const ByteTable* table : {&pair.encoding, &pair.decoding}) {
            int listed = 0;
            bool seen[256] = {};
            for (int b = 0; b < 256; ++b) {
                const int image = (*table)[b];
                EXPECT_FALSE(seen[image]) << "two bytes map to " << image;
                seen[image] = true;
                if (image == b) {
                    continue;
                }
                ++listed;
                EXPECT_GE(b, 33);
                EXPECT_LE(b, 247);
                EXPECT_GE(image, 33) << "byte " << b;
                EXPECT_LE(image, 247) << "byte " << b;
            }
            EXPECT_EQ(listed, 132);
        }
        for (int b = 0; b < 256; ++b) {
            EXPECT_EQ(pair.decoding[pair.encoding[b]], b);
        }
    }
}

TEST(ScrambleTables, TheTwoEncodingsDiffer) {
    EXPECT_NE(kScrambleEncoding, kTestEditor35Encoding);
}

TEST(Scrambling, EmptyValueIsAMarkerAndThreeToTenFillers) {
    const struct {
        std::uint32_t draw;
        std::size_t fillers;
        char filler;
    } cases[] = {{0, 3, 33}, {7, 10, static_cast<char>(232)}};
    for (const auto& c : cases) {
        ScriptedRandom random({c.draw}, c.draw == 0 ? 0 : 199);
        ScopedRandomOverride override(random);
        const std::string scrambled = Scrambled(ScrambleText(""));
        EXPECT_EQ(scrambled, "\xFE" + std::string(c.fillers, c.filler));
        ASSERT_TRUE(UnscrambleText(scrambled).ok());
        EXPECT_EQ(*UnscrambleText(scrambled), "");
    }
}

TEST(Scrambling, ValueFollowsTheChosenMarkerAndItsFillers) {
    const std::string value = "Ala\xB3";
    const struct {
        std::uint32_t choice;
        char marker;
        std::size_t fillers;
    } cases[] = {{0, '\xA0', 2}, {1, '\xA1', 3}, {2, '\xA7', 4}};
    for (const auto& c : cases) {
        ScriptedRandom random({c.choice, 0, 199, 5, 6}, 1);
        ScopedRandomOverride override(random);
        const std::string scrambled = Scrambled(ScrambleText(value));
        const std::string fillers = std::string("\x21\xE8\x26\x27", c.fillers);
        EXPECT_EQ(scrambled, c.marker + fillers + Substituted(value, kScrambleEncoding));
        const Result<std::string> back = UnscrambleText(scrambled);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(*back, value);
    }
}

TEST(Scrambling, EveryByteRoundTripsThroughBothTableSets) {
    SeedProcessRandom(1250);
    const std::string value = AllBytes();
    for (int round = 0; round < 20; ++round) {
        const std::string scrambled = Scrambled(ScrambleText(value));
        ASSERT_TRUE(UnscrambleText(scrambled).ok());
        EXPECT_EQ(*UnscrambleText(scrambled), value);
        const std::string testLine = Scrambled(ScrambleTestText(value));
        ASSERT_TRUE(UnscrambleTestText(testLine).ok());
        EXPECT_EQ(*UnscrambleTestText(testLine), value);
        for (std::size_t i = 1; i < scrambled.size() - value.size(); ++i) {
            const unsigned char filler = scrambled[i];
            EXPECT_GE(filler, 33);
            EXPECT_LE(filler, 232);
        }
    }
}

TEST(Scrambling, ControlAndHighBytesPassUnchanged) {
    std::string kept;
    for (int b = 0; b <= 32; ++b) {
        kept.push_back(static_cast<char>(b));
    }
    kept += "\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF";
    for (const std::string& scrambled :
         {Scrambled(ScrambleText(kept)), Scrambled(ScrambleTestText(kept))}) {
        ASSERT_GT(scrambled.size(), kept.size());
        EXPECT_EQ(scrambled.substr(scrambled.size() - kept.size()), kept);
    }
}

// Unscrambling keeps 500 bytes of a marked value, so a longer value is refused rather than
// written in a form that would lose its end.
TEST(Scrambling, ValuesUpTo500BytesRoundTripAndLongerOnesAreRefused) {
    const std::string longest(500, 'z');
    const std::string scrambled = Scrambled(ScrambleText(longest));
    ASSERT_TRUE(UnscrambleText(scrambled).ok());
    EXPECT_EQ(*UnscrambleText(scrambled), longest);
    EXPECT_FALSE(ScrambleText(longest + "z").ok());
    EXPECT_FALSE(ScrambleTestText(longest + "z").ok());
}

TEST(Scrambling, UnscramblingAnEmptyTextFails) {
    EXPECT_FALSE(UnscrambleText("").ok());
    EXPECT_FALSE(UnscrambleTestText("").ok());
}

TEST(Scrambling, UnscramblingSkipsTheMarkerAndLimitsTheBody) {
    const std::string body600(600, 'k');
    const std::string decoded600 = Substituted(body600, kScrambleDecoding);
    const std::string noMarker = std::string("q") + body600;
    const struct {
        std::string scrambled;
        std::string value;
    } cases[] = {
        {"\xFE", ""},
        {"\xFEqqqq", ""},
        {"\xA0", ""},  // a marker cut short of its fillers
        {"\xA7xyz", ""},
        {"\xA0xyABC", Substituted("ABC", kScrambleDecoding)},
        {"\xA1xyzABC", Substituted("ABC", kScrambleDecoding)},
        {"\xA7wxyzABC", Substituted("ABC", kScrambleDecoding)},
        {"\x93vwxyzABC", Substituted("ABC", kScrambleDecoding)},
        {"\xA0xy" + body600, decoded600.substr(0, 500)},
        {"\x93vwxyz" + body600, decoded600.substr(0, 500)},
        {noMarker, Substituted(noMarker, kScrambleDecoding)},  // whole, beyond 500 bytes
    };
    for (const auto& c : cases) {
        const Result<std::string> value = UnscrambleText(c.scrambled);
        ASSERT_TRUE(value.ok());
        EXPECT_EQ(*value, c.value) << c.scrambled.substr(0, 12);
    }
}

TEST(Scrambling, TestTextUsesItsOwnTable) {
    const Result<std::string> value = UnscrambleTestText("\xA0xyABC");
    ASSERT_TRUE(value.ok());
    EXPECT_EQ(*value, Substituted("ABC", kTestText35Decoding));
    const Result<std::string> settingsValue = UnscrambleText("\xA0xyABC");
    ASSERT_TRUE(settingsValue.ok());
    EXPECT_NE(*value, *settingsValue);
}

}  // namespace
}  // namespace oplix
