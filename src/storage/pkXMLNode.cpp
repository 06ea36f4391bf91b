#include "storage/pkXMLNode.h"

#include <utility>

#include "storage/CaseMapping.h"

namespace oplix {

TpkXMLNode::TpkXMLNode(std::u16string_view name, TpkXMLKind kind) : Name(name), Kind(kind) {}

TpkXMLNode::~TpkXMLNode() {
    ReleaseChildren();
}

TpkXMLNode& TpkXMLNode::operator=(TpkXMLNode&& other) noexcept {
    if (this != &other) {
        ReleaseChildren();
        Name = std::move(other.Name);
        Text = std::move(other.Text);
        CData = std::move(other.CData);
        Kind = other.Kind;
        Data = std::move(other.Data);
        Closed = other.Closed;
        Attrs = std::move(other.Attrs);
        children_ = std::move(other.children_);
    }
    return *this;
}

int TpkXMLNode::IndexOfChild(std::u16string_view name) const {
    for (std::size_t i = 0; i < children_.size(); ++i) {
        if (EqualsIgnoreCase(children_[i]->Name, name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

TpkXMLNode* TpkXMLNode::FindChild(std::u16string_view name, bool create, TpkXMLKind kind) {
    const int index = IndexOfChild(name);
    if (index >= 0) {
        return children_[static_cast<std::size_t>(index)].get();
    }
    return create ? &AddChild(name, kind) : nullptr;
}

TpkXMLNode& TpkXMLNode::AddChild(std::u16string_view name, TpkXMLKind kind) {
    return AppendChild(std::make_unique<TpkXMLNode>(name, kind));
}

TpkXMLNode& TpkXMLNode::AppendChild(std::unique_ptr<TpkXMLNode> child) {
    children_.push_back(std::move(child));
    return *children_.back();
}

int TpkXMLNode::ChildCount() const {
    return static_cast<int>(children_.size());
}

TpkXMLNode* TpkXMLNode::Child(int i) {
    return i >= 0 && i < ChildCount() ? children_[static_cast<std::size_t>(i)].get() : nullptr;
}

const TpkXMLNode* TpkXMLNode::Child(int i) const {
    return i >= 0 && i < ChildCount() ? children_[static_cast<std::size_t>(i)].get() : nullptr;
}

void TpkXMLNode::Clear() {
    ReleaseChildren();
    Text.clear();
}

void TpkXMLNode::ReleaseChildren() noexcept {
    std::vector<std::unique_ptr<TpkXMLNode>> pending = std::move(children_);
    children_.clear();
    while (!pending.empty()) {
        std::unique_ptr<TpkXMLNode> node = std::move(pending.back());
        pending.pop_back();
        for (auto& child : node->children_) {
            pending.push_back(std::move(child));
        }
        node->children_.clear();
    }
}

}  // namespace oplix
