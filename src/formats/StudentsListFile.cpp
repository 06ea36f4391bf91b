#include "formats/StudentsListFile.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <exception>
#include <optional>
#include <vector>

#include "app/Clock.h"
#include "app/CurrentChoice.h"
#include "app/Journal.h"
#include "formats/ListFields.h"
#include "storage/Cp1250.h"
#include "storage/Scrambling.h"
#include "storage/TextLines.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr std::string_view kIndexMember35 = "Selu0.txp";
constexpr std::string_view kMember40 = "Selu0.xml";
constexpr std::string_view kClassMemberExtension = ".txp";
constexpr std::string_view kIndexHeader35[] = {"Lista uczniów", "Szkoła"};
constexpr std::string_view kClassHeader35 = "Klasa";
constexpr std::size_t kMaxSurnameLength = 100;
constexpr std::array<std::string_view, 5> kThresholdNames = {"cel", "bdb", "db", "dst", "dp"};

constexpr std::string_view kReadFailed = "Odczyt. Problemy z wczytaniem pliku listy uczniów.";
constexpr std::string_view kXmlFailed = "Przetwarzanie listy klas. Błąd wczytania do xml.";
constexpr std::string_view kNoEntryCount =
    "Lista jest uszkodzona. Brak informacji o ilości wpisów.";
constexpr std::string_view kHeaderFailed =
    "Przetwarzanie listy klas. Błąd dekodowania danych ogólnych.";
constexpr std::string_view kClassFailed = "Kodowanie klasy. Ver 40. Błąd dekodowania klasy ";
constexpr std::string_view kRead35Failed = "Odczyt szkoły ver. 35. Błąd odczytu.";

std::string TodayLocal(const Clock& clock) {
    const std::time_t now = clock.Now();
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return std::string(text, length);
}

void NoteTooManyPupils(const ClassRecord& record, Journal& journal) {
    journal.Write(kJournalWarnings, "Lista uczniów. Klasa " + record.className + " ma więcej niż " +
                                        std::to_string(kMaxPupils) +
                                        " uczniów; pominięto nadmiarowych.");
}

std::string ClassElement(std::size_t index) {
    return "kl" + std::to_string(index);
}

std::string PupilElement(int index) {
    return "ucz" + std::to_string(index);
}

bool ReadClass40(DescriptionFields& fields, const std::string& element, ClassRecord& record,
                 Journal& journal) {
    int declared = fields.Int(element, "ilu");
    record.className = fields.Text(element, "nm");
    record.resultFolder = fields.Text(element, "sc");
    record.classTime = fields.Text(element, "tim");
    declared = fields.Int(element, "ilu");
    record.ownScale = fields.Int(element, "skl", "tk");
    for (std::size_t i = 0; i < kThresholdNames.size(); ++i) {
        record.thresholds[i] = fields.Int(element, "skl", kThresholdNames[i]);
    }
    if (declared > kMaxPupils) {
        NoteTooManyPupils(record, journal);
    }
    record.pupilCount = std::clamp(declared, 0, kMaxPupils);
    for (int j = 0; j < record.pupilCount; ++j) {
        Pupil& pupil = record.pupils[static_cast<std::size_t>(j)];
        pupil.firstName = fields.Text(element, PupilElement(j), "imu");
        pupil.surname = fields.Text(element, PupilElement(j), "nzu");
    }
    return !fields.Failed();
}

bool ReadVersion40(const TVfsPAK& archive, StudentsList& list, Journal& journal) {
    Result<std::optional<Bytes>> member = GetMember(kMember40, archive);
    if (!member || !member->has_value()) {
        journal.Write(kJournalErrors, kXmlFailed);
        return false;
    }
    TpkXML document;
    // A document that parses only in part is read as far as it was parsed.
    (void)document.LoadFromBytes(**member);
    DescriptionFields fields(document, "szk");
    const int elementCount = fields.ElementCount();
    fields.SetEncoded(fields.Text("cd") == "tr");
    const std::optional<int> entryCount = fields.IntIfPresent("ilw");
    if (!entryCount) {
        journal.Write(kJournalErrors, kNoEntryCount);
        return false;
    }
    list.entryCount = *entryCount;
    const int classCount = std::max(0, fields.Int("ilk"));
    list.listType = fields.Text("typ");
    list.listDate = fields.Text("dtu");
    list.listRemarks = fields.Text("uwg");
    // Every class costs a record of 36 pupil slots whether or not its element is there, so a
    // list may declare no more classes than it has elements.
    if (fields.Failed() || classCount > elementCount || classCount > kMaxClasses) {
        journal.Write(kJournalErrors, kHeaderFailed);
        return false;
    }
    list.classCount = classCount;
    list.classes.assign(static_cast<std::size_t>(classCount), ClassRecord{});
    for (std::size_t n = 0; n < list.classes.size(); ++n) {
        ClassRecord& record = list.classes[n];
        if (!ReadClass40(fields, ClassElement(n), record, journal)) {
            journal.Write(kJournalErrors, std::string(kClassFailed) + record.className + ".");
            return false;
        }
    }
    return true;
}

