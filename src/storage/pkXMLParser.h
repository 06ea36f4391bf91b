#pragma once

#include <cstddef>

#include "storage/pkXMLNode.h"
#include "storage/pkXMLText.h"

namespace oplix {

struct XMLParseOutcome {
    bool complete = false;     // the whole text parsed
    std::size_t stopByte = 0;  // where a violation stopped the parse, as a byte offset into the
                               // little-endian bytes of the text
};

// Parses `text` and appends the nodes it holds to `root`. A raw-data element reads its length
// and content from the little-endian bytes of the text, so the parse position is kept in bytes
// and may become odd after such an element.
XMLParseOutcome ParseXMLText(XMLText text, TpkXMLNode& root);

}  // namespace oplix
