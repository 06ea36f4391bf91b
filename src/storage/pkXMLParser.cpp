#include "storage/pkXMLParser.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/CaseMapping.h"
#include "storage/pkXML.h"
#include "storage/pkXMLText.h"

namespace oplix {
namespace {

constexpr std::uint64_t kSpaces = 1ull << u'\t' | 1ull << u'\n' | 1ull << u'\r' | 1ull << u' ';

constexpr bool IsSpace(char16_t ch) {
    return ch <= u' ' && (kSpaces >> ch & 1) != 0;
}

// Every character that ends a name lies below 64, so a set of them fits in one mask.
constexpr bool InSet(std::uint64_t set, char16_t ch) {
    return ch < 64 && (set >> ch & 1) != 0;
}

constexpr bool EndsTagName(char16_t ch) {
    return InSet(kSpaces | 1ull << u'/' | 1ull << u'>', ch);
}

constexpr bool EndsAttrName(char16_t ch) {
    return InSet(kSpaces | 1ull << u'=' | 1ull << u'>', ch);
}

constexpr bool EndsEndTagName(char16_t ch) {
    return InSet(kSpaces | 1ull << u'>', ch);
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

// UpperChar with ASCII, nearly every character met here, handled without a call.
char16_t Upper(char16_t ch) {
    if (ch < 0x80) {
        return ch >= u'a' && ch <= u'z' ? static_cast<char16_t>(ch - (u'a' - u'A')) : ch;
    }
    return UpperChar(ch);
}

// True when `text` starts with `upperPattern` (ASCII capitals) ignoring case.
bool StartsWithIgnoreCase(std::u16string_view text, std::u16string_view upperPattern) {
    if (text.size() < upperPattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < upperPattern.size(); ++i) {
        if (Upper(text[i]) != upperPattern[i]) {
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

// The entity that `text` starts with, after its "&", or null. No two entities share a first
// letter, so only one of them can match.
const Entity* EntityAt(std::u16string_view text) {
    if (text.empty()) {
        return nullptr;
    }
    const char16_t first = Upper(text[0]);
    const Entity* const candidate =
        std::find_if(std::begin(kEntities), std::end(kEntities),
                     [first](const Entity& entity) { return entity.upperName[0] == first; });
    if (candidate == std::end(kEntities)) {
        return nullptr;
    }
    const std::size_t length = candidate->upperName.size();
    const bool matches = text.size() > length && text[length] == u';' &&
                         StartsWithIgnoreCase(text.substr(1), candidate->upperName.substr(1));
    return matches ? candidate : nullptr;
}

// Resolves &quot; &gt; &lt; and &amp; in any letter case, from `from` (the first "&") on.
// Replacing them one after another, each everywhere, gives the same result as this single
// pass: the entities cannot overlap and no replacement creates a new one. Other entities stay
// as they are.
// `String` is an element's std::pmr::u16string or an attribute's std::u16string.
template <typename String>
void UnescapeFrom(String& text, std::size_t from) {
    char16_t* const data = text.data();
    std::size_t read = from;
    std::size_t write = from;
    while (read < text.size()) {  // text[read] is "&"
        const Entity* entity = EntityAt(std::u16string_view(text).substr(read + 1));
        data[write++] = entity != nullptr ? entity->replacement : u'&';
        read += entity != nullptr ? entity->upperName.size() + 2 : 1;
        const std::size_t next = ScanXMLText(text, read, u'&').stop;
        std::copy(data + read, data + next, data + write);
        write += next - read;
        read = next;
    }
    text.resize(write);
}

constexpr std::size_t kNone = std::u16string_view::npos;

// A stretch of text and the position of its first "&" (kNone without one).
struct TextRun {
    std::u16string_view text;
    std::size_t ampersand = kNone;
};

TextRun Trim(TextRun run) {
    const std::u16string_view trimmed = Trim(run.text);
    const std::size_t cut = static_cast<std::size_t>(trimmed.data() - run.text.data());
    // "&" is above 32, so trimming never removes it.
    return {trimmed, run.ampersand == kNone ? kNone : run.ampersand - cut};
}

template <typename String>
void AssignUnescaped(String& out, TextRun run) {
    out.assign(run.text);
    if (run.ampersand != kNone) {
        UnescapeFrom(out, run.ampersand);
    }
}

class XMLParser {
public:
    explicit XMLParser(XMLText text) : even_(std::move(text)), text_(even_.View()) {}

    bool Parse(TpkXMLNode& root);
    std::size_t BytePosition() const { return pos_ * 2 + parity_; }

private:
    enum class Outcome { Failed, Node, CData };

    bool AtEnd() const { return pos_ >= text_.size(); }
    char16_t Peek() const { return AtEnd() ? u'\0' : text_[pos_]; }
    char16_t Next() { return AtEnd() ? u'\0' : text_[pos_++]; }
    // The loops below work on a local copy of the position: a store to pos_ could otherwise
    // change text_'s size as far as the compiler knows, and force a reload per character.
    void SkipSpaces() {
        std::size_t pos = pos_;
        while (pos < text_.size() && IsSpace(text_[pos])) {
            ++pos;
        }
        pos_ = pos;
    }
    bool Expect(char16_t expected) {
        SkipSpaces();
        return Next() == expected;
    }

    template <typename Terminator>
    std::u16string_view ReadName(Terminator ends) {
        const std::size_t start = pos_;
        std::size_t pos = start;
        while (pos < text_.size() && !ends(text_[pos])) {
            ++pos;
        }
        pos_ = pos;
        return text_.substr(start, pos - start);
    }
    TextRun ReadTo(char16_t stop);
    std::u16string_view ReadToSequence(std::u16string_view sequence);

    bool ReadEndTag(TpkXMLNode& node);
    Outcome ReadNode(TpkXMLNode& parent, TpkXMLNode& node);
    bool ReadStartTag(TpkXMLNode& node);
    bool ReadAttributes(TpkXMLNode& node);
    void ReadTextAfterTag(TpkXMLNode& node);
    void ReadRawData(TpkXMLNode& node);

    std::uint8_t ByteAt(std::size_t offset) const;
    void MoveToByte(std::size_t offset);

    XMLText even_;        // the text; its bytes are what raw-data elements read
    std::u16string odd_;  // the characters at odd byte offsets, built on first need
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
            // Read in place; a node that fails to read, or lies too deep, is taken off again.
            TpkXMLNode& node = parent.AddChild(u"");
            const Outcome outcome = ReadNode(parent, node);
            const bool tooDeep = open.size() > static_cast<std::size_t>(kMaxXMLDepth);
            if (outcome != Outcome::Node || tooDeep) {
                parent.RemoveLastChild();
                if (outcome == Outcome::Failed || (outcome == Outcome::Node && tooDeep)) {
                    return false;
                }
            } else if (!node.Closed) {
                open.push_back(&node);
                continue;  // its children start right after its text
            }
        }
        SkipSpaces();
    }
    return true;
}

TextRun XMLParser::ReadTo(char16_t stop) {
    const std::size_t start = pos_;
    const XMLScan scan = ScanXMLText(text_, pos_, stop);
    pos_ = scan.stop;
    return {text_.substr(start, pos_ - start),
            scan.ampersand == kNone ? kNone : scan.ampersand - start};
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
    // Most end tags spell the name exactly as the start tag did; that needs no case mapping.
    if (Next() != u'>' || (name != node.Name && !EqualsIgnoreCase(name, node.Name))) {
        return false;
    }
    node.Closed = true;
    return true;
}

XMLParser::Outcome XMLParser::ReadNode(TpkXMLNode& parent, TpkXMLNode& node) {
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
            node.Kind = TpkXMLKind::Comment;
            node.Text.assign(Trim(ReadToSequence(u"-->")));
            node.Closed = true;
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
    node.Kind = kind;
    if (!ReadStartTag(node)) {
        return Outcome::Failed;
    }
    if (kind == TpkXMLKind::RawData) {
        ReadRawData(node);
    } else {
        ReadTextAfterTag(node);
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
        const TextRun value = ReadTo(u'"');
        if (Next() != u'"') {
            return false;
        }
        TpkXMLAttr& attr = node.Attrs.Add(Trim(name), value.text);
        if (value.ampersand != kNone) {
            UnescapeFrom(attr.Value, value.ampersand);
        }
    }
}

void XMLParser::ReadTextAfterTag(TpkXMLNode& node) {
    SkipSpaces();
    AssignUnescaped(node.Text, Trim(ReadTo(u'<')));
}

// A 32-bit little-endian length and that many bytes. The bytes are kept only when all of them
// are present; the position moves past them either way, at most to the end of the text.
void XMLParser::ReadRawData(TpkXMLNode& node) {
    const std::size_t byteCount = even_.size * 2;
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
    const char16_t unit = even_.units[offset / 2];
    return static_cast<std::uint8_t>(offset % 2 == 0 ? unit & 0xFF : unit >> 8);
}

void XMLParser::MoveToByte(std::size_t offset) {
    parity_ = offset % 2;
    const std::u16string_view even = even_.View();
    if (parity_ == 1 && odd_.empty() && even.size() > 1) {
        odd_.resize(even.size() - 1);
        for (std::size_t i = 0; i + 1 < even.size(); ++i) {
            odd_[i] = static_cast<char16_t>((even[i] >> 8) | (even[i + 1] << 8));
        }
    }
    text_ = parity_ == 1 ? std::u16string_view(odd_) : even;
    pos_ = offset / 2;
}

}  // namespace

XMLParseOutcome ParseXMLText(XMLText text, TpkXMLNode& root) {
    XMLParser parser(std::move(text));
    const bool complete = parser.Parse(root);
    return {complete, complete ? 0 : parser.BytePosition()};
}

}  // namespace oplix