std::string_view TrimBlanks(std::string_view text) {
    const auto isBlank = [](char ch) { return static_cast<unsigned char>(ch) <= ' '; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// "first surname" in Windows-1250: the first name ends at the first space. None when the line
// holds no name.
std::optional<Pupil> SplitPupilLine(std::string_view line) {
    const std::size_t space = line.find(' ');
    const std::string_view firstName = TrimBlanks(line.substr(0, space));
    std::string_view surname =
        space == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(space + 1));
    surname = surname.substr(0, kMaxSurnameLength);
    if (firstName.empty() && surname.empty()) {
        return std::nullopt;
    }
    return Pupil{Cp1250ToUtf8(firstName), Cp1250ToUtf8(surname)};
}

std::optional<std::vector<std::string>> MemberLines(std::string_view name, const TVfsPAK& archive) {
    Result<std::optional<Bytes>> member = GetMember(name, archive);
    if (!member || !member->has_value()) {
        return std::nullopt;
    }
    return SplitTextLines(**member);
}

bool ReadClass35(const TVfsPAK& archive, std::string_view memberName, ClassRecord& record,
                 CurrentChoice& choice, Journal& journal) {
    const std::optional<std::vector<std::string>> lines = MemberLines(memberName, archive);
    if (!lines || lines->size() < 4) {
        return false;
    }
    Result<std::string> className = UnscrambleLine((*lines)[0]);
    Result<std::string> resultFolder = UnscrambleLine((*lines)[2]);
    Result<std::string> classTime = UnscrambleLine((*lines)[3]);
    if (!className || !resultFolder || !classTime) {
        return false;
    }
    record.className = std::move(className).value();
    record.resultFolder = std::move(resultFolder).value();
    record.classTime = std::move(classTime).value();
    for (std::size_t i = 4; i < lines->size(); ++i) {
        // An empty line cannot be unscrambled; like a line without a name, it is skipped.
        Result<std::string> text = UnscrambleText((*lines)[i]);
        std::optional<Pupil> pupil = text ? SplitPupilLine(*text) : std::nullopt;
        if (!pupil) {
            continue;
        }
        if (record.pupilCount == kMaxPupils) {
            NoteTooManyPupils(record, journal);
            break;
        }
        record.pupils[static_cast<std::size_t>(record.pupilCount)] = std::move(*pupil);
        choice.pupilIndex = record.pupilCount++;
    }
    return true;
}

bool ReadVersion35(const TVfsPAK& archive, StudentsList& list, CurrentChoice& choice,
                   Journal& journal) {
    const std::optional<std::vector<std::string>> lines = MemberLines(kIndexMember35, archive);
    std::vector<std::string> memberNames;
    for (std::size_t i = 2; lines && i < lines->size(); ++i) {
        Result<std::string> name = UnscrambleLine((*lines)[i]);
        if (!name) {
            journal.Write(kJournalErrors, kRead35Failed);
            return false;
        }
        memberNames.push_back(std::move(name).value() + std::string(kClassMemberExtension));
    }
    if (!lines || memberNames.size() > static_cast<std::size_t>(kMaxClasses)) {
        journal.Write(kJournalErrors, kRead35Failed);
        return false;
    }
    for (const std::string& memberName : memberNames) {
        list.classes.emplace_back();
        choice.classIndex = static_cast<int>(list.classes.size()) - 1;
        if (!ReadClass35(archive, memberName, list.classes.back(), choice, journal)) {
            journal.Write(kJournalErrors, kRead35Failed);
            return false;
        }
    }
    list.classCount = static_cast<int>(list.classes.size());
    return true;
}

bool SurvivesPlainFields(const StudentsList& list, bool utf16) {
    std::vector<const std::string*> values = {&list.listType, &list.listDate, &list.listRemarks};
    for (const ClassRecord& record : list.classes) {
        values.insert(values.end(), {&record.className, &record.resultFolder, &record.classTime});
        for (int j = 0; j < record.pupilCount; ++j) {
            const Pupil& pupil = record.pupils[static_cast<std::size_t>(j)];
            values.insert(values.end(), {&pupil.firstName, &pupil.surname});
        }
    }
    return std::all_of(values.begin(), values.end(), [utf16](const std::string* value) {
        return SurvivesPlainField(*value, utf16);
    });
}

Status CheckCounts(const StudentsList& list) {
    if (list.classCount < 0 || static_cast<std::size_t>(list.classCount) != list.classes.size()) {
        return Error{0, "the class count differs from the number of classes"};
    }
    for (const ClassRecord& record : list.classes) {
        if (record.pupilCount < 0 || record.pupilCount > kMaxPupils) {
            return Error{0, "class " + record.className + " has a pupil count outside 0 .. 36"};
        }
    }
    return Success();
}

void WriteClass40(DescriptionFields& fields, const std::string& element,
                  const ClassRecord& record) {
    fields.WriteText(record.className, element, "nm");
    fields.WriteText(record.resultFolder, element, "sc");
    fields.WriteText(record.classTime, element, "tim");
    fields.WriteInt(record.pupilCount, element, "ilu");
    fields.WriteInt(record.ownScale, element, "skl", "tk");
    for (std::size_t i = 0; i < kThresholdNames.size(); ++i) {
        fields.WriteInt(record.thresholds[i], element, "skl", kThresholdNames[i]);
    }
    for (int j = 0; j < record.pupilCount; ++j) {
        const Pupil& pupil = record.pupils[static_cast<std::size_t>(j)];
        fields.WriteText(pupil.firstName, element, PupilElement(j), "imu");
        fields.WriteText(pupil.surname, element, PupilElement(j), "nzu");
    }
}

bool HasSurroundingBlanks(std::string_view text) {
    return TrimBlanks(text).size() != text.size();
}

// The version-35 line of a pupil, when it splits back into the same names.
Result<std::string> PupilLine(const Pupil& pupil) {
    const bool splitsBack = pupil.firstName.find(' ') == std::string::npos &&
                            !HasSurroundingBlanks(pupil.firstName) &&
                            !HasSurroundingBlanks(pupil.surname) &&
                            Utf8ToCp1250(pupil.surname).size() <= kMaxSurnameLength &&
                            !(pupil.firstName.empty() && pupil.surname.empty());
    if (!splitsBack) {
        return Error{0, "the pupil " + pupil.firstName + " " + pupil.surname +
                            " cannot be stored as a version-35 line"};
    }
    return pupil.surname.empty() ? pupil.firstName : pupil.firstName + " " + pupil.surname;
}

Result<Bytes> ClassMember35(const ClassRecord& record) {
    std::vector<std::string> values = {record.className, std::string(kClassHeader35),
                                       record.resultFolder, record.classTime};
    for (int j = 0; j < record.pupilCount; ++j) {
        Result<std::string> line = PupilLine(record.pupils[static_cast<std::size_t>(j)]);
        if (!line) {
            return line.error();
        }
        values.push_back(std::move(line).value());
    }
    return ScrambledLines(values);
}

}  // namespace

