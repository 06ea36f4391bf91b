#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "storage/Cp1250.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "test_files.h"

namespace oplix {
namespace {

using testing_files::ReadFileBytes;
using testing_files::ScratchFolder;
using testing_files::WriteFileBytes;

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

void PutInt(Bytes& bytes, std::size_t at, std::int32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
    }
}

std::int32_t IntAt(const Bytes& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | bytes[at + i];
    }
    return static_cast<std::int32_t>(value);
}

struct RawEntry {
    std::string name;  // the bytes of the name field, up to 120
    std::int32_t offset;
    std::int32_t size;
};

// An archive assembled byte by byte: header, `data` from offset 12, then the entries.
Bytes RawArchive(const Bytes& data, const std::vector<RawEntry>& entries,
                 std::int32_t directoryLength = -1) {
    const std::size_t directoryOffset = 12 + data.size();
    Bytes bytes(directoryOffset + 128 * entries.size(), 0);
    std::copy_n("PACK", 4, bytes.begin());
    std::copy(data.begin(), data.end(), bytes.begin() + 12);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = directoryOffset + 128 * i;
        std::copy(entries[i].name.begin(), entries[i].name.end(), bytes.begin() + at);
        PutInt(bytes, at + 120, entries[i].offset);
        PutInt(bytes, at + 124, entries[i].size);
    }
    PutInt(bytes, 4, static_cast<std::int32_t>(directoryOffset));
    PutInt(
        bytes, 8,
        directoryLength >= 0 ? directoryLength : static_cast<std::int32_t>(entries.size() * 128));
    return bytes;
}

class PakArchiveTest : public ::testing::Test {
protected:
    std::string Path() const { return folder_.File("test.skt"); }

    void Create(TVfsPAK& archive) { ASSERT_TRUE(CreateArchiveForWriting(Path(), archive)); }

    Bytes Member(const TVfsPAK& archive, std::string_view name) {
        Result<std::optional<Bytes>> member = GetMember(name, archive);
        EXPECT_TRUE(member.ok()) << (member.ok() ? "" : member.error().message);
        return member.ok() && member->has_value() ? **member : Bytes{};
    }

    ScratchFolder folder_;
};

TEST_F(PakArchiveTest, NewArchiveIsTheTwelveByteHeader) {
    {
        TVfsPAK archive;
        Create(archive);
        EXPECT_EQ(archive.Count(), 0);
    }
    EXPECT_EQ(ReadFileBytes(Path()), RawArchive({}, {}));
}

TEST_F(PakArchiveTest, AddingAndDeletingLaysOutTheFileExactly) {
    TVfsPAK archive;
    Create(archive);
    ASSERT_TRUE(PutMember("a.txt", BytesOf("abc"), archive).ok());
    ASSERT_TRUE(PutMember("b.txt", BytesOf("defgh"), archive).ok());
    EXPECT_EQ(ReadFileBytes(Path()),
              RawArchive(BytesOf("abcdefgh"), {{"a.txt", 12, 3}, {"b.txt", 15, 5}}));
    EXPECT_EQ(IntAt(ReadFileBytes(Path()), 4), 20);
    EXPECT_EQ(IntAt(ReadFileBytes(Path()), 8), 256);

    ASSERT_TRUE(archive.DeleteMember(0).ok());
    EXPECT_EQ(ReadFileBytes(Path()), RawArchive(BytesOf("defgh"), {{"b.txt", 12, 5}}));
    EXPECT_EQ(ReadFileBytes(Path()).size(), 17u + 128u);
    EXPECT_EQ(archive.Names(), std::vector<std::string>{"b.txt"});
    EXPECT_EQ(Member(archive, "b.txt"), BytesOf("defgh"));
}

TEST_F(PakArchiveTest, DeletingInTheMiddleMovesLaterDataAndEntries) {
    TVfsPAK archive;
    Create(archive);
    for (const char* name : {"1", "22", "333", "4444"}) {
        ASSERT_TRUE(PutMember(name, BytesOf(name), archive).ok());
    }
    ASSERT_TRUE(RemoveMember("22", archive).ok());
    EXPECT_EQ(ReadFileBytes(Path()),
              RawArchive(BytesOf("13334444"), {{"1", 12, 1}, {"333", 13, 3}, {"4444", 16, 4}}));
}

TEST_F(PakArchiveTest, PutReplacesAMemberOfTheSameNameAndMovesItLast) {
    TVfsPAK archive;
    Create(archive);
    ASSERT_TRUE(PutMember("Serr0.xml", BytesOf("old"), archive).ok());
    ASSERT_TRUE(PutMember("obraz.JPG", BytesOf("jpg"), archive).ok());
    ASSERT_TRUE(PutMember("SERR0.XML", BytesOf("new!"), archive).ok());
    EXPECT_EQ(archive.Names(), (std::vector<std::string>{"obraz.JPG", "SERR0.XML"}));
    EXPECT_EQ(Member(archive, "serr0.xml"), BytesOf("new!"));
}

