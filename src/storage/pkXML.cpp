#include "storage/pkXML.h"

#include <cstdio>
#include <utility>

#include "storage/FileHandle.h"
#include "storage/pkXMLParser.h"
#include "storage/pkXMLText.h"
#include "storage/pkXMLWriter.h"

namespace oplix {
TpkXML::TpkXML()
    : arena_(std::make_unique<TpkXMLArena>()), root_(std::make_unique<TpkXMLNode>(arena_.get())) {
    root_->Closed = true;
}

bool TpkXML::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    failureOffset_ = 0;
    if (bytes.empty()) {
        return false;
    }
    root_->Clear();
    root_->CData.clear();
    arena_->Reset();  // the nodes just freed were all that lived there
    if (bytes.size() < 2) {
        return false;
    }
    Unicode = bytes[0] == 0xFF && bytes[1] == 0xFE;
    const XMLParseOutcome outcome = ParseXMLText(DecodeXMLText(bytes, Unicode), *root_);
    if (!outcome.complete) {
        failureOffset_ = Unicode ? 2 + outcome.stopByte : outcome.stopByte / 2;
    }
    return outcome.complete;
}

bool TpkXML::LoadFromFile(const std::string& fileName) {
    const Result<Bytes> bytes = ReadWholeFile(fileName);
    return bytes.ok() && LoadFromBytes(*bytes);
}

Bytes TpkXML::SaveToBytes() const {
    Bytes out;
    SaveToStream(out);
    return out;
}

void TpkXML::SaveToStream(Bytes& out) const {
    WriteXMLDocument(*this, out);
}

Status TpkXML::SaveToFile(const std::string& fileName) const {
    const Bytes bytes = SaveToBytes();
    std::FILE* file = std::fopen(fileName.c_str(), "wb");
    if (file == nullptr) {
        return ErrnoError("cannot create " + fileName);
    }
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    Error error = written ? Error{} : ErrnoError("cannot write " + fileName);
    if (std::fclose(file) != 0 && written) {
        return ErrnoError("cannot write " + fileName);
    }
    if (!written) {
        return error;
    }
    return Success();
}

TpkXMLNode* TpkXML::FindTopNode(std::u16string_view name, bool create, TpkXMLKind kind) {
    return root_->FindChild(name, create, kind);
}

}  // namespace oplix
