#include "storage/pkXMLParser.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/CaseMapping.h"
#include "storage/pkXML.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace oplix {
namespace {

// The position of the first `ch` in `text` at or after `from`, or the size of `text`. Texts
// between tags are most of a document, so this scan is worth doing eight characters at a time.
std::size_t FindChar(std::u16string_view text, std::size_t from, char16_t ch) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi16(static_cast<short>(ch));
    for (; i + 8 <= text.size(); i += 8) {
        __m128i chunk;
        std::memcpy(&chunk, text.data() + i, sizeof chunk);
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(chunk, wanted));
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
        }
    }
#endif
    for (; i < text.size(); ++i) {
        if (text[i] == ch) {
            return i;
        }
    }
    return text.size();
}

constexpr bool IsSpace(char16_t ch) {
    return ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u' ';
}

constexpr bool EndsTagName(char16_t ch) {
    return IsSpace(ch) || ch == u'/' || ch == u'>';
}

constexpr bool EndsAttrName(char16_t ch) {
    return IsSpace(ch) || ch == u'=' || ch == u'>';
}

constexpr bool EndsEndTagName(char16_t ch) {
    return IsSpace(ch) || ch == u'>';
}

// Leading and trailing characters up to 32 (control characters and space) removed.
std::u16string_view Trim(std::u16string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] <= 32) {
        ++begin;
    }
    while (end > begin && text[end - 1] <= 32) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// True when `text` starts with `upperPattern` (ASCII capitals) ignoring case.
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view upperPattern) {
    if (text.size() < upperPattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperPattern.size(); ++i) {
        if (text[i] != upperPattern[i] && UpperChar(text[i]) != upperPattern[i]) {
            return false;
        }
    }
    return true;
}

struct Entity {
    std::u16string_view upperName;  // between "&" and ";", in capitals
    char16_t replacement;
};

constexpr Entity kEntities[] = {
    {u"QUOT", u'"'},
    {u"GT", u'>'},
    {u"LT", u'<'},
    {u"AMP", u'&'},
};

// Resolves &quot; &gt; &lt; and &amp; in any letter case. Replacing them one after another,
// each everywhere, gives the same result as this single pass: the entities cannot overlap and
// no replacement creates a new one. Other entities stay as they are.
void UnescapeInPlace(std::u16string& text) {
    std::size_t read = FindChar(text, 0, u'&');
    if (read == text.size()) {
        return;
    }
    std::size_t write = read;
    while (read < text.size()) {
        const char16_t ch = text[read];
        if (ch == u'&') {
            const std::u16string_view rest = std::u16string_view(text).substr(read + 1);
            const Entity* match = nullptr;
            for (const Entity& entity : kEntities) {
                if (rest.size() > entity.upperName.size() &&
                    rest[entity.upperName.size()] == u';' &&
                    StartsWithIgnoreCase(rest, entity.upperName)) {
                    match = &entity;
                    break;
                }
            }
            if (match != nullptr) {
                text[write++] = match->replacement;
                read += match->upperName.size() + 2;
                continue;
            }
        }
        text[write++] = ch;
        ++read;
    }
    text.resize(write);
}

class XMLParser {
public:
    explicit XMLParser(std::u16string text) : even_(std::move(text)), text_(even_) {}

    bool Parse(TpkXMLNode& root);
    std::size_t BytePosition() const { return pos_ * 2 + parity_; }

private:
    enum class Outcome { Failed, Node, CData };

    bool AtEnd() const { return pos_ >= text_.size(); }
    char16_t Peek() const { return AtEnd() ? u'\0' : text_[pos_]; }
    char16_t Next() { return AtEnd() ? u'\0' : text_[pos_++]; }
    void SkipSpaces() {
        while (!AtEnd() && IsSpace(text_[pos_])) {
            ++pos_;
        }
    }
    bool Expect(char16_t expected) {
        SkipSpaces();
        return Next() == expected;
    }