bool ReadStudentsList(const std::string& path, StudentsList& list, CurrentChoice& choice,
                      Journal& journal, const Clock& clock) {
    TVfsPAK archive;
    choice.classIndex = -1;
    choice.pupilIndex = -1;
    list = StudentsList{};
    list.listDate = TodayLocal(clock);
    if (!OpenArchiveForReading(path, archive)) {
        journal.Write(kJournalErrors, kReadFailed);
        return false;
    }
    bool read = false;
    // Running out of memory on a huge member must not take the program down.
    try {
        read = MemberExists(kIndexMember35, archive) ? ReadVersion35(archive, list, choice, journal)
                                                     : ReadVersion40(archive, list, journal);
    } catch (const std::exception&) {
        list = StudentsList{};
        journal.Write(kJournalErrors, kReadFailed);
    }
    archive.Close();
    return read;
}

Status WriteStudentsList40(const std::string& path, const StudentsList& list, bool encoded,
                           bool utf16) {
    if (Status counts = CheckCounts(list); !counts) {
        return counts;
    }
    if (!encoded && !SurvivesPlainFields(list, utf16)) {
        return Error{0, "a value of the list cannot be stored as a plain field"};
    }
    TpkXML document;
    document.Unicode = utf16;
    DescriptionFields fields(document, "szk");
    fields.WriteText(encoded ? "tr" : "fa", "cd");
    fields.SetEncoded(encoded);
    fields.WriteInt(list.entryCount, "ilw");
    fields.WriteInt(list.classCount, "ilk");
    fields.WriteText(list.listType, "typ");
    fields.WriteText(list.listDate, "dtu");
    fields.WriteText(list.listRemarks, "uwg");
    for (std::size_t n = 0; n < list.classes.size(); ++n) {
        WriteClass40(fields, ClassElement(n), list.classes[n]);
    }
    if (fields.Failed()) {
        return Error{0, "a value of the list is not UTF-8"};
    }
    return WriteArchive(path, {{std::string(kMember40), document.SaveToBytes()}});
}

Status WriteStudentsList35(const std::string& path, const StudentsList& list) {
    if (Status counts = CheckCounts(list); !counts) {
        return counts;
    }
    std::vector<std::string> indexValues(std::begin(kIndexHeader35), std::end(kIndexHeader35));
    std::vector<std::pair<std::string, Bytes>> members;
    for (std::size_t n = 0; n < list.classes.size(); ++n) {
        Result<Bytes> member = ClassMember35(list.classes[n]);
        if (!member) {
            return member.error();
        }
        indexValues.push_back(ClassElement(n));
        members.emplace_back(ClassElement(n) + std::string(kClassMemberExtension),
                             std::move(member).value());
    }
    Result<Bytes> index = ScrambledLines(indexValues);
    if (!index) {
        return index.error();
    }
    members.insert(members.begin(), {std::string(kIndexMember35), std::move(index).value()});
    return WriteArchive(path, members);
}

}  // namespace oplix
