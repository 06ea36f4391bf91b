#include "formats/ResultFile.h"

#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/Journal.h"
#include "app/MessageBox.h"
#include "storage/EncodedFields.h"
#include "storage/FileHandle.h"
#include "storage/FilePaths.h"
#include "storage/UPak.h"
#include "storage/Utf.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr std::string_view kBuildFailed = "Zapis wyniku testu. Błąd przetwarzania ogólnych danych.";
constexpr std::string_view kWriteFailed = "Zapis wyniku testu. Nie udało się zapisać pliku ";
constexpr std::string_view kFallingBack =
    "Problemy z zapisem pliku wyniku we wskazanym folderze.\rWynik zostanie zapisany w folderze "
    "osobistym.";
constexpr std::string_view kNothingSaved =
    "Nie udało się zapisać wyniku testu.\rZgłoś to nauczycielowi.";
constexpr std::string_view kKeptBefore = "Zapis wyniku testu. Plik ";
constexpr std::string_view kKeptAfter =
    " już istnieje i został zachowany. Nowego wyniku nie zapisano.";
constexpr std::string_view kWrittenTo = "Zapis wyniku testu. Wynik zapisano w pliku ";
constexpr int kMostNumberedNames = 1000;

// The user's locale (LANG, LC_ALL, LC_TIME ...), or the C locale when it cannot be made.
class UserLocale {
public:
    UserLocale() : locale_(newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0))) {
        if (locale_ == static_cast<locale_t>(0)) {
            locale_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        }
    }
    ~UserLocale() {
        if (IsValid()) {
            freelocale(locale_);
        }
    }
    UserLocale(const UserLocale&) = delete;
    UserLocale& operator=(const UserLocale&) = delete;

    bool IsValid() const { return locale_ != static_cast<locale_t>(0); }
    locale_t Handle() const { return locale_; }

    // The locale's multibyte text as UTF-8: kept when the locale is UTF-8 and the text is well
    // formed, otherwise with '?' for every byte outside ASCII.
    std::string ToUtf8(std::string text) const {
        const char* codeset = IsValid() ? nl_langinfo_l(CODESET, locale_) : nullptr;
        const bool utf8 = codeset != nullptr &&
                          (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
        if (utf8 && Utf16ToUtf8(Utf8ToUtf16(text)) == text) {
            return text;
        }
        for (char& ch : text) {
            if (static_cast<unsigned char>(ch) >= 0x80) {
                ch = '?';
            }
        }
        return text;
    }

private:
    locale_t locale_;
};

// The system's words for the error, in the user's language; the error's own text without a code.
std::string ErrorReason(const Error& error) {
    if (error.code == 0) {
        return error.message;
    }
    const UserLocale locale;
    const char* reason =
        locale.IsValid() ? strerror_l(error.code, locale.Handle()) : std::strerror(error.code);
    return locale.ToUtf8(reason != nullptr ? reason : error.message);
}

std::string FlagsOf(const Question& question, bool Answer::*flag) {
    std::string flags;
    for (const Answer& answer : question.answers) {
        flags.push_back(answer.*flag ? '1' : '0');
    }
    return flags;
}

// Writes the fields in the order they appear in the file: each path creates its elements.
class DocumentBuilder {
public:
    void Text(std::string_view name, std::string_view value) {
        WriteTextField(kFieldBase64, "odp", name, "", "", doc_, value, code_);
    }
    void Int(std::string_view name, int value) {
        WriteIntField(kFieldBase64, "odp", name, "", "", doc_, value, code_);
    }
    void Int(std::string_view parent, std::string_view name, int value) {
        WriteIntField(kFieldBase64, "odp", parent, name, "", doc_, value, code_);
    }
    void Text(std::string_view parent, std::string_view name, std::string_view value) {
        WriteTextField(kFieldBase64, "odp", parent, name, "", doc_, value, code_);
    }
    void Plain(std::string_view name, std::string_view value) {
        WriteTextField(kFieldPlain, "odp", name, "", "", doc_, value, code_);
    }

    bool Failed() const { return code_ != kFieldOk; }
    Bytes Save() const { return doc_.SaveToBytes(); }

private:
    TpkXML doc_;  // 8-bit, no declaration: the defaults of a new document
    int code_ = kFieldOk;
};

// The folder a file is created in: what precedes the last '/'.
std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) {
        return ".";
    }
    return cut == 0 ? "/" : path.substr(0, cut);
}

