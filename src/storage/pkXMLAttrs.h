#pragma once

#include <string>
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
    void Add(TpkXMLAttr attr);
    void Clear();
    int Count() const;

    // Null for a position outside 0 .. Count() - 1.
    const TpkXMLAttr* Item(int i) const;
    TpkXMLAttr* Item(int i);

private:
    std::vector<TpkXMLAttr> items_;
};

}  // namespace oplix
