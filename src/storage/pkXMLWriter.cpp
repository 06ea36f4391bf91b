#include "storage/pkXMLWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "storage/CaseMapping.h"
#include "storage/Cp1250.h"
#include "storage/Utf.h"
#include "storage/pkXML.h"

namespace oplix {
namespace {

bool HasContent(const TpkXMLNode& node) {
    return !node.CData.empty() || node.ChildCount() > 0;
}

// Written as "<name/>" when it has attributes, left out entirely when it has none.
bool IsEmpty(const TpkXMLNode& node) {
    return node.Text.empty() && !HasContent(node) && node.Kind != TpkXMLKind::RawData;
}

bool HasValuedAttr(const TpkXMLNode& node) {
    for (int i = 0; i < node.Attrs.Count(); ++i) {
        if (!node.Attrs.Item(i)->Value.empty()) {
            return true;
        }
    }
    return false;
}

bool MatchesIgnoreCase(std::u16string_view text, std::u16string_view upperPattern) {
    for (std::size_t i = 0; i < upperPattern.size(); ++i) {
        if (text[i] != upperPattern[i] && UpperChar(text[i]) != upperPattern[i]) {
            return false;
        }
    }
    return true;
}

// Every occurrence of `upperPattern` (ASCII capitals) in any letter case, left to right.
std::u16string ReplaceAllIgnoreCase(std::u16string_view text, std::u16string_view upperPattern,
                                    std::u16string_view replacement) {
    std::u16string result;
    result.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= upperPattern.size() &&
            MatchesIgnoreCase(text.substr(i), upperPattern)) {
            result.append(replacement);
            i += upperPattern.size();
        } else {
            result.push_back(text[i++]);
        }
    }
    return result;
}

// UTF-16 little-endian code units, or Windows-1250 with '?' for what the code page lacks (one
// for a surrogate pair).
void Encode(std::u16string_view text, bool unicode, Bytes& out) {
    if (unicode) {
        for (char16_t ch : text) {
            out.push_back(static_cast<std::uint8_t>(ch & 0xFF));
            out.push_back(static_cast<std::uint8_t>(ch >> 8));
        }
        return;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i];
        if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            ++i;
            out.push_back('?');
            continue;
        }
        out.push_back(CharToCp1250(ch));
    }
}

class XMLWriter {
public:
    XMLWriter(const TpkXML& document, Bytes& out) : document_(document), out_(out) {
        Encode(document.Indent, document.Unicode, indentUnit_);
    }

    void Write();

private:
    bool WriteOpening(const TpkXMLNode& node, std::size_t depth);
    void WriteClosing(const TpkXMLNode& node, std::size_t depth);
    void WriteCData(const TpkXMLNode& node, std::size_t depth);

    void Put(std::u16string_view text);
    void PutChar(char16_t ch);
    void PutEscaped(std::u16string_view text);
    void PutIndent(std::size_t depth);
    void PutLength(std::size_t length);

    const TpkXML& document_;
    Bytes& out_;
    Bytes indentUnit_;   // the encoded Indent
    Bytes indentCache_;  // the encoded Indent repeated for the deepest level seen so far
};

void XMLWriter::Write() {
    if (document_.Unicode) {
        out_.push_back(0xFF);
        out_.push_back(0xFE);
    }
    struct Frame {
        const TpkXMLNode* node;
        int nextChild;
    };
    // An explicit stack, so no depth of tree can exhaust the call stack.
    std::vector<Frame> open{{&document_.Root(), 0}};
    while (!open.empty()) {
        Frame& top = open.back();
        if (top.nextChild < top.node->ChildCount()) {
            const TpkXMLNode& child = *top.node->Child(top.nextChild++);
            if (WriteOpening(child, open.size() - 1)) {
                open.push_back({&child, 0});
            }
            continue;
        }
        const TpkXMLNode& finished = *top.node;
        open.pop_back();
        if (!open.empty()) {
            WriteClosing(finished, open.size() - 1);
        }
    }
}

