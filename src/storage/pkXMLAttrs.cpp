#include "storage/pkXMLAttrs.h"

#include <utility>

namespace oplix {

void TpkXMLAttrs::Add(TpkXMLAttr attr) {
    items_.push_back(std::move(attr));
}

void TpkXMLAttrs::Clear() {
    items_.clear();
}

int TpkXMLAttrs::Count() const {
    return static_cast<int>(items_.size());
}

const TpkXMLAttr* TpkXMLAttrs::Item(int i) const {
    return i >= 0 && i < Count() ? &items_[static_cast<std::size_t>(i)] : nullptr;
}

TpkXMLAttr* TpkXMLAttrs::Item(int i) {
    return i >= 0 && i < Count() ? &items_[static_cast<std::size_t>(i)] : nullptr;
}

}  // namespace oplix
