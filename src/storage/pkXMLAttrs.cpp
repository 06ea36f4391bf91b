#include "storage/pkXMLAttrs.h"

#include <utility>

namespace oplix {

TpkXMLAttrs::TpkXMLAttrs(TpkXMLAttrs&& other) noexcept
    : first_(std::move(other.first_)),
      rest_(std::move(other.rest_)),
      count_(std::exchange(other.count_, 0)) {
    other.rest_.clear();
}

TpkXMLAttrs& TpkXMLAttrs::operator=(TpkXMLAttrs&& other) noexcept {
    if (this != &other) {
        first_ = std::move(other.first_);
        rest_ = std::move(other.rest_);
        count_ = std::exchange(other.count_, 0);
        other.rest_.clear();
    }
    return *this;
}

void TpkXMLAttrs::Add(TpkXMLAttr attr) {
    if (count_ == 0) {
        first_ = std::move(attr);
    } else {
        rest_.push_back(std::move(attr));
    }
    ++count_;
}

TpkXMLAttr& TpkXMLAttrs::Add(std::u16string_view name, std::u16string_view value) {
    // Built before it is counted, so a failed allocation leaves the list as it was.
    TpkXMLAttr made{std::u16string(name), std::u16string(value)};
    TpkXMLAttr& attr =
        count_ == 0 ? (first_ = std::move(made)) : rest_.emplace_back(std::move(made));
    ++count_;
    return attr;
}

void TpkXMLAttrs::Clear() {
    first_ = TpkXMLAttr{};
    rest_.clear();
    count_ = 0;
}

const TpkXMLAttr* TpkXMLAttrs::Item(int i) const {
    if (i < 0 || i >= count_) {
        return nullptr;
    }
    return i == 0 ? &first_ : &rest_[static_cast<std::size_t>(i - 1)];
}

TpkXMLAttr* TpkXMLAttrs::Item(int i) {
    return const_cast<TpkXMLAttr*>(std::as_const(*this).Item(i));
}

}  // namespace oplix