TEST_F(PakArchiveTest, NamesMatchIgnoringCaseAndTheFirstOfTwinsIsFound) {
    const std::string polish = Utf8ToCp1250("Ćwiczenie.TXT");
    WriteFileBytes(Path(),
                   RawArchive(BytesOf("12345"),
                              {{"Serr0.xml", 12, 2}, {"serr0.XML", 14, 1}, {polish, 15, 2}}));
    TVfsPAK archive;
    ASSERT_TRUE(OpenArchiveForReading(Path(), archive));
    EXPECT_EQ(Member(archive, "SERR0.XML"), BytesOf("12"));
    EXPECT_EQ(archive.IndexOf("ćwiczenie.txt"), 2);
    EXPECT_EQ(archive.Names()[2], "Ćwiczenie.TXT");
    EXPECT_FALSE(MemberExists("Serr0.txp", archive));
    Result<std::optional<Bytes>> absent = GetMember("Serr0.txp", archive);
    ASSERT_TRUE(absent.ok());
    EXPECT_FALSE(absent->has_value());
}

TEST_F(PakArchiveTest, DirectoryEdgeCases) {
    const std::string longName(120, 'n');
    struct Case {
        const char* what;
        Bytes file;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"a partial second entry is ignored",
         RawArchive(BytesOf("ab"), {{"a", 12, 2}, {"b", 13, 1}}, 200),
         {"a"}},
        {"a name without a zero takes all 120 bytes",
         RawArchive(BytesOf("ab"), {{longName, 12, 2}}),
         {longName}},
        {"bytes after the zero carry no meaning",
         RawArchive(BytesOf("ab"), {{std::string("x.txt\0junk", 10), 12, 2}}),
         {"x.txt"}},
        {"a negative directory length means no entries", RawArchive({}, {}, -128), {}},
    };
    for (const Case& c : cases) {
        WriteFileBytes(Path(), c.file);
        TVfsPAK archive;
        ASSERT_TRUE(OpenArchiveForReading(Path(), archive)) << c.what;
        EXPECT_EQ(archive.Names(), c.names) << c.what;
    }
}

TEST_F(PakArchiveTest, AMemberOfSizeZeroReadsAsAnEmptyBuffer) {
    TVfsPAK archive;
    Create(archive);
    ASSERT_TRUE(PutMember("empty.TXT", {}, archive).ok());
    ASSERT_TRUE(MemberExists("empty.TXT", archive));
    EXPECT_TRUE(Member(archive, "empty.TXT").empty());
}

TEST_F(PakArchiveTest, AnEmptyFileOpenedForReadingBecomesAnEmptyArchive) {
    WriteFileBytes(Path(), {});
    TVfsPAK archive;
    Result<bool> opened = archive.Open(Path(), PakOpenMode::Read);
    ASSERT_TRUE(opened.ok());
    EXPECT_TRUE(*opened);
    EXPECT_EQ(archive.Count(), 0);
    EXPECT_EQ(ReadFileBytes(Path()), RawArchive({}, {}));
}

TEST_F(PakArchiveTest, AFileWithoutTheMagicHasNoMembersEvenAfterAnArchive) {
    TVfsPAK archive;
    Create(archive);
    ASSERT_TRUE(PutMember("Serr0.xml", BytesOf("<tst/>"), archive).ok());

    const std::string other = folder_.File("other.skt");
    Bytes notPack = RawArchive(BytesOf("<tst/>"), {{"Serr0.xml", 12, 6}});
    notPack[0] = 'p';  // the magic is compared byte for byte
    WriteFileBytes(other, notPack);
    Result<bool> opened = archive.Open(other, PakOpenMode::Read);
    ASSERT_TRUE(opened.ok());
    EXPECT_FALSE(*opened);
    EXPECT_FALSE(archive.IsOpen());
    EXPECT_TRUE(OpenArchiveForReading(other, archive));  // the layer's callers go on
    EXPECT_FALSE(MemberExists("Serr0.xml", archive));
    EXPECT_EQ(archive.Count(), 0);
}

