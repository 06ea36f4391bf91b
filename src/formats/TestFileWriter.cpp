#include "formats/TestFileWriter.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <string_view>
#include <vector>

#include "formats/TestFileReader.h"
#include "storage/Cp1250.h"
#include "storage/EncodedFields.h"
#include "storage/Scrambling.h"
#include "storage/UPak.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

constexpr std::string_view kEncodedMark = "tr";
constexpr std::string_view kPlainMark = "fa";
// Line 0 of a version-35 description is never read; the editor puts its version there.
constexpr std::string_view kVersion35Line = "35";

Status CheckQuestionCount(const TestDocument& document) {
    if (document.questionCount > kMaxQuestions) {
        return Error{EINVAL, "a test holds at most 45 questions, not " +
                                 std::to_string(document.questionCount)};
    }
    return Success();
}

class Test40Builder {
public:
    Test40Builder(TpkXML& xml, bool encoded)
        : xml_(xml), mode_(encoded ? kFieldBase64 : kFieldPlain) {}

    void Text(std::string_view level2, std::string_view level3, std::string_view value) {
        WriteTextField(mode_, "tst", level2, level3, "", xml_, value, code_);
    }
    void Int(std::string_view level2, std::string_view level3, int value) {
        WriteIntField(mode_, "tst", level2, level3, "", xml_, value, code_);
    }
    void PlainText(std::string_view level2, std::string_view value) {
        WriteTextField(kFieldPlain, "tst", level2, "", "", xml_, value, code_);
    }
    void Question(int number, const oplix::Question& question);
    bool Failed() const { return code_ != kFieldOk; }

private:
    TpkXML& xml_;
    int mode_;
    int code_ = kFieldOk;
};

void Test40Builder::Question(int number, const oplix::Question& question) {
    static constexpr std::string_view kAnswerNames[] = {"od1", "od2", "od3", "od4", "od5"};
    const std::string element = "pyt" + std::to_string(number);
    Text(element, "tr", question.text);
    for (std::size_t k = 0; k < question.answers.size(); ++k) {
        Text(element, kAnswerNames[k], question.answers[k].text);
    }
    Text(element, "odp", question.correctFlags);
    Text(element, "plr", question.textMember);
    Text(element, "plimg", question.pictureMember);
    Text(element, "kom", question.hint);
}

void AddDeclaration(TpkXML& xml, bool utf16) {
    TpkXMLNode& declaration = xml.Root().AddChild(u"xml", TpkXMLKind::Declaration);
    declaration.Attrs.Add(u"version", u"1.0");
    declaration.Attrs.Add(u"encoding", utf16 ? u"UTF-16" : u"windows-1250");
}

// One scrambled field: the value in Windows-1250, then scrambled, then the line break.
Status AppendLine35(std::string_view value, Bytes& out) {
    const std::string bytes = Utf8ToCp1250(value);
    if (bytes.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        return Error{EINVAL, "a version-35 field cannot hold a line break or a zero byte"};
    }
    Result<std::string> scrambled = ScrambleTestText(bytes);
    if (!scrambled) {
        return scrambled.error();
    }
    out.insert(out.end(), scrambled->begin(), scrambled->end());
    out.push_back('\r');
    out.push_back('\n');
    return Success();
}

Status AppendQuestion35(const Question& question, Bytes& out) {
    const std::array<std::string_view, 9> fields = {question.text,
                                                    question.answers[0].text,
                                                    question.answers[1].text,
                                                    question.answers[2].text,
                                                    question.answers[3].text,
                                                    question.correctFlags,
                                                    question.textMember,
                                                    question.pictureMember,
                                                    question.hint};
    for (std::string_view field : fields) {
        if (Status appended = AppendLine35(field, out); !appended) {
            return appended;
        }
    }
    return Success();
}

std::vector<TestMember> WithDescription(std::string_view name, Bytes description,
                                        std::span<const TestMember> extraMembers) {
    std::vector<TestMember> members;
    members.reserve(1 + extraMembers.size());
    members.push_back({std::string(name), std::move(description)});
    members.insert(members.end(), extraMembers.begin(), extraMembers.end());
    return members;
}

}  // namespace

Status BuildTest40Description(const TestDocument& document, const Test40Options& options,
                              TpkXML& xml) {
    if (Status counted = CheckQuestionCount(document); !counted) {
        return counted;
    }
    xml.Unicode = options.utf16;
    AddDeclaration(xml, options.utf16);
    Test40Builder builder(xml, options.encoded);
    builder.PlainText("cd", options.encoded ? kEncodedMark : kPlainMark);
    builder.Int("ilp", "", document.questionCount);
    builder.Int("ilo", "", document.answerCount);
    builder.Int("typ", "", document.testType);
    builder.Text("nmt", "", document.testName);
    builder.Text("name", "", document.author);
    builder.Int("tim", "", document.timeLimit);
    const bool ownScale = document.gradingSource == GradingSource::Test;
    builder.Int("skl", "tk", ownScale ? 1 : 0);
    if (ownScale) {
        static constexpr std::string_view kNames[] = {"cel", "bdb", "db", "dst", "dp"};
        for (std::size_t i = 0; i < document.thresholds.size(); ++i) {
            builder.Int("skl", kNames[i], document.thresholds[i]);
        }
    }
    for (int number = 1; number <= document.questionCount; ++number) {
        builder.Question(number, document.At(number));
    }
    builder.Text("dtu", "", document.date);
    builder.Text("uwg", "", document.remarks);
    if (builder.Failed()) {
        return Error{EINVAL, "a field of the test cannot be written"};
    }
    return Success();
}

Result<Bytes> BuildTest35Description(const TestDocument& document) {
    if (Status counted = CheckQuestionCount(document); !counted) {
        return counted.error();
    }
    Bytes out;
    const std::array<std::string, 6> header = {std::string(kVersion35Line),
                                               std::to_string(document.testType),
                                               std::to_string(document.questionCount),
                                               document.testName,
                                               document.author,
                                               std::to_string(document.answerCount)};
    for (const std::string& field : header) {
        if (Status appended = AppendLine35(field, out); !appended) {
            return appended.error();
        }
    }
    for (int number = 1; number <= document.questionCount; ++number) {
        if (Status appended = AppendQuestion35(document.At(number), out); !appended) {
            return appended.error();
        }
    }
    return out;
}

Status WriteTestArchive(const std::string& path, std::span<const TestMember> members) {
    TVfsPAK archive;
    if (!CreateArchiveForWriting(path, archive)) {
        return Error{EIO, "cannot create the test " + path};
    }
    for (const TestMember& member : members) {
        if (Status put = PutMember(member.name, member.bytes, archive); !put) {
            return put;
        }
    }
    archive.Close();
    return Success();
}

Status WriteTest40(const std::string& path, const TestDocument& document,
                   const Test40Options& options, std::span<const TestMember> extraMembers) {
    TpkXML xml;
    if (Status built = BuildTest40Description(document, options, xml); !built) {
        return built;
    }
    return WriteTestArchive(path, WithDescription(kTest40Member, xml.SaveToBytes(), extraMembers));
}

Status WriteTest35(const std::string& path, const TestDocument& document,
                   std::span<const TestMember> extraMembers) {
    Result<Bytes> description = BuildTest35Description(document);
    if (!description) {
        return description.error();
    }
    return WriteTestArchive(
        path, WithDescription(kTest35Member, std::move(description).value(), extraMembers));
}

}  // namespace oplix