// A new file under a name of its own in the folder, removed again unless Release() is called.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Fails with the errno of the creation; a name taken by someone else is skipped.
    Status Create(const std::string& folder) {
        static std::atomic<unsigned> counter{0};
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::string name = ".oplix-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter.fetch_add(1)) + ".tmp";
            const std::string path = JoinPath(folder, name);
            const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                path_ = path;
                handle_ = FileHandle(fd);
                return Success();
            }
            if (errno != EEXIST) {
                return ErrnoError("cannot create a file in " + folder);
            }
        }
        return Error{EEXIST, "no free temporary name in " + folder};
    }

    // Whatever was written through other handles reaches the disk before the file is linked.
    Status SyncAndClose() {
        int result;
        do {
            result = ::fsync(handle_.Descriptor());
        } while (result != 0 && errno == EINTR);
        if (result != 0) {
            return ErrnoError("cannot write " + path_);
        }
        if (const int code = handle_.Close(); code != 0) {
            return Error{code, "cannot close " + path_};
        }
        return Success();
    }

    const std::string& Path() const { return path_; }
    void Release() { path_.clear(); }

private:
    std::string path_;
    FileHandle handle_;
};

Status WriteArchive(const std::string& path, const Bytes& document) {
    TVfsPAK archive;
    if (!CreateArchiveForWriting(path, archive)) {
        return Error{EIO, "cannot create the archive " + path};
    }
    Status put = PutMember(kResultMemberName, document, archive);
    archive.Close();
    return put;
}

// Link counts and hard links are what some file systems (FAT, some network shares) lack.
bool LacksHardLinks(int code) {
    return code == EPERM || code == EOPNOTSUPP || code == ENOSYS || code == EMLINK;
}

enum class Placement {
    Written,
    Kept,  // a file of that name was there first
};

// Gives the temporary file the final name unless that name is taken, atomically.
Result<Placement> LinkIntoPlace(TemporaryFile& temporary, const std::string& path) {
    if (::link(temporary.Path().c_str(), path.c_str()) == 0) {
        return Placement::Written;
    }
    if (errno == EEXIST) {
        return Placement::Kept;
    }
    if (!LacksHardLinks(errno)) {
        return ErrnoError("cannot link " + path);
    }
    if (::renameat2(AT_FDCWD, temporary.Path().c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) ==
        0) {
        temporary.Release();
        return Placement::Written;
    }
    if (errno == EEXIST) {
        return Placement::Kept;
    }
    return ErrnoError("cannot rename into " + path);
}

// The new name survives a crash only once its folder is on the disk too; failing here loses
// nothing that is not already lost, so it is not reported.
void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

Result<Placement> PlaceResultFile(const std::string& path, const Bytes& document) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0) {
        return Placement::Kept;
    }
    const std::string folder = FolderOf(path);
    TemporaryFile temporary;
    if (Status created = temporary.Create(folder); !created) {
        return created.error();
    }
    if (Status written = WriteArchive(temporary.Path(), document); !written) {
        return written.error();
    }
    if (Status synced = temporary.SyncAndClose(); !synced) {
        return synced.error();
    }
    Result<Placement> placed = LinkIntoPlace(temporary, path);
    if (placed && *placed == Placement::Written) {
        SyncFolder(folder);
    }
    return placed;
}

// "NAME.sko", then "NAME (2).sko", "NAME (3).sko", ...: the pupil was told his result goes to
// this folder, so a name already taken there moves it on to the next one, never over a file.
std::string NumberedName(const std::string& path, int number) {
    if (number == 1) {
        return path;
    }
    const std::size_t nameStart = path.size() - FileNamePart(path).size();
    std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        dot = path.size();
    }
    return path.substr(0, dot) + " (" + std::to_string(number) + ")" + path.substr(dot);
}

Result<std::string> PlaceUnderAFreeName(const std::string& path, const Bytes& document) {
    for (int number = 1; number <= kMostNumberedNames; ++number) {
        const std::string candidate = NumberedName(path, number);
        const Result<Placement> placed = PlaceResultFile(candidate, document);
        if (!placed) {
            return placed.error();
        }
        if (*placed == Placement::Written) {
            return candidate;
        }
    }
    return Error{EEXIST, "no free name for " + path};
}

}  // namespace

