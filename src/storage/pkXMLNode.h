#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Bytes.h"
#include "storage/pkXMLAttrs.h"

namespace oplix {

enum class TpkXMLKind : std::uint8_t {
    Element = 0,
    Declaration = 1,  // a processing instruction such as <?xml ...?>; Name is its target
    Comment = 2,      // Text holds the comment
    RawData = 3,      // <&name> followed by a 32-bit length and that many bytes, kept in Data
};

// A node of the XML tree: a plain record plus the children it owns. A child never moves once
// appended, so a pointer to it stays valid while siblings are appended.
//
// Children and their texts take their memory from the memory the node was given, by default the
// heap; a document gives its top node its own arena (TpkXMLArena). A node that takes the content
// of a node of a document (by a move) keeps that content in the document's arena, so it must not
// outlive the document's next load.
class TpkXMLNode {
public:
    TpkXMLNode() = default;
    explicit TpkXMLNode(std::u16string_view name, TpkXMLKind kind = TpkXMLKind::Element);
    // A node whose children, with their texts, live in `childMemory`, which must outlive them.
    explicit TpkXMLNode(std::pmr::memory_resource* childMemory) : memory_(childMemory) {}
    ~TpkXMLNode();

    TpkXMLNode(const TpkXMLNode&) = delete;
    TpkXMLNode& operator=(const TpkXMLNode&) = delete;
    TpkXMLNode(TpkXMLNode&& other) noexcept;
    TpkXMLNode& operator=(TpkXMLNode&& other) noexcept;

    std::pmr::u16string Name;
    std::pmr::u16string Text;   // entities resolved; for a comment, the comment itself
    std::pmr::u16string CData;  // content of the element's (last) CDATA section
    TpkXMLKind Kind = TpkXMLKind::Element;
    bool Closed = false;  // the end tag was read, or the start tag closed the node itself
    Bytes Data;           // content of a raw-data element
    TpkXMLAttrs Attrs;

    // The first child of any kind whose name equals `name` ignoring case, or -1. A node with
    // many children keeps an index of their names, so that looking up every child of a large
    // list costs time in proportion to its size; a child's name must therefore not change once
    // it has been looked up.
    int IndexOfChild(std::u16string_view name) const;

    // The child found by IndexOfChild; when there is none and `create` is set, a new child with
    // that name and kind is appended and returned; otherwise null.
    TpkXMLNode* FindChild(std::u16string_view name, bool create,
                          TpkXMLKind kind = TpkXMLKind::Element);

    TpkXMLNode& AddChild(std::u16string_view name, TpkXMLKind kind = TpkXMLKind::Element);

    // Frees the last child and its subtree, when there is one.
    void RemoveLastChild();

    int ChildCount() const { return count_; }
    // Null for a position outside 0 .. ChildCount() - 1.
    TpkXMLNode* Child(int i);
    const TpkXMLNode* Child(int i) const;

    // Frees all children and empties Text.
    void Clear();

private:
    // A child's texts live where its siblings do.
    struct ChildMemory {
        std::pmr::memory_resource* memory;
    };
    explicit TpkXMLNode(ChildMemory parent);

    TpkXMLNode* Block(int block) const;
    void TakeContent(TpkXMLNode&& other) noexcept;
    // Frees the subtree without recursion, so no depth of tree can exhaust the stack.
    void ReleaseChildren() noexcept;

    // Children live in blocks of 1, 8, 16, 32, ... nodes that never move, so a node with n
    // children costs about log2(n) allocations. A block's slots are constructed as children
    // are appended.
    TpkXMLNode* firstBlock_ = nullptr;
    TpkXMLNode* secondBlock_ = nullptr;
    std::vector<TpkXMLNode*> moreBlocks_;  // blocks 2, 3, ...
    int count_ = 0;
    std::pmr::memory_resource* memory_ = std::pmr::get_default_resource();  // of the children
    // Made at the first look-up among many children, extended to later children as they are
    // looked up, dropped when a child goes.
    struct ChildIndex;
    struct ChildIndexDeleter {
        void operator()(ChildIndex* index) const noexcept;
    };
    mutable std::unique_ptr<ChildIndex, ChildIndexDeleter> index_;
};

}  // namespace oplix
