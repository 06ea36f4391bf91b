#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace oplix {

// One attribute of an XML element; the value is kept with its entities resolved.
struct TpkXMLAttr {
    std::u16string Name;
    std::u16string Value;
};

// The attributes of one element in document order. Attributes with the same name are all kept.
class TpkXMLAttrs {
public:
    TpkXMLAttrs() = default;
    TpkXMLAttrs(const TpkXMLAttrs&) = default;
    TpkXMLAttrs& operator=(const TpkXMLAttrs&) = default;
    // A moved-from list is empty.
    TpkXMLAttrs(TpkXMLAttrs&& other) noexcept;
    TpkXMLAttrs& operator=(TpkXMLAttrs&& other) noexcept;

    void Add(TpkXMLAttr attr);
    // Appends an attribute built in place and returns it.
    TpkXMLAttr& Add(std::u16string_view name, std::u16string_view value);
    void Clear();
    int Count() const { return count_; }

    // Null for a position outside 0 .. Count() - 1.
    const TpkXMLAttr* Item(int i) const;
    TpkXMLAttr* Item(int i);

private:
    // Most elements have at most one attribute; it is kept without an allocation of its own.
    TpkXMLAttr first_;
    std::vector<TpkXMLAttr> rest_;
    int count_ = 0;
};

}  // namespace oplix
