#pragma once

#include "storage/Bytes.h"

namespace oplix {

class TpkXML;

// Appends the document's layout to `out`: the byte-order mark for a UTF-16 document, then every
// top-level node, each line ended by the document's LineBreak.
void WriteXMLDocument(const TpkXML& document, Bytes& out);

}  // namespace oplix
