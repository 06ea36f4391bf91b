#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "storage/JpegDecoder.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_files::ReadFileBytes;

const std::string kResources = OPLIX_RESOURCES_DIR;

struct PictureSize {
    const char* name;
    int width;
    int height;
};

// Every skin picture the windows load, at the size each window is laid out for.
constexpr PictureSize kPictures[] = {
    // main window and menu
    {"OknoGlowne", 790, 581},
    {"MenuTesty", 250, 135},
    {"MenuPomoc", 250, 135},
    {"TloBig", 1920, 1200},
    // test panel
    {"OknoTestu", 790, 581},
    {"OknoPodpowiedzi", 386, 60},
    {"Podpowiedz", 112, 36},
    {"Ocen", 102, 36},
    {"PasekWieleOdp", 319, 15},
    {"LiteryMale", 125, 100},
    {"LiteryDuze", 175, 140},
    {"Numery", 25, 1500},
    {"NumeryBiale", 25, 1500},
    {"TloListy", 175, 1500},
    // message box
    {"oknowarning", 350, 150},
    {"ikoinfo", 42, 43},
    {"ikopytanie", 42, 43},
    {"ikouwaga", 42, 43},
    {"buttak", 88, 26},
    {"buttakakt", 88, 26},
    {"butnie", 88, 26},
    {"butnieakt", 88, 26},
    {"butanuluj", 88, 26},
    {"butanulujakt", 88, 26},
    {"butzamknij", 88, 26},
    {"butzamknijakt", 88, 26},
    {"butyes", 88, 26},
    {"butyesakt", 88, 26},
    {"butno", 88, 26},
    {"butnoakt", 88, 26},
    {"butcancel", 88, 26},
    {"butcancelakt", 88, 26},
    {"butclose", 88, 26},
    {"butcloseakt", 88, 26},
    // summary, legend, about
    {"OknoPodsumowania", 308, 229},
    {"Zapisz", 76, 27},
    {"OknoLegendy", 376, 165},
    {"Winieta", 366, 239},
    // list choice windows
    {"TloObieListy", 585, 486},
    {"TloListyTestow", 310, 487},
    {"TloListyUczniow", 310, 487},
    // text and picture windows
    {"RamkaGora", 600, 40},
    {"RamkaPrawaGora", 30, 40},
    {"RamkaLewa", 85, 500},
    {"RamkaPrawa", 30, 500},
    {"PasekSrodek", 600, 26},
    {"PasekPrawy", 30, 26},
    {"TekstLewaGora", 85, 200},
    {"TekstZmniejsz", 40, 45},
    {"TekstZwieksz", 40, 45},
    {"TekstLewaDol", 85, 29},
    {"TekstDol", 600, 29},
    {"TekstPrawaDol", 30, 29},
    {"TekstPasekLewy", 85, 26},
    {"GrafikaLewaGora", 85, 160},
    {"GrafikaPowieksz", 40, 45},
    {"GrafikaZmniejsz", 40, 45},
    {"GrafikaLewaDol", 85, 25},
    {"GrafikaDol", 600, 25},
    {"GrafikaPrawaDol", 30, 25},
    {"GrafikaPasekLewy", 85, 26},
    // scroll bar and tree
    {"ListwaGora", 16, 16},
    {"ListwaDol", 16, 16},
    {"ListwaSuwak", 16, 388},
    {"Right", 16, 16},
    {"Left", 16, 16},
};

struct ListedFile {
    std::string prefix;
    std::string path;  // relative to the resource list's folder
};