TEST_F(PakArchiveTest, DamagedFilesFailAsReadErrorsWithoutGiantAllocations) {
    const std::int32_t huge = std::numeric_limits<std::int32_t>::max();
    struct Case {
        const char* what;
        Bytes file;
        bool opens;  // the directory itself is sound
    };
    const Case cases[] = {
        {"data past the end", RawArchive(BytesOf("ab"), {{"m", 12, 200}}), true},
        {"data before the start", RawArchive(BytesOf("ab"), {{"m", -1, 2}}), true},
        {"a negative size", RawArchive(BytesOf("ab"), {{"m", 12, -2}}), true},
        {"offset and size overflow", RawArchive(BytesOf("ab"), {{"m", huge, huge}}), true},
        {"a directory of 2^31-1 bytes", RawArchive(BytesOf("ab"), {{"m", 12, 2}}, huge), false},
        {"a directory past the end", RawArchive(BytesOf("ab"), {{"m", 12, 2}}, 256), false},
        {"a header cut short", BytesOf("PACK\x0c\0"), false},
    };
    for (const Case& c : cases) {
        WriteFileBytes(Path(), c.file);
        TVfsPAK archive;
        Result<bool> opened = archive.Open(Path(), PakOpenMode::Read);
        ASSERT_EQ(opened.ok(), c.opens) << c.what;
        if (!c.opens) {
            EXPECT_EQ(opened.error().code, EIO) << c.what;
            EXPECT_FALSE(archive.IsOpen()) << c.what;
            EXPECT_FALSE(OpenArchiveForReading(Path(), archive)) << c.what;
            continue;
        }
        EXPECT_TRUE(MemberExists("m", archive)) << c.what;
        Result<std::optional<Bytes>> member = GetMember("m", archive);
        ASSERT_FALSE(member.ok()) << c.what;
        EXPECT_EQ(member.error().code, EIO) << c.what;
        EXPECT_FALSE(archive.DeleteMember(0).ok()) << c.what;
        EXPECT_EQ(ReadFileBytes(Path()), c.file) << c.what;
    }
}

TEST_F(PakArchiveTest, DeletingBeforeADamagedEntryMovesItsOffsetWithoutOverflow) {
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min();
    WriteFileBytes(Path(), RawArchive(BytesOf("ab"), {{"a", 12, 2}, {"bad", lowest, 5}}));
    TVfsPAK archive;
    ASSERT_TRUE(OpenArchiveForReading(Path(), archive));
    ASSERT_TRUE(RemoveMember("a", archive).ok());
    EXPECT_EQ(ReadFileBytes(Path()),
              RawArchive({}, {{"bad", std::numeric_limits<std::int32_t>::max() - 1, 5}}));
}

TEST_F(PakArchiveTest, AddingToADirectoryWithAPartialEntryKeepsTheNewMemberReachable) {
    WriteFileBytes(Path(), RawArchive(BytesOf("ab"), {{"a", 12, 2}, {"b", 13, 1}}, 200));
    TVfsPAK archive;
    ASSERT_TRUE(OpenArchiveForReading(Path(), archive));
    ASSERT_TRUE(PutMember("c", BytesOf("xyz"), archive).ok());
    EXPECT_EQ(ReadFileBytes(Path()), RawArchive(BytesOf("abxyz"), {{"a", 12, 2}, {"c", 14, 3}}));
}

TEST_F(PakArchiveTest, NamesLongerThan119BytesAreRefusedAndNothingChanges) {
    TVfsPAK archive;
    Create(archive);
    EXPECT_TRUE(PutMember(std::string(119, 'a'), BytesOf("1"), archive).ok());
    const Bytes before = ReadFileBytes(Path());
    Status refused = PutMember(std::string(120, 'b'), BytesOf("2"), archive);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().code, ENAMETOOLONG);
    EXPECT_EQ(ReadFileBytes(Path()), before);
    EXPECT_EQ(archive.Count(), 1);
}

TEST_F(PakArchiveTest, AddMemberNamesThePrefixAndTheFilePartOfTheSource) {
    TVfsPAK archive;
    Create(archive);
    ASSERT_TRUE(archive.AddMember("C:\\Testy\\Obrazy\\mapa.JPG", "pyt1_", BytesOf("j")).ok());
    ASSERT_TRUE(archive.AddMember("D:plik.TXT", "", BytesOf("t")).ok());
    ASSERT_TRUE(archive.AddMember("", "x\\y", BytesOf("z")).ok());
    EXPECT_EQ(archive.Names(), (std::vector<std::string>{"pyt1_mapa.JPG", "plik.TXT", "x\\y"}));
}

TEST_F(PakArchiveTest, AReaderKeepsWritersOutAndTheFileIntact) {
    {
        TVfsPAK archive;
        Create(archive);
        ASSERT_TRUE(PutMember("Serr0.xml", BytesOf("<tst/>"), archive).ok());
    }
    const Bytes before = ReadFileBytes(Path());
    TVfsPAK reader;
    ASSERT_TRUE(OpenArchiveForReading(Path(), reader));
    TVfsPAK secondReader;
    EXPECT_TRUE(OpenArchiveForReading(Path(), secondReader));
    TVfsPAK writer;
    Result<bool> created = writer.Open(Path(), PakOpenMode::Create);
    ASSERT_FALSE(created.ok());
    EXPECT_EQ(created.error().code, EWOULDBLOCK);
    EXPECT_EQ(ReadFileBytes(Path()), before);

    reader.Close();
    secondReader.Close();
    EXPECT_TRUE(CreateArchiveForWriting(Path(), writer));
    EXPECT_EQ(ReadFileBytes(Path()), RawArchive({}, {}));
}

