#include "formats/ResultFileReader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include "formats/TestDocument.h"
#include "storage/EncodedFields.h"
#include "storage/FileHandle.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

Error Damaged(std::string what) {
    return Error{EINVAL, "damaged result: " + std::move(what)};
}

bool IsFlagString(const std::string& flags) {
    return flags.size() == 5 && flags.find_first_not_of("01") == std::string::npos;
}

// Reads fields below the root odp; the first failure is kept and later reads return defaults.
class FieldReader {
public:
    FieldReader(TpkXML& doc, int mode) : doc_(doc), mode_(mode) {}

    std::string Text(std::string_view name, std::string_view child = "") {
        if (error_) {
            return {};
        }
        int code = kFieldOk;
        std::string value = ReadTextField(mode_, "odp", name, child, "", doc_, code);
        if (code != kFieldOk) {
            Fail(name, child, "cannot be decoded");
        }
        return value;
    }

    int Int(std::string_view name, std::string_view child = "") {
        if (error_) {
            return 0;
        }
        int code = kFieldOk;
        const int value = ReadIntField(mode_, "odp", name, child, "", doc_, code);
        if (code != kFieldOk) {
            Fail(name, child,
                 code == kFieldNotAnInteger ? "is not an integer" : "cannot be decoded");
        }
        return value;
    }

    std::string Flags(std::string_view name, std::string_view child) {
        std::string flags = Text(name, child);
        if (!error_ && !IsFlagString(flags)) {
            Fail(name, child, "is not five flags 0 or 1");
        }
        return flags;
    }

    void Fail(std::string_view name, std::string_view child, std::string_view why) {
        if (!error_) {
            std::string path = "odp/" + std::string(name);
            if (!child.empty()) {
                path += "/" + std::string(child);
            }
            error_ = Damaged(path + " " + std::string(why));
        }
    }

    const std::optional<Error>& Failure() const { return error_; }

private:
    TpkXML& doc_;
    int mode_;
    std::optional<Error> error_;
};

void ReadHeader(FieldReader& fields, ResultRecord& record) {
    record.formatVersion = fields.Text("ver");
    record.buildIdentification = fields.Text("lic");
    record.testName = fields.Text("nmt");
    record.author = fields.Text("name");
    record.testType = fields.Int("typ");
    record.answerCount = fields.Int("ilo");
    record.timeLimit = fields.Int("tim");
    record.startTime = fields.Text("dts");
    record.endTime = fields.Text("dtk");
    record.saveTime = fields.Text("dtz");
    record.gradingSource = fields.Int("skl", "tkk");
    static constexpr std::string_view kThresholdNames[] = {"cel", "bdb", "db", "dst", "dp"};
    for (std::size_t i = 0; i < record.thresholds.size(); ++i) {
        record.thresholds[i] = fields.Int("skl", kThresholdNames[i]);
    }
    record.surname = fields.Text("nzu");
    record.firstName = fields.Text("imu");
    const std::string endedByTimeLimit = fields.Text("zwm");
    if (endedByTimeLimit != "0" && endedByTimeLimit != "1") {
        fields.Fail("zwm", "", "is neither 0 nor 1");
    }
    record.endedByTimeLimit = endedByTimeLimit == "1";
}

void ReadQuestions(FieldReader& fields, ResultRecord& record) {
    const int questionCount = fields.Int("ilp");
    if (questionCount < 0 || questionCount > kMaxQuestions) {
        fields.Fail("ilp", "", "is outside 0 to " + std::to_string(kMaxQuestions));
        return;
    }
    for (int number = 1; number <= questionCount && !fields.Failure(); ++number) {
        const std::string element = "pyt" + std::to_string(number);
        ResultQuestion question;
        question.chosenFlags = fields.Flags(element, "nrw");
        question.correctFlags = fields.Flags(element, "nrp");
        record.questions.push_back(std::move(question));
    }
}

}  // namespace

Result<ResultRecord> ReadResultDocument(std::span<const std::uint8_t> document) {
    TpkXML doc;
    if (!doc.LoadFromBytes(document)) {
        return Damaged("Selo0.xml is not well-formed XML (stops at byte " +
                       std::to_string(doc.FailureOffset()) + ")");
    }
    const TpkXMLNode* root = doc.FindTopNode(u"odp", false);
    if (root == nullptr || root->Kind != TpkXMLKind::Element) {
        return Damaged("Selo0.xml has no root element odp");
    }
    int code = kFieldOk;
    const bool encoded = ReadTextField(kFieldPlain, "odp", "cd", "", "", doc, code) == "tr";
    FieldReader fields(doc, encoded ? kFieldBase64 : kFieldPlain);
    ResultRecord record;
    ReadHeader(fields, record);
    ReadQuestions(fields, record);
    if (fields.Failure()) {
        return *fields.Failure();
    }
    return record;
}

Result<ResultRecord> ReadResult(const std::string& path) {
    // Only regular files: a pipe or device could block, and opening an empty file for reading
    // would give it an archive header.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return ErrnoError("cannot open " + path);
    }
    if (!S_ISREG(info.st_mode)) {
        return Error{EINVAL, path + " is not a regular file"};
    }
    if (info.st_size == 0) {
        return Error{EINVAL, path + " is empty"};
    }
    TVfsPAK archive;
    Result<bool> opened = archive.Open(path, PakOpenMode::Read);
    if (!opened) {
        return opened.error();
    }
    if (!*opened) {
        return Error{EINVAL, path + " is not a PACK archive"};
    }
    Result<std::optional<Bytes>> member = GetMember(kResultMemberName, archive);
    if (!member) {
        return member.error();
    }
    if (!*member) {
        return Error{ENOENT, path + " has no member " + std::string(kResultMemberName)};
    }
    return ReadResultDocument(**member);
}

}  // namespace oplix