// alias -> where the resource list puts it.
std::map<std::string, ListedFile> ReadResourceList() {
    std::ifstream file(kResources + "/oplix.qrc");
    std::stringstream text;
    text << file.rdbuf();
    const std::string list = text.str();
    std::map<std::string, ListedFile> listed;
    const std::regex section(R"re(<qresource\s+prefix="([^"]*)">([\s\S]*?)</qresource>)re");
    const std::regex entry(R"re(<file\s+alias="([^"]+)">([^<]+)</file>)re");
    for (auto s = std::sregex_iterator(list.begin(), list.end(), section);
         s != std::sregex_iterator(); ++s) {
        const std::string body = (*s)[2];
        for (auto e = std::sregex_iterator(body.begin(), body.end(), entry);
             e != std::sregex_iterator(); ++e) {
            listed[(*e)[1]] = {(*s)[1], (*e)[2]};
        }
    }
    return listed;
}

Result<Bitmap> DecodeListed(const ListedFile& file) {
    return DecodeJpeg(ReadFileBytes(kResources + "/" + file.path));
}

TEST(SkinArtwork, EveryPictureIsListedAndDecodesAtItsSize) {
    const std::map<std::string, ListedFile> listed = ReadResourceList();
    ASSERT_FALSE(listed.empty()) << "no resource list in " << kResources;
    std::set<std::string> expected;
    for (const PictureSize& picture : kPictures) {
        SCOPED_TRACE(picture.name);
        expected.insert(picture.name);
        const auto found = listed.find(picture.name);
        ASSERT_TRUE(found != listed.end()) << "not in oplix.qrc";
        EXPECT_EQ(found->second.prefix, "/skin");
        const Result<Bitmap> decoded = DecodeListed(found->second);
        ASSERT_TRUE(decoded.ok()) << found->second.path << ": " << decoded.error().message;
        EXPECT_EQ(decoded->Width(), picture.width);
        EXPECT_EQ(decoded->Height(), picture.height);
    }
    for (const auto& [alias, file] : listed) {
        if (file.prefix == "/skin") {
            EXPECT_TRUE(expected.count(alias)) << alias << " is listed but no window uses it";
        }
    }
}

// The mean colour of the darkest pixels of a cell: the letter's ink, not its tile.
Rgb InkOfCell(const Bitmap& strip, int left, int top, int size) {
    std::vector<std::pair<int, Rgb>> pixels;
    for (int y = top; y < top + size; ++y) {
        for (int x = left; x < left + size; ++x) {
            const Rgb p = strip.PixelRgb(x, y);
            pixels.push_back({p.r * 3 + p.g * 6 + p.b, p});
        }
    }
    const std::size_t darkest = std::max<std::size_t>(8, pixels.size() / 40);
    std::partial_sort(pixels.begin(), pixels.begin() + static_cast<long>(darkest), pixels.end(),
                      [](const auto& a, const auto& b) { return a.first < b.first; });
    int r = 0, g = 0, b = 0;
    for (std::size_t i = 0; i < darkest; ++i) {
        r += pixels[i].second.r;
        g += pixels[i].second.g;
        b += pixels[i].second.b;
    }
    const int n = static_cast<int>(darkest);
    return {static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n),
            static_cast<std::uint8_t>(b / n)};
}

// State 0 plain dark, 1 green, 2 yellow, 3 red.
int StateOfInk(Rgb ink) {
    const int r = ink.r, g = ink.g, b = ink.b;
    if (std::max({r, g, b}) < 90) {
        return 0;
    }
    if (g > r + 50 && g > b + 50) {
        return 1;
    }
    if (r > 110 && g * 10 > r * 6 && b * 2 < g) {
        return 2;
    }
    if (r > g + 80 && r > b + 80) {
        return 3;
    }
    return -1;
}

TEST(SkinArtwork, LetterStripsHoldFiveLettersInFourStateColours) {
    const std::map<std::string, ListedFile> listed = ReadResourceList();
    for (const auto& [name, cell] : {std::pair{"LiteryMale", 25}, std::pair{"LiteryDuze", 35}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(listed.count(name));
        const Result<Bitmap> strip = DecodeListed(listed.at(name));
        ASSERT_TRUE(strip.ok()) << strip.error().message;
        for (int state = 0; state < 4; ++state) {
            for (int column = 0; column < 5; ++column) {
                const Rgb ink = InkOfCell(*strip, column * cell, state * cell, cell);
                EXPECT_EQ(StateOfInk(ink), state)
                    << "column " << column << " row " << state << ": ink " << int(ink.r) << ", "
                    << int(ink.g) << ", " << int(ink.b);
            }
        }
    }
}

// Number q must lie in the cell from y = 26 (q - 1), 26 high: ink inside each cell and none on
// the row where one cell meets the next.
TEST(SkinArtwork, NumberStripsKeepEachNumberInItsCell) {
    const std::map<std::string, ListedFile> listed = ReadResourceList();
    for (const char* name : {"Numery", "NumeryBiale"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(listed.count(name));
        const Result<Bitmap> strip = DecodeListed(listed.at(name));
        ASSERT_TRUE(strip.ok()) << strip.error().message;
        auto inkedRow = [&](int y) {
            for (int x = 0; x < strip->Width(); ++x) {
                const Rgb p = strip->PixelRgb(x, y);
                if (std::min({p.r, p.g, p.b}) < 180) {
                    return true;
                }
            }
            return false;
        };
        for (int q = 1; q <= 57; ++q) {
            const int top = 26 * (q - 1);
            EXPECT_FALSE(inkedRow(top)) << "ink on the boundary above number " << q;
            EXPECT_TRUE(inkedRow(top + 13)) << "no ink in the middle of the cell of number " << q;
        }
    }
}

struct WaveFile {
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint16_t bits = 0;
    std::vector<std::int16_t> samples;
};

std::uint32_t LittleEndian(const Bytes& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    }
    return value;
}

// Walks the chunks of a RIFF WAVE file; false when the structure does not hold together.
bool ParseWave(const Bytes& bytes, WaveFile& wave) {
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE" ||
        LittleEndian(bytes, 4, 4) != bytes.size() - 8) {
        return false;
    }
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string tag(bytes.begin() + static_cast<long>(at),
                              bytes.begin() + static_cast<long>(at) + 4);
        const std::size_t size = LittleEndian(bytes, at + 4, 4);
        const std::size_t body = at + 8;
        if (body + size > bytes.size()) {
            return false;
        }
        if (tag == "fmt " && size >= 16) {
            wave.format = static_cast<std::uint16_t>(LittleEndian(bytes, body, 2));
            wave.channels = static_cast<std::uint16_t>(LittleEndian(bytes, body + 2, 2));
            wave.rate = LittleEndian(bytes, body + 4, 4);
            wave.bits = static_cast<std::uint16_t>(LittleEndian(bytes, body + 14, 2));
            haveFormat = true;
        } else if (tag == "data" && haveFormat) {
            for (std::size_t i = 0; i + 1 < size; i += 2) {
                wave.samples.push_back(static_cast<std::int16_t>(LittleEndian(bytes, body + i, 2)));
            }
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

TEST(SkinArtwork, SoundsArePcmMonoChimesUnderTwoSeconds) {
    const std::map<std::string, ListedFile> listed = ReadResourceList();
    for (const char* name : {"Final", "Ruch"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(listed.count(name)) << "not in oplix.qrc";
        EXPECT_EQ(listed.at(name).prefix, "/sounds");
        WaveFile wave;
        ASSERT_TRUE(ParseWave(ReadFileBytes(kResources + "/" + listed.at(name).path), wave));
        EXPECT_EQ(wave.format, 1);
        EXPECT_EQ(wave.channels, 1);
        EXPECT_EQ(wave.rate, 22050u);
        EXPECT_EQ(wave.bits, 16);
        const double seconds = static_cast<double>(wave.samples.size()) / 22050;
        EXPECT_GT(seconds, 0.1);
        EXPECT_LE(seconds, 2.0);
        int loudest = 0;
        for (std::int16_t sample : wave.samples) {
            loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
        }
        EXPECT_GT(loudest, 3000) << "the sound is (nearly) silent";
        // Ends faded out, so the sound stops without a click.
        EXPECT_LT(std::abs(static_cast<int>(wave.samples.back())), 200);
    }
}

}  // namespace
}  // namespace oplix