    template <typename Terminator>
    std::u16string_view ReadName(Terminator ends) {
        const std::size_t start = pos_;
        while (!AtEnd() && !ends(text_[pos_])) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }
    std::u16string_view ReadTo(char16_t stop);
    std::u16string_view ReadToSequence(std::u16string_view sequence);

    bool ReadEndTag(TpkXMLNode& node);
    Outcome ReadNode(TpkXMLNode& parent, std::unique_ptr<TpkXMLNode>& node);
    bool ReadStartTag(TpkXMLNode& node);
    bool ReadAttributes(TpkXMLNode& node);
    void ReadTextAfterTag(TpkXMLNode& node);
    void ReadRawData(TpkXMLNode& node);

    std::uint8_t ByteAt(std::size_t offset) const;
    void MoveToByte(std::size_t offset);

    std::u16string even_;  // the text; its bytes are what raw-data elements read
    std::u16string odd_;   // the characters at odd byte offsets, built on first need
    std::u16string_view text_;
    std::size_t pos_ = 0;  // in characters of text_
    std::size_t parity_ = 0;
};

bool XMLParser::Parse(TpkXMLNode& root) {
    std::vector<TpkXMLNode*> open{&root};
    while (!AtEnd()) {
        TpkXMLNode& parent = *open.back();
        if (!Expect(u'<')) {
            return false;
        }
        if (Peek() == u'/') {
            ++pos_;
            if (!ReadEndTag(parent)) {
                return false;
            }
            open.pop_back();
            if (open.empty()) {
                return true;  // the root's own (empty) end tag ends the document
            }
        } else {
            std::unique_ptr<TpkXMLNode> node;
            const Outcome outcome = ReadNode(parent, node);
            if (outcome == Outcome::Failed) {
                return false;
            }
            if (outcome == Outcome::Node) {
                if (open.size() > static_cast<std::size_t>(kMaxXMLDepth)) {
                    return false;
                }
                TpkXMLNode& added = parent.AppendChild(std::move(node));
                if (!added.Closed) {
                    open.push_back(&added);
                    continue;  // its children start right after its text
                }
            }
        }
        SkipSpaces();
    }
    return true;
}

std::u16string_view XMLParser::ReadTo(char16_t stop) {
    const std::size_t start = pos_;
    pos_ = FindChar(text_, pos_, stop);
    return text_.substr(start, pos_ - start);
}

std::u16string_view XMLParser::ReadToSequence(std::u16string_view sequence) {
    const std::size_t found = text_.find(sequence, pos_);
    if (found == std::u16string_view::npos) {
        pos_ = text_.size();
        return {};
    }
    const std::u16string_view content = text_.substr(pos_, found - pos_);
    pos_ = found + sequence.size();
    return content;
}

bool XMLParser::ReadEndTag(TpkXMLNode& node) {
    const std::u16string_view name = ReadName(EndsEndTagName);
    SkipSpaces();
    if (Next() != u'>' || !EqualsIgnoreCase(name, node.Name)) {
        return false;
    }
    node.Closed = true;
    return true;
}

XMLParser::Outcome XMLParser::ReadNode(TpkXMLNode& parent, std::unique_ptr<TpkXMLNode>& node) {
    TpkXMLKind kind = TpkXMLKind::Element;
    switch (Peek()) {
        case u'!': {
            ++pos_;
            if (text_.size() - pos_ < 7) {
                return Outcome::Failed;
            }
            if (StartsWithIgnoreCase(text_.substr(pos_), u"[CDATA[")) {
                pos_ += 7;
                parent.CData.assign(ReadToSequence(u"]]>"));
                return Outcome::CData;
            }
            pos_ += 2;  // taken as "--" without looking
            node = std::make_unique<TpkXMLNode>(u"", TpkXMLKind::Comment);
            node->Text.assign(Trim(ReadToSequence(u"-->")));
            node->Closed = true;
            return Outcome::Node;
        }
        case u'?':
            ++pos_;
            kind = TpkXMLKind::Declaration;
            break;
        case u'&':
            ++pos_;
            kind = TpkXMLKind::RawData;
            break;
        default:
            break;
    }
    node = std::make_unique<TpkXMLNode>(u"", kind);
    if (!ReadStartTag(*node)) {
        return Outcome::Failed;
    }
    if (kind == TpkXMLKind::RawData) {
        ReadRawData(*node);
    } else {
        ReadTextAfterTag(*node);
    }
    return Outcome::Node;
}