std::string LongTimeOfDay(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    const UserLocale locale;
    char buffer[128];
    const std::size_t length =
        locale.IsValid() ? strftime_l(buffer, sizeof buffer, "%X", &local, locale.Handle())
                         : std::strftime(buffer, sizeof buffer, "%X", &local);
    return locale.ToUtf8(std::string(buffer, length));
}

ResultRecord GatherResultRecord(const TestDocument& test, const ResultSession& session,
                                const Clock& clock) {
    ResultRecord record;
    record.buildIdentification = std::string(kBuildIdentification);
    record.testName = test.testName;
    record.author = test.author;
    record.testType = test.testType;
    record.answerCount = test.answerCount;
    record.timeLimit = test.timeLimit;
    record.startTime = LongTimeOfDay(session.startTime);
    record.endTime = LongTimeOfDay(session.endTime);
    record.saveTime = LongTimeOfDay(clock.Now());
    record.gradingSource = static_cast<int>(test.gradingSource);
    record.thresholds = test.thresholds;
    if (IsNamedMode(session.mode)) {
        record.surname = session.surname;
        record.firstName = session.firstName;
    } else {
        record.surname = std::string(kAnonymousSurname);
    }
    record.endedByTimeLimit = session.endedByTimeLimit;
    const int questionCount = std::clamp(test.questionCount, 0, kMaxQuestions);
    for (int number = 1; number <= questionCount; ++number) {
        const Question& question = test.At(number);
        record.questions.push_back(
            {FlagsOf(question, &Answer::isChosen), FlagsOf(question, &Answer::isCorrect)});
    }
    return record;
}

Result<Bytes> BuildResultDocument(const ResultRecord& record) {
    static constexpr std::string_view kThresholdNames[] = {"cel", "bdb", "db", "dst", "dp"};
    DocumentBuilder builder;
    builder.Text("ver", record.formatVersion);
    builder.Text("lic", record.buildIdentification);
    builder.Text("nmt", record.testName);
    builder.Text("name", record.author);
    builder.Int("typ", record.testType);
    builder.Int("ilp", record.QuestionCount());
    builder.Int("ilo", record.answerCount);
    builder.Int("tim", record.timeLimit);
    builder.Text("dts", record.startTime);
    builder.Text("dtk", record.endTime);
    builder.Text("dtz", record.saveTime);
    builder.Int("skl", "tkk", record.gradingSource);
    for (std::size_t i = 0; i < record.thresholds.size(); ++i) {
        builder.Int("skl", kThresholdNames[i], record.thresholds[i]);
    }
    builder.Text("nzu", record.surname);
    builder.Text("imu", record.firstName);
    builder.Text("zwm", record.endedByTimeLimit ? "1" : "0");
    for (int number = 1; number <= record.QuestionCount(); ++number) {
        const ResultQuestion& question = record.questions[static_cast<std::size_t>(number - 1)];
        const std::string element = "pyt" + std::to_string(number);
        builder.Text(element, "nrw", question.chosenFlags);
        builder.Text(element, "nrp", question.correctFlags);
    }
    builder.Plain("cd", "tr");
    if (builder.Failed()) {
        return Error{EINVAL, "a field of the result cannot be written"};
    }
    return builder.Save();
}

ResultWrite WriteResult(const std::string& destination, const ResultRecord& record,
                        const std::string& documentsFolder, Journal& journal,
                        MessageBoxPresenter& box) {
    const Result<Bytes> document = BuildResultDocument(record);
    if (!document) {
        journal.Write(kJournalErrors, kBuildFailed);
        return {};
    }
    const Result<Placement> placed = PlaceResultFile(destination, *document);
    if (placed && *placed == Placement::Written) {
        return {.built = true, .writtenPath = destination};
    }
    if (placed) {
        journal.Write(kJournalErrors,
                      std::string(kKeptBefore) + destination + std::string(kKeptAfter));
        return {.built = true, .writtenPath = {}};
    }
    box.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kFallingBack);
    const std::string fallback = JoinPath(documentsFolder, FileNamePart(destination));
    const Result<std::string> written = PlaceUnderAFreeName(fallback, *document);
    if (!written) {
        box.ShowMessageBox(MessageKind::Close, MessageIcon::Warning, kNothingSaved);
        journal.Write(kJournalErrors,
                      std::string(kWriteFailed) + fallback + ": " + ErrorReason(written.error()));
        return {.built = true, .writtenPath = {}};
    }
    journal.Write(kJournalErrors, std::string(kWrittenTo) + *written + ".");
    return {.built = true, .writtenPath = *written};
}

}  // namespace oplix