// Checks that an archive the pupil may only read opens, reads and refuses edits; exits 0 when so.
void CheckReadOnlyArchives(const std::string& archivePath, const std::string& emptyPath) {
    if (geteuid() == 0 && setuid(65534) != 0) {  // root may write anything: become nobody
        std::exit(2);
    }
    TVfsPAK archive;
    Result<bool> opened = archive.Open(archivePath, PakOpenMode::Read);
    Result<std::optional<Bytes>> member = GetMember("Serr0.xml", archive);
    Status added = archive.AddMember("", "m", BytesOf("x"));
    const bool archiveOk = opened.ok() && *opened && member.ok() && member->has_value() &&
                           !added.ok() && added.error().code == EBADF;
    TVfsPAK empty;
    Result<bool> openedEmpty = empty.Open(emptyPath, PakOpenMode::Read);
    const bool emptyOk =
        openedEmpty.ok() && *openedEmpty && empty.Count() == 0 && ReadFileBytes(emptyPath).empty();
    std::exit(archiveOk && emptyOk ? 0 : 1);
}

TEST_F(PakArchiveTest, AFileThatCannotBeWrittenIsStillReadable) {
    WriteFileBytes(Path(), RawArchive(BytesOf("<tst/>"), {{"Serr0.xml", 12, 6}}));
    const std::string empty = folder_.File("empty.skt");
    WriteFileBytes(empty, {});
    ASSERT_EQ(chmod(folder_.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(Path().c_str(), 0444), 0);
    ASSERT_EQ(chmod(empty.c_str(), 0444), 0);
    EXPECT_EXIT(CheckReadOnlyArchives(Path(), empty), ::testing::ExitedWithCode(0), "");
}

TEST_F(PakArchiveTest, AMissingFileFailsWithItsErrno) {
    TVfsPAK archive;
    Result<bool> opened = archive.Open(folder_.File("none.skt"), PakOpenMode::Read);
    ASSERT_FALSE(opened.ok());
    EXPECT_EQ(opened.error().code, ENOENT);
    EXPECT_FALSE(OpenArchiveForReading(folder_.File("none.skt"), archive));
}

// Random puts and removes against a plain map: every member reads back, and the file is the
// header, the data and the directory with nothing left over.
TEST_F(PakArchiveTest, RandomEditsKeepTheArchiveEqualToAModel) {
    TVfsPAK archive;
    Create(archive);
    std::map<std::string, Bytes> model;
    std::mt19937 random(1234);
    for (int step = 0; step < 300; ++step) {
        const std::string name = "m" + std::to_string(random() % 12) + ".TXT";
        if (random() % 3 == 0) {
            ASSERT_TRUE(RemoveMember(name, archive).ok());
            model.erase(name);
        } else {
            Bytes data(random() % 300);
            for (auto& byte : data) {
                byte = static_cast<std::uint8_t>(random());
            }
            ASSERT_TRUE(PutMember(name, data, archive).ok());
            model[name] = data;
        }
    }
    archive.Close();  // a new archive is held exclusively
    TVfsPAK reopened;
    ASSERT_TRUE(OpenArchiveForReading(Path(), reopened));
    ASSERT_EQ(reopened.Count(), static_cast<int>(model.size()));
    std::size_t dataSize = 0;
    for (const auto& [name, data] : model) {
        EXPECT_EQ(Member(reopened, name), data) << name;
        dataSize += data.size();
    }
    EXPECT_EQ(ReadFileBytes(Path()).size(), 12 + dataSize + 128 * model.size());
}

TEST(TextMemberTest, LinesEndAtEveryKindOfBreakAndAZeroEndsTheText) {
    ScratchFolder folder;
    const std::string path = folder.File("t.skt");
    TVfsPAK archive;
    ASSERT_TRUE(CreateArchiveForWriting(path, archive));
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\n\r\n\n", {"a", "", ""}},
        {"\r\r", {"", ""}},
        {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},
        {Utf8ToCp1250("Źdźbło\r\nżółw"), {"Źdźbło", "żółw"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(PutMember("tekst.TXT", BytesOf(c.bytes), archive).ok());
        std::vector<std::string> lines{"left over"};
        ASSERT_TRUE(LoadTextMember("TEKST.txt", lines, archive));
        EXPECT_EQ(lines, c.lines) << c.bytes;
    }
    std::vector<std::string> untouched{"kept"};
    EXPECT_FALSE(LoadTextMember("brak.TXT", untouched, archive));
    EXPECT_EQ(untouched, std::vector<std::string>{"kept"});
}

}  // namespace
}  // namespace oplix
