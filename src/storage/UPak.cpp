#include "storage/UPak.h"

#include "storage/BmpDecoder.h"
#include "storage/CaseMapping.h"
#include "storage/Cp1250.h"
#include "storage/GifDecoder.h"
#include "storage/JpegDecoder.h"
#include "storage/PictureDrawing.h"
#include "storage/TextLines.h"
#include "storage/Utf.h"

namespace oplix {
namespace {

enum class PictureKind { None, Jpeg, Gif, Bmp };

PictureKind KindOfPicture(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return PictureKind::None;
    }
    std::u16string extension = Utf8ToUtf16(name.substr(dot));
    for (char16_t& ch : extension) {
        ch = UpperChar(ch);
    }
    if (extension == u".JPG") {
        return PictureKind::Jpeg;
    }
    if (extension == u".GIF") {
        return PictureKind::Gif;
    }
    return extension == u".BMP" ? PictureKind::Bmp : PictureKind::None;
}

Result<Bitmap> DecodePicture(PictureKind kind, std::span<const std::uint8_t> bytes) {
    switch (kind) {
        case PictureKind::Jpeg:
            return DecodeJpeg(bytes);
        case PictureKind::Gif:
            return DecodeGif(bytes);
        default:
            return DecodeBmp(bytes);
    }
}

}  // namespace

bool OpenArchiveForReading(const std::string& fileName, TVfsPAK& archive) {
    return archive.Open(fileName, PakOpenMode::Read).ok();
}

bool CreateArchiveForWriting(const std::string& fileName, TVfsPAK& archive) {
    return archive.Open(fileName, PakOpenMode::Create).ok();
}

void ListMembers(std::vector<std::string>& target, const TVfsPAK& archive) {
    target = archive.Names();
}

bool MemberExists(std::string_view name, const TVfsPAK& archive) {
    return archive.Exists(name);
}

Result<std::optional<Bytes>> GetMember(std::string_view name, const TVfsPAK& archive) {
    return archive.ReadMemberByName(name);
}

Status PutMember(std::string_view name, std::span<const std::uint8_t> source, TVfsPAK& archive) {
    if (Status removed = archive.DeleteMemberByName(name); !removed) {
        return removed;
    }
    return archive.AddMember("", name, source);
}

Status RemoveMember(std::string_view name, TVfsPAK& archive) {
    return archive.DeleteMemberByName(name);
}

bool LoadTextMember(std::string_view name, std::vector<std::string>& lines,
                    const TVfsPAK& archive) {
    Result<std::optional<Bytes>> member = archive.ReadMemberByName(name);
    if (!member || !member->has_value()) {
        return false;
    }
    lines.clear();
    for (const std::string& line : SplitTextLines(**member)) {
        lines.push_back(Cp1250ToUtf8(line));
    }
    return true;
}

Result<bool> LoadPictureMember(std::string_view name, Bitmap& target, const TVfsPAK& archive) {
    const PictureKind kind = KindOfPicture(name);
    if (!archive.Exists(name) || kind == PictureKind::None) {
        return false;
    }
    if (kind != PictureKind::Bmp) {
        target.SetFormat(kind == PictureKind::Jpeg ? PixelFormat::Rgb24 : PixelFormat::Indexed8);
    }
    Result<std::optional<Bytes>> member = archive.ReadMemberByName(name);
    if (!member) {
        return member.error();
    }
    Result<Bitmap> picture = DecodePicture(kind, **member);
    if (!picture) {
        return picture.error();
    }
    DrawPicture(std::move(picture).value(), target);
    return true;
}

}  // namespace oplix
