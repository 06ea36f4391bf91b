#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/Bytes.h"
#include "storage/Result.h"

namespace oplix {

class TpkXML;

// The fields below the root element of an XML list description, read or written in one mode:
// plain, or base64 of the UTF-16LE text. Values are UTF-8. Every read or write that fails is
// remembered, so a caller can go through a group of fields and check once.
class DescriptionFields {
public:
    DescriptionFields(TpkXML& document, std::string root);

    void SetEncoded(bool encoded) { mode_ = encoded ? 1 : 0; }
    bool Failed() const { return failed_; }

    // An absent element reads as empty text.
    std::string Text(std::string_view level2, std::string_view level3 = {},
                     std::string_view level4 = {});
    // An absent or non-numeric element reads as 0.
    int Int(std::string_view level2, std::string_view level3 = {}, std::string_view level4 = {});
    // None when the element is absent, not a decimal integer or cannot be reached.
    std::optional<int> IntIfPresent(std::string_view level2);

    void WriteText(std::string_view value, std::string_view level2, std::string_view level3 = {},
                   std::string_view level4 = {});
    void WriteInt(int value, std::string_view level2, std::string_view level3 = {},
                  std::string_view level4 = {});

    // The number of elements directly below the root; 0 without a root.
    int ElementCount() const;

private:
    TpkXML& document_;
    std::string root_;
    int mode_ = 0;
    bool failed_ = false;
};

// A version-35 line as stored (scrambled Windows-1250) turned into its UTF-8 value; fails for
// an empty line, which is never a scrambled form.
Result<std::string> UnscrambleLine(std::string_view line);

// The stored form of a UTF-8 value as a version-35 line. Fails for a value that would not read
// back the same: characters outside Windows-1250, a line break or zero byte, more than 500 bytes.
Result<std::string> ScrambleLine(std::string_view value);

// Whether a value reads back unchanged from a plain field: the tree trims characters up to 32
// around element texts, and an 8-bit document holds Windows-1250 only.
bool SurvivesPlainField(std::string_view value, bool utf16);

// A version-35 text member: every value scrambled as ScrambleLine does, each line ended by
// CR LF. Fails as ScrambleLine does.
Result<Bytes> ScrambledLines(const std::vector<std::string>& values);

// Creates (or truncates) an archive holding exactly these members, in this order.
Status WriteArchive(const std::string& path,
                    const std::vector<std::pair<std::string, Bytes>>& members);

}  // namespace oplix
