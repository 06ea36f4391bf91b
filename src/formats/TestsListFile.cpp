#include "formats/TestsListFile.h"

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "formats/ListFields.h"
#include "storage/TextLines.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr std::string_view kMember35 = "Selt0.txp";
constexpr std::string_view kMember40 = "Selt0.xml";
constexpr std::string_view kHeaderLine35 = "Lista testów";

constexpr std::string_view kArchiveFailed =
    "Odczyt listy testów. Błąd wczytania spakowanej zawartości.";
constexpr std::string_view kRead40Failed = "Odczyt listy testów. Ver 40. Błąd odczytu.";
constexpr std::string_view kRead35Failed = "Odczyt listy testów. Ver 35. Błąd odczytu.";
constexpr std::string_view kDamagedListBox =
    "Błąd odczytu listy.\rPrawdopodobnie lista jest uszkodzona.";

enum class ReadOutcome {
    Read,
    MemberFailed,       // the description member is absent or cannot be fetched
    DescriptionFailed,  // the description itself is damaged
};

ReadOutcome ReadVersion40(const TVfsPAK& archive, TestsList& list) {
    Result<std::optional<Bytes>> member = GetMember(kMember40, archive);
    if (!member || !member->has_value()) {
        return ReadOutcome::MemberFailed;
    }
    TpkXML document;
    // A document that parses only in part is read as far as it was parsed.
    (void)document.LoadFromBytes(**member);
    DescriptionFields fields(document, "lst");
    const int elementCount = fields.ElementCount();
    fields.SetEncoded(fields.Text("cd") == "tr");
    const int entryCount = fields.Int("ilw");
    list.listName = fields.Text("name");
    list.listDate = fields.Text("dtu");
    list.listRemarks = fields.Text("uwg");
    // An absent dxN reads as an empty line, so without this bound ilw alone would decide how
    // long the reading takes and how much it allocates. A list the editor wrote always has an
    // element per entry besides cd and ilw.
    if (fields.Failed() || entryCount > elementCount) {
        return ReadOutcome::DescriptionFailed;
    }
    list.entries.clear();
    for (int i = 0; i < entryCount; ++i) {
        list.entries.push_back(fields.Text("dx" + std::to_string(i)));
    }
    return fields.Failed() ? ReadOutcome::DescriptionFailed : ReadOutcome::Read;
}

ReadOutcome ReadVersion35(const TVfsPAK& archive, TestsList& list) {
    list.entries.clear();
    Result<std::optional<Bytes>> member = GetMember(kMember35, archive);
    if (!member || !member->has_value()) {
        return ReadOutcome::MemberFailed;
    }
    const std::vector<std::string> lines = SplitTextLines(**member);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        Result<std::string> entry = UnscrambleLine(lines[i]);
        if (!entry) {
            return ReadOutcome::DescriptionFailed;
        }
        list.entries.push_back(std::move(entry).value());
    }
    return ReadOutcome::Read;
}

bool AllSurvivePlainFields(const TestsList& list, bool utf16) {
    for (const std::string* value : {&list.listName, &list.listDate, &list.listRemarks}) {
        if (!SurvivesPlainField(*value, utf16)) {
            return false;
        }
    }
    for (const std::string& entry : list.entries) {
        if (!SurvivesPlainField(entry, utf16)) {
            return false;
        }
    }
    return true;
}

// The elements below lst once written: cd and ilw always, the others when not empty.
std::size_t StoredElementCount(const TestsList& list) {
    std::size_t count = 2;
    for (const std::string* value : {&list.listName, &list.listDate, &list.listRemarks}) {
        count += value->empty() ? 0 : 1;
    }
    for (const std::string& entry : list.entries) {
        count += entry.empty() ? 0 : 1;
    }
    return count;
}

}  // namespace

bool ReadTestsList(const std::string& path, TestsList& list, Journal& journal,
                   MessageBoxPresenter& messages) {
    TVfsPAK archive;
    list = TestsList{};
    if (!OpenArchiveForReading(path, archive)) {
        journal.Write(kJournalErrors, kArchiveFailed);
        return false;
    }
    const bool version35 = MemberExists(kMember35, archive);
    ReadOutcome outcome = ReadOutcome::DescriptionFailed;
    // Running out of memory on a huge member must not take the program down.
    try {
        outcome = version35 ? ReadVersion35(archive, list) : ReadVersion40(archive, list);
    } catch (const std::exception&) {
        list = TestsList{};
    }
    archive.Close();
    switch (outcome) {
        case ReadOutcome::Read:
            return true;
        case ReadOutcome::MemberFailed:
            journal.Write(kJournalErrors, kArchiveFailed);
            return false;
        case ReadOutcome::DescriptionFailed:
            journal.Write(kJournalErrors, version35 ? kRead35Failed : kRead40Failed);
            messages.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kDamagedListBox);
            return false;
    }
    return false;
}

Status WriteTestsList40(const std::string& path, const TestsList& list, bool encoded, bool utf16) {
    if (!encoded && !AllSurvivePlainFields(list, utf16)) {
        return Error{0, "a value of the list cannot be stored as a plain field"};
    }
    if (list.entries.size() > StoredElementCount(list)) {
        return Error{0, "too many empty entries: an empty element is not stored"};
    }
    TpkXML document;
    document.Unicode = utf16;
    DescriptionFields fields(document, "lst");
    fields.WriteText(encoded ? "tr" : "fa", "cd");
    fields.SetEncoded(encoded);
    fields.WriteInt(static_cast<int>(list.entries.size()), "ilw");
    fields.WriteText(list.listName, "name");
    fields.WriteText(list.listDate, "dtu");
    fields.WriteText(list.listRemarks, "uwg");
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        fields.WriteText(list.entries[i], "dx" + std::to_string(i));
    }
    if (fields.Failed()) {
        return Error{0, "a value of the list is not UTF-8"};
    }
    return WriteArchive(path, {{std::string(kMember40), document.SaveToBytes()}});
}

Status WriteTestsList35(const std::string& path, const TestsList& list) {
    std::vector<std::string> values{std::string(kHeaderLine35)};
    values.insert(values.end(), list.entries.begin(), list.entries.end());
    Result<Bytes> member = ScrambledLines(values);
    if (!member) {
        return member.error();
    }
    return WriteArchive(path, {{std::string(kMember35), std::move(member).value()}});
}

}  // namespace oplix
