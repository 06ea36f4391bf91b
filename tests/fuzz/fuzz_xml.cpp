// Loads arbitrary bytes as an XML document, writes the tree and loads what was written: the
// second tree must hold every node the writer wrote, with the same content.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "storage/CaseMapping.h"
#include "storage/Cp1250.h"
#include "storage/pkXML.h"

namespace {

using oplix::TpkXMLKind;
using oplix::TpkXMLNode;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool HasValuedAttr(const TpkXMLNode& node) {
    for (int i = 0; i < node.Attrs.Count(); ++i) {
        if (!node.Attrs.Item(i)->Value.empty()) {
            return true;
        }
    }
    return false;
}

// Mirrors the writer's rule for leaving a node out.
bool IsWritten(const TpkXMLNode& node) {
    const bool empty = node.Text.empty() && node.CData.empty() && node.ChildCount() == 0 &&
                       node.Kind != TpkXMLKind::RawData;
    return !empty || HasValuedAttr(node);
}

std::u16string ReplaceIgnoreCase(std::u16string_view text, std::u16string_view upper,
                                 std::u16string_view replacement) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        bool match = text.size() - i >= upper.size();
        for (std::size_t j = 0; match && j < upper.size(); ++j) {
            match = oplix::UpperChar(text[i + j]) == upper[j];
        }
        if (match) {
            out.append(replacement);
            i += upper.size();
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

// What a CDATA section reads back as after writing.
std::u16string WrittenCData(std::u16string_view cdata) {
    const std::u16string defused =
        ReplaceIgnoreCase(ReplaceIgnoreCase(cdata, u"[CDATA[", u"_CDATA_"), u"]]>", u"__>");
    return oplix::Cp1250ToUtf16(oplix::Utf16ToCp1250(defused));
}

// A name that trimming turned into "/x" (read back as a broken "/>"), or into "?" in a
// declaration (read back as its end).
bool HasUnreadableAttrName(const TpkXMLNode& node) {
    for (int i = 0; i < node.Attrs.Count(); ++i) {
        const oplix::TpkXMLAttr& attr = *node.Attrs.Item(i);
        if (attr.Value.empty()) {
            continue;
        }
        if ((!attr.Name.empty() && attr.Name[0] == u'/') ||
            (node.Kind == TpkXMLKind::Declaration && attr.Name == u"?")) {
            return true;
        }
    }
    return false;
}

// Trees whose writing is known not to read back: the names above, and raw data in an 8-bit
// document (it is read from the 16-bit text).
bool WritesUnreadably(const oplix::TpkXML& xml) {
    std::vector<const TpkXMLNode*> pending{&xml.Root()};
    while (!pending.empty()) {
        const TpkXMLNode& node = *pending.back();
        pending.pop_back();
        if ((node.Kind == TpkXMLKind::RawData && !xml.Unicode) || HasUnreadableAttrName(node)) {
            return true;
        }
        for (int i = 0; i < node.ChildCount(); ++i) {
            pending.push_back(node.Child(i));
        }
    }
    return false;
}

// `reread` is what became of `original` through writing and reading. The depth is bounded by the
// parser's limit, so recursion is fine here.
void CheckSameContent(const TpkXMLNode& original, const TpkXMLNode& reread) {
    Check(original.Kind == reread.Kind);
    // "<?x?>" reads back as the target "x?", so a declaration without attributes may differ.
    if (original.Kind != TpkXMLKind::Declaration || HasValuedAttr(original)) {
        Check(original.Name == reread.Name);
    }
    Check(original.Text == reread.Text);
    Check(original.Data == reread.Data);
    Check(WrittenCData(original.CData) == std::u16string_view(reread.CData));
    int attr = 0;
    for (int i = 0; i < original.Attrs.Count(); ++i) {
        const oplix::TpkXMLAttr& a = *original.Attrs.Item(i);
        if (a.Value.empty()) {
            continue;
        }
        const oplix::TpkXMLAttr* b = reread.Attrs.Item(attr++);
        Check(b != nullptr && a.Name == b->Name && a.Value == b->Value);
    }
    Check(attr == reread.Attrs.Count());
    if (original.Kind == TpkXMLKind::Comment) {
        Check(reread.ChildCount() == 0);
        return;
    }
    int child = 0;
    for (int i = 0; i < original.ChildCount(); ++i) {
        if (!IsWritten(*original.Child(i))) {
            continue;
        }
        const TpkXMLNode* next = reread.Child(child++);
        Check(next != nullptr);
        CheckSameContent(*original.Child(i), *next);
    }
    Check(child == reread.ChildCount());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    oplix::TpkXML first;
    const bool complete = first.LoadFromBytes(std::span<const std::uint8_t>(data, size));
    Check(complete || first.FailureOffset() <= size);
    const oplix::Bytes written = first.SaveToBytes();
    if (written.empty() || WritesUnreadably(first)) {
        return 0;
    }

    oplix::TpkXML second;
    Check(second.LoadFromBytes(written));
    Check(second.Unicode == first.Unicode);
    const TpkXMLNode& root1 = first.Root();
    const TpkXMLNode& root2 = second.Root();
    int child = 0;
    for (int i = 0; i < root1.ChildCount(); ++i) {
        if (IsWritten(*root1.Child(i))) {
            const TpkXMLNode* next = root2.Child(child++);
            Check(next != nullptr);
            CheckSameContent(*root1.Child(i), *next);
        }
    }
    Check(child == root2.ChildCount());
    // Writing the reread tree once more gives a document that loads again.
    const oplix::Bytes rewritten = second.SaveToBytes();
    oplix::TpkXML third;
    Check(rewritten.empty() || third.LoadFromBytes(rewritten));
    return 0;
}
