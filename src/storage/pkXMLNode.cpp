#include "storage/pkXMLNode.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "storage/CaseMapping.h"

namespace oplix {
namespace {

// Block 0 holds the first child alone, so a node with one child costs no more than the child;
// block b > 0 holds kSecondBlockSize * 2^(b - 1) children.
constexpr int kSecondBlockSize = 8;
// Below this many children a plain scan is as quick as an index.
constexpr int kIndexedFrom = 32;

std::u16string UpperCase(std::u16string_view name) {
    std::u16string upper(name.size(), u'\0');
    std::transform(name.begin(), name.end(), upper.begin(), UpperChar);
    return upper;
}

int BlockSize(int block) {
    return block == 0 ? 1 : kSecondBlockSize << (block - 1);
}

int BlockStart(int block) {
    return block == 0 ? 0 : 1 + kSecondBlockSize * ((1 << (block - 1)) - 1);
}

struct Slot {
    int block;
    int offset;
};

Slot Locate(int index) {
    if (index == 0) {
        return {0, 0};
    }
    const int block = std::bit_width(static_cast<unsigned>((index - 1) / kSecondBlockSize) + 1);
    return {block, index - BlockStart(block)};
}

TpkXMLNode* AllocateBlock(std::pmr::memory_resource* memory, int block) {
    return std::pmr::polymorphic_allocator<TpkXMLNode>(memory).allocate(
        static_cast<std::size_t>(BlockSize(block)));
}

void DeallocateBlock(std::pmr::memory_resource* memory, TpkXMLNode* nodes, int block) {
    std::pmr::polymorphic_allocator<TpkXMLNode>(memory).deallocate(
        nodes, static_cast<std::size_t>(BlockSize(block)));
}

// A block on its way to being freed, with the number of its slots that hold nodes.
struct FilledBlock {
    TpkXMLNode* nodes;
    std::pmr::memory_resource* memory;
    int block;
    int used;
};

}  // namespace

TpkXMLNode::TpkXMLNode(std::u16string_view name, TpkXMLKind kind) : Name(name), Kind(kind) {}

TpkXMLNode::TpkXMLNode(ChildMemory parent)
    : Name(parent.memory), Text(parent.memory), CData(parent.memory), memory_(parent.memory) {}

TpkXMLNode::~TpkXMLNode() {
    ReleaseChildren();
}

TpkXMLNode::TpkXMLNode(TpkXMLNode&& other) noexcept {
    TakeContent(std::move(other));
}

TpkXMLNode& TpkXMLNode::operator=(TpkXMLNode&& other) noexcept {
    if (this != &other) {
        ReleaseChildren();
        TakeContent(std::move(other));
    }
    return *this;
}

void TpkXMLNode::TakeContent(TpkXMLNode&& other) noexcept {
    Name = std::move(other.Name);
    Text = std::move(other.Text);
    CData = std::move(other.CData);
    Kind = other.Kind;
    Data = std::move(other.Data);
    Closed = other.Closed;
    Attrs = std::move(other.Attrs);
    firstBlock_ = std::exchange(other.firstBlock_, nullptr);
    secondBlock_ = std::exchange(other.secondBlock_, nullptr);
    moreBlocks_ = std::move(other.moreBlocks_);
    other.moreBlocks_.clear();
    count_ = std::exchange(other.count_, 0);
    memory_ = other.memory_;  // where the children just taken live
    index_ = std::move(other.index_);
}

// Each child's name in upper case, mapped to the first child of that name.
struct TpkXMLNode::ChildIndex {
    std::unordered_map<std::u16string, int> first;
    int covered = 0;  // children 0 .. covered - 1 are in the map
};

void TpkXMLNode::ChildIndexDeleter::operator()(ChildIndex* index) const noexcept {
    delete index;
}

int TpkXMLNode::IndexOfChild(std::u16string_view name) const {
    if (count_ < kIndexedFrom) {
        for (int i = 0; i < count_; ++i) {
            if (EqualsIgnoreCase(Child(i)->Name, name)) {
                return i;
            }
        }
        return -1;
    }
    if (!index_) {
        index_.reset(new ChildIndex());
    }
    for (; index_->covered < count_; ++index_->covered) {
        index_->first.emplace(UpperCase(Child(index_->covered)->Name), index_->covered);
    }
    const auto found = index_->first.find(UpperCase(name));
    return found == index_->first.end() ? -1 : found->second;
}

TpkXMLNode* TpkXMLNode::FindChild(std::u16string_view name, bool create, TpkXMLKind kind) {
    const int index = IndexOfChild(name);
    if (index >= 0) {
        return Child(index);
    }
    return create ? &AddChild(name, kind) : nullptr;
}

TpkXMLNode& TpkXMLNode::AddChild(std::u16string_view name, TpkXMLKind kind) {
    const Slot slot = Locate(count_);
    if (slot.offset == 0) {
        if (slot.block == 0) {
            firstBlock_ = AllocateBlock(memory_, 0);
        } else if (slot.block == 1) {
            secondBlock_ = AllocateBlock(memory_, 1);
        } else {
            moreBlocks_.reserve(moreBlocks_.size() + 1);  // so the push below cannot fail
            moreBlocks_.push_back(AllocateBlock(memory_, slot.block));
        }
    }
    TpkXMLNode* const nodes = Block(slot.block);
    // Counted as soon as it exists, so an exception from the name below cannot leak it.
    TpkXMLNode& child =
        *::new (static_cast<void*>(nodes + slot.offset)) TpkXMLNode(ChildMemory{memory_});
    ++count_;
    if (!name.empty()) {  // the parser appends nameless children and names them as it reads
        child.Name = name;
    }
    child.Kind = kind;
    return child;
}

void TpkXMLNode::RemoveLastChild() {
    if (count_ == 0) {
        return;
    }
    std::destroy_at(Child(count_ - 1));
    --count_;
    index_.reset();
    const Slot slot = Locate(count_);
    if (slot.offset == 0) {
        if (slot.block == 0) {
            DeallocateBlock(memory_, std::exchange(firstBlock_, nullptr), 0);
        } else if (slot.block == 1) {
            DeallocateBlock(memory_, std::exchange(secondBlock_, nullptr), 1);
        } else {
            DeallocateBlock(memory_, moreBlocks_.back(), slot.block);
            moreBlocks_.pop_back();
        }
    }
}

TpkXMLNode* TpkXMLNode::Child(int i) {
    return const_cast<TpkXMLNode*>(std::as_const(*this).Child(i));
}

const TpkXMLNode* TpkXMLNode::Child(int i) const {
    if (i < 0 || i >= count_) {
        return nullptr;
    }
    const Slot slot = Locate(i);
    return Block(slot.block) + slot.offset;
}

TpkXMLNode* TpkXMLNode::Block(int block) const {
    switch (block) {
        case 0:
            return firstBlock_;
        case 1:
            return secondBlock_;
        default:
            return moreBlocks_[static_cast<std::size_t>(block - 2)];
    }
}

void TpkXMLNode::Clear() {
    ReleaseChildren();
    Text.clear();
}

// Takes the blocks of every node out before destroying it, so destructors never recurse.
// Blocks are freed in document order, the order in which loading allocated them.
void TpkXMLNode::ReleaseChildren() noexcept {
    index_.reset();
    if (count_ == 0) {
        return;  // most nodes are leaves
    }
    std::vector<FilledBlock> pending;  // a stack: the block to free next is at the back
    const auto takeBlocks = [&pending](TpkXMLNode& node) {
        if (node.count_ == 0) {
            return;
        }
        for (int block = Locate(node.count_ - 1).block; block >= 0; --block) {
            const int used = std::min(node.count_ - BlockStart(block), BlockSize(block));
            pending.push_back({node.Block(block), node.memory_, block, used});
        }
        node.firstBlock_ = nullptr;
        node.secondBlock_ = nullptr;
        node.moreBlocks_.clear();
        node.count_ = 0;
    };
    takeBlocks(*this);
    while (!pending.empty()) {
        const FilledBlock filled = pending.back();
        pending.pop_back();
        // Each node is destroyed as soon as its blocks are taken, while it is in the cache.
        for (int i = filled.used - 1; i >= 0; --i) {
            takeBlocks(filled.nodes[i]);
            std::destroy_at(filled.nodes + i);
        }
        DeallocateBlock(filled.memory, filled.nodes, filled.block);
    }
}

}  // namespace oplix
