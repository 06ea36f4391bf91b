#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "storage/Bytes.h"
#include "storage/Result.h"
#include "storage/pkXMLArena.h"
#include "storage/pkXMLNode.h"

namespace oplix {

// The deepest nesting of elements a document may have; a deeper one fails to load.
inline constexpr int kMaxXMLDepth = 1000;

// An XML document: the tree, the encoding it was read in and the layout it is written with.
// Files are UTF-16 little-endian starting with FF FE, or 8-bit Windows-1250 text.
class TpkXML {
public:
    TpkXML();

    // Holds the top-level nodes as its children; it has no name and is never written itself.
    TpkXMLNode& Root() { return *root_; }
    const TpkXMLNode& Root() const { return *root_; }

    bool Unicode = false;  // read from UTF-16 text; decides the encoding when writing
    std::u16string Indent = u"\t";
    std::u16string LineBreak = u"\r\n";

    // Replaces the tree with the document in `bytes`. True when the whole text parsed; after a
    // failure the tree holds what was read up to the violation. An empty buffer changes
    // nothing and gives false.
    bool LoadFromBytes(std::span<const std::uint8_t> bytes);
    // False when the file cannot be read; otherwise as LoadFromBytes.
    bool LoadFromFile(const std::string& fileName);

    // Where the last load stopped at a violation: an offset in the loaded bytes.
    std::size_t FailureOffset() const { return failureOffset_; }

    Bytes SaveToBytes() const;
    // Appends the written document at the end of `out`.
    void SaveToStream(Bytes& out) const;
    // Creates or truncates the file and writes the document.
    Status SaveToFile(const std::string& fileName) const;

    // FindChild on the root.
    TpkXMLNode* FindTopNode(std::u16string_view name, bool create,
                            TpkXMLKind kind = TpkXMLKind::Element);

private:
    std::unique_ptr<TpkXMLArena> arena_;  // the memory of the nodes below the root
    std::unique_ptr<TpkXMLNode> root_;
    std::size_t failureOffset_ = 0;
};

}  // namespace oplix