// Writes the node up to its children; false when nothing of it remains to be written.
bool XMLWriter::WriteOpening(const TpkXMLNode& node, std::size_t depth) {
    const bool empty = IsEmpty(node);
    if (empty && !HasValuedAttr(node)) {
        return false;
    }
    PutIndent(depth);
    if (node.Kind == TpkXMLKind::Comment) {
        Put(u"<!-- ");
        Put(node.Text);
        Put(u" -->");
        Put(document_.LineBreak);
        return false;
    }
    Put(node.Kind == TpkXMLKind::Declaration ? u"<?"
        : node.Kind == TpkXMLKind::RawData   ? u"<&"
                                             : u"<");
    Put(node.Name);
    for (int i = 0; i < node.Attrs.Count(); ++i) {
        const TpkXMLAttr& attr = *node.Attrs.Item(i);
        if (attr.Value.empty()) {
            continue;
        }
        PutChar(u' ');
        Put(attr.Name);
        Put(u"=\"");
        PutEscaped(attr.Value);
        PutChar(u'"');
    }
    Put(node.Kind == TpkXMLKind::Declaration ? u"?>" : empty ? u"/>" : u">");
    if (node.Kind == TpkXMLKind::RawData) {
        PutLength(node.Data.size());
        out_.insert(out_.end(), node.Data.begin(), node.Data.end());
    } else {
        PutEscaped(node.Text);
    }
    if (HasContent(node)) {
        Put(document_.LineBreak);
    }
    if (!node.CData.empty()) {
        WriteCData(node, depth);
    }
    return true;
}

void XMLWriter::WriteClosing(const TpkXMLNode& node, std::size_t depth) {
    if (HasContent(node)) {
        PutIndent(depth);
    }
    if (!IsEmpty(node) && node.Kind != TpkXMLKind::Declaration) {
        Put(u"</");
        Put(node.Name);
        PutChar(u'>');
    }
    Put(document_.LineBreak);
}

// The section's own delimiters are defused inside its content, and the content always passes
// through the 8-bit code page, in UTF-16 documents too.
void XMLWriter::WriteCData(const TpkXMLNode& node, std::size_t depth) {
    std::u16string copy = ReplaceAllIgnoreCase(node.CData, u"[CDATA[", u"_CDATA_");
    copy = ReplaceAllIgnoreCase(copy, u"]]>", u"__>");
    PutIndent(depth + 1);
    Put(u"<![CDATA[");
    Put(Cp1250ToUtf16(Utf16ToCp1250(copy)));
    Put(u"]]>");
    Put(document_.LineBreak);
}

void XMLWriter::Put(std::u16string_view text) {
    Encode(text, document_.Unicode, out_);
}

void XMLWriter::PutChar(char16_t ch) {
    Put(std::u16string_view(&ch, 1));
}

void XMLWriter::PutEscaped(std::u16string_view text) {
    std::size_t runStart = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::u16string_view entity;
        switch (text[i]) {
            case u'&':
                entity = u"&amp;";
                break;
            case u'<':
                entity = u"&lt;";
                break;
            case u'>':
                entity = u"&gt;";
                break;
            case u'"':
                entity = u"&quot;";
                break;
            default:
                continue;
        }
        Put(text.substr(runStart, i - runStart));
        Put(entity);
        runStart = i + 1;
    }
    Put(text.substr(runStart));
}

void XMLWriter::PutIndent(std::size_t depth) {
    const std::size_t size = depth * indentUnit_.size();
    while (indentCache_.size() < size) {
        indentCache_.insert(indentCache_.end(), indentUnit_.begin(), indentUnit_.end());
    }
    out_.insert(out_.end(), indentCache_.begin(),
                indentCache_.begin() + static_cast<std::ptrdiff_t>(size));
}

void XMLWriter::PutLength(std::size_t length) {
    const auto value = static_cast<std::uint32_t>(length);
    for (int i = 0; i < 4; ++i) {
        out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

void WriteXMLDocument(const TpkXML& document, Bytes& out) {
    XMLWriter(document, out).Write();
}

}  // namespace oplix
