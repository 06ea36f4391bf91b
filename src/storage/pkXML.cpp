#include "storage/pkXML.h"

#include <array>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "storage/Cp1250.h"
#include "storage/pkXMLParser.h"
#include "storage/pkXMLWriter.h"

namespace oplix {
namespace {

using CodePageTable = std::array<char16_t, 256>;

const CodePageTable& Cp1250Table() {
    static const CodePageTable table = [] {
        CodePageTable made{};
        for (unsigned byte = 0; byte < made.size(); ++byte) {
            made[byte] = Cp1250ToChar(static_cast<unsigned char>(byte));
        }
        return made;
    }();
    return table;
}

// The 16-bit text of a file: UTF-16 little-endian after the mark FF FE (an odd last byte is
// ignored), otherwise Windows-1250, one character per byte.
std::u16string DecodeText(std::span<const std::uint8_t> bytes, bool unicode) {
    std::u16string text;
    if (unicode) {
        text.resize((bytes.size() - 2) / 2);
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(text.data(), bytes.data() + 2, text.size() * sizeof(char16_t));
        } else {
            for (std::size_t i = 0; i < text.size(); ++i) {
                text[i] = static_cast<char16_t>(bytes[2 + 2 * i] | (bytes[3 + 2 * i] << 8));
            }
        }
    } else {
        const CodePageTable& table = Cp1250Table();
        text.resize(bytes.size());
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = table[bytes[i]];
        }
    }
    return text;
}

Error FileError(const char* action, const std::string& fileName) {
    const int code = errno;
    return Error{code,
                 std::string("cannot ") + action + " " + fileName + ": " + std::strerror(code)};
}

Result<Bytes> ReadFile(const std::string& fileName) {
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (file == nullptr) {
        return FileError("open", fileName);
    }
    Bytes bytes;
    std::uint8_t chunk[65536];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + count);
    }
    const bool failed = std::ferror(file) != 0;
    Error error = failed ? FileError("read", fileName) : Error{};
    std::fclose(file);
    if (failed) {
        return error;
    }
    return bytes;
}

}  // namespace

TpkXML::TpkXML() : root_(std::make_unique<TpkXMLNode>()) {
    root_->Closed = true;
}

bool TpkXML::LoadFromBytes(std::span<const std::uint8_t> bytes) {
    failureOffset_ = 0;
    if (bytes.empty()) {
        return false;
    }
    root_->Clear();
    root_->CData.clear();
    if (bytes.size() < 2) {
        return false;
    }
    Unicode = bytes[0] == 0xFF && bytes[1] == 0xFE;
    const XMLParseOutcome outcome = ParseXMLText(DecodeText(bytes, Unicode), *root_);
    if (!outcome.complete) {
        failureOffset_ = Unicode ? 2 + outcome.stopByte : outcome.stopByte / 2;
    }
    return outcome.complete;
}

bool TpkXML::LoadFromFile(const std::string& fileName) {
    const Result<Bytes> bytes = ReadFile(fileName);
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
        return FileError("create", fileName);
    }
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    Error error = written ? Error{} : FileError("write", fileName);
    if (std::fclose(file) != 0 && written) {
        return FileError("write", fileName);
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
