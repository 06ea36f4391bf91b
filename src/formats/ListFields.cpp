#include "formats/ListFields.h"

#include "storage/Cp1250.h"
#include "storage/EncodedFields.h"
#include "storage/Scrambling.h"
#include "storage/UPak.h"
#include "storage/Utf.h"
#include "storage/VfsPAK.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

bool IsTrimmedAway(char ch) {
    return static_cast<unsigned char>(ch) <= 32;
}

}  // namespace

DescriptionFields::DescriptionFields(TpkXML& document, std::string root)
    : document_(document), root_(std::move(root)) {}

std::string DescriptionFields::Text(std::string_view level2, std::string_view level3,
                                    std::string_view level4) {
    int code = kFieldOk;
    std::string value = ReadTextField(mode_, root_, level2, level3, level4, document_, code);
    failed_ = failed_ || code != kFieldOk;
    return value;
}

int DescriptionFields::Int(std::string_view level2, std::string_view level3,
                           std::string_view level4) {
    int code = kFieldOk;
    const int value = ReadIntField(mode_, root_, level2, level3, level4, document_, code);
    // Not a number (an absent element included) reads as 0; only an unreachable one fails.
    failed_ = failed_ || code == kFieldPathFailed;
    return value;
}

std::optional<int> DescriptionFields::IntIfPresent(std::string_view level2) {
    int code = kFieldOk;
    const int value = ReadIntField(mode_, root_, level2, "", "", document_, code);
    if (code != kFieldOk) {
        return std::nullopt;
    }
    return value;
}

void DescriptionFields::WriteText(std::string_view value, std::string_view level2,
                                  std::string_view level3, std::string_view level4) {
    int code = kFieldOk;
    WriteTextField(mode_, root_, level2, level3, level4, document_, value, code);
    failed_ = failed_ || code != kFieldOk;
}

void DescriptionFields::WriteInt(int value, std::string_view level2, std::string_view level3,
                                 std::string_view level4) {
    int code = kFieldOk;
    WriteIntField(mode_, root_, level2, level3, level4, document_, value, code);
    failed_ = failed_ || code != kFieldOk;
}

int DescriptionFields::ElementCount() const {
    const TpkXMLNode& top = document_.Root();
    const int index = top.IndexOfChild(Utf8ToUtf16(root_));
    const TpkXMLNode* root = index < 0 ? nullptr : top.Child(index);
    if (root == nullptr) {
        return 0;
    }
    int count = 0;
    for (int i = 0; i < root->ChildCount(); ++i) {
        count += root->Child(i)->Kind == TpkXMLKind::Element ? 1 : 0;
    }
    return count;
}

Result<std::string> UnscrambleLine(std::string_view line) {
    Result<std::string> value = UnscrambleText(line);
    if (!value) {
        return value.error();
    }
    return Cp1250ToUtf8(*value);
}

Result<std::string> ScrambleLine(std::string_view value) {
    const std::string bytes = Utf8ToCp1250(value);
    if (Cp1250ToUtf8(bytes) != value) {
        return Error{0, "the text holds characters outside Windows-1250"};
    }
    if (bytes.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
        return Error{0, "a line break or zero byte cannot be stored in a line"};
    }
    return ScrambleText(bytes);
}

bool SurvivesPlainField(std::string_view value, bool utf16) {
    if (!value.empty() && (IsTrimmedAway(value.front()) || IsTrimmedAway(value.back()))) {
        return false;
    }
    return utf16 ? Utf16ToUtf8(Utf8ToUtf16(value)) == value
                 : Cp1250ToUtf8(Utf8ToCp1250(value)) == value;
}

Result<Bytes> ScrambledLines(const std::vector<std::string>& values) {
    Bytes bytes;
    for (const std::string& value : values) {
        Result<std::string> line = ScrambleLine(value);
        if (!line) {
            return line.error();
        }
        bytes.insert(bytes.end(), line->begin(), line->end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

Status WriteArchive(const std::string& path,
                    const std::vector<std::pair<std::string, Bytes>>& members) {
    TVfsPAK archive;
    if (!CreateArchiveForWriting(path, archive)) {
        return Error{0, "cannot create the archive " + path};
    }
    for (const auto& [name, bytes] : members) {
        if (Status put = PutMember(name, bytes, archive); !put) {
            archive.Close();
            return put;
        }
    }
    archive.Close();
    return Success();
}

}  // namespace oplix