bool XMLParser::ReadStartTag(TpkXMLNode& node) {
    node.Name.assign(ReadName(EndsTagName));
    if (node.Name.empty()) {
        return false;
    }
    if (!ReadAttributes(node)) {
        return false;
    }
    if (node.Kind == TpkXMLKind::Declaration) {
        node.Closed = true;
    }
    return true;
}

// Reads up to and including ">" or "/>"; the latter closes the node.
bool XMLParser::ReadAttributes(TpkXMLNode& node) {
    for (;;) {
        SkipSpaces();
        const char16_t ch = Peek();
        if (ch == u'>') {
            ++pos_;
            return true;
        }
        if (ch == u'/') {
            ++pos_;
            node.Closed = true;
            return Next() == u'>';
        }
        const std::u16string_view name = ReadName(EndsAttrName);
        if (node.Kind == TpkXMLKind::Declaration && name == u"?") {
            return Next() == u'>';
        }
        if (!Expect(u'=') || !Expect(u'"')) {
            return false;
        }
        const std::u16string_view value = ReadTo(u'"');
        if (Next() != u'"') {
            return false;
        }
        TpkXMLAttr attr{std::u16string(Trim(name)), std::u16string(value)};
        UnescapeInPlace(attr.Value);
        node.Attrs.Add(std::move(attr));
    }
}

void XMLParser::ReadTextAfterTag(TpkXMLNode& node) {
    SkipSpaces();
    node.Text.assign(Trim(ReadTo(u'<')));
    UnescapeInPlace(node.Text);
}

// A 32-bit little-endian length and that many bytes. The bytes are kept only when all of them
// are present; the position moves past them either way, at most to the end of the text.
void XMLParser::ReadRawData(TpkXMLNode& node) {
    const std::size_t byteCount = even_.size() * 2;
    const std::size_t start = BytePosition();
    if (byteCount - start < 4) {
        MoveToByte(byteCount);
        return;
    }
    std::uint32_t length = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        length |= static_cast<std::uint32_t>(ByteAt(start + i)) << (8 * i);
    }
    const std::size_t dataStart = start + 4;
    const std::size_t available = byteCount - dataStart;
    if (length <= available) {
        node.Data.resize(length);
        for (std::size_t i = 0; i < length; ++i) {
            node.Data[i] = ByteAt(dataStart + i);
        }
        MoveToByte(dataStart + length);
    } else {
        MoveToByte(byteCount);
    }
}

std::uint8_t XMLParser::ByteAt(std::size_t offset) const {
    const char16_t unit = even_[offset / 2];
    return static_cast<std::uint8_t>(offset % 2 == 0 ? unit & 0xFF : unit >> 8);
}

void XMLParser::MoveToByte(std::size_t offset) {
    parity_ = offset % 2;
    if (parity_ == 1 && odd_.empty() && even_.size() > 1) {
        odd_.resize(even_.size() - 1);
        for (std::size_t i = 0; i + 1 < even_.size(); ++i) {
            odd_[i] = static_cast<char16_t>((even_[i] >> 8) | (even_[i + 1] << 8));
        }
    }
    text_ = parity_ == 1 ? std::u16string_view(odd_) : std::u16string_view(even_);
    pos_ = offset / 2;
}

}  // namespace

XMLParseOutcome ParseXMLText(std::u16string text, TpkXMLNode& root) {
    XMLParser parser(std::move(text));
    const bool complete = parser.Parse(root);
    return {complete, complete ? 0 : parser.BytePosition()};
}

}  // namespace oplix
