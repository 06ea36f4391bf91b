#include "storage/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <string>

// jpeglib.h expects size_t and FILE to be declared before it, and jerror.h the configuration
// that jpeglib.h brings.
#include <jpeglib.h>

#include <jerror.h>

#include "storage/PictureLimits.h"

// The JPEG library reports errors by calling error_exit, which must not return; it jumps back
// with longjmp. Every frame a jump may leave holds only trivially destructible objects: the
// jumps start in the callbacks below and land in DecodeHeader or DecodePixels, which keep
// C++ objects out of their frames. The bitmap is made between the two, outside any jump.

namespace oplix {
namespace {

constexpr int kMaxScans = 1000;
// The library's own buffers; a progressive picture keeps all its coefficients in memory.
constexpr long kMaxLibraryMemory = 768L * 1024 * 1024;

struct Session {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

Session& SessionOf(j_common_ptr info) {
    return *static_cast<Session*>(info->client_data);
}

[[noreturn]] void Fail(j_common_ptr info) {
    Session& session = SessionOf(info);
    if (session.message[0] == '\0') {
        (*info->err->format_message)(info, session.message);
    }
    std::longjmp(session.jump, 1);
}

// Compressed data that end early or are damaged leave the rest of the picture grey, so they
// fail the decoding. Other warnings (bytes between markers, an unknown header revision, an
// odd progression) leave a usable picture.
bool IsFatalWarning(int code) {
    switch (code) {
        case JWRN_JPEG_EOF:
        case JWRN_HIT_MARKER:
        case JWRN_MUST_RESYNC:
        case JWRN_HUFF_BAD_CODE:
        case JWRN_ARITH_BAD_CODE:
            return true;
        default:
            return false;
    }
}

// Level -1 is a warning; other levels are trace messages. Nothing is printed.
void EmitMessage(j_common_ptr info, int level) {
    if (level < 0 && IsFatalWarning(info->err->msg_code)) {
        Fail(info);
    }
}

void OutputNothing(j_common_ptr) {}

// A crafted progressive picture can hold a great many tiny scans, each costing a pass over
// all coefficients.
void LimitScans(j_common_ptr info) {
    const auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        std::snprintf(SessionOf(info).message, JMSG_LENGTH_MAX, "more than %d scans", kMaxScans);
        Fail(info);
    }
}

void PrepareSession(Session& session) {
    session.message[0] = '\0';
    session.info.err = jpeg_std_error(&session.errors);
    // jpeg_create_decompress keeps err and client_data, and may already fail.
    session.info.client_data = &session;
    session.errors.error_exit = Fail;
    session.errors.emit_message = EmitMessage;
    session.errors.output_message = OutputNothing;
    session.progress = {};
    session.progress.progress_monitor = LimitScans;
}

// Creates the decompressor and reads the header. The decompressor must be destroyed also
// when this fails.
bool DecodeHeader(Session& session, const std::uint8_t* data, unsigned long size) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    jpeg_create_decompress(&session.info);
    session.info.progress = &session.progress;
    session.info.mem->max_memory_to_use = kMaxLibraryMemory;
    jpeg_mem_src(&session.info, data, size);
    jpeg_read_header(&session.info, TRUE);
    return true;
}

bool IsCmyk(const jpeg_decompress_struct& info) {
    return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

// Adobe's programs store CMYK inverted (0 is full ink) and say so with their marker.
void CmykToRgb(const JSAMPLE* cmyk, std::uint8_t* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const unsigned ink = inverted ? cmyk[channel] : 255u - cmyk[channel];
            rgb[channel] = static_cast<std::uint8_t>((ink * k + 127) / 255);
        }
    }
}

struct Target {
    std::uint8_t* pixels;  // Rgb24, rows of width * 3 bytes
    JDIMENSION width;
    JDIMENSION height;
};

void ReadRows(Session& session, const Target& target) {
    jpeg_decompress_struct& info = session.info;
    const bool cmyk = IsCmyk(info);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_width != target.width || info.output_height != target.height ||
        info.output_components != (cmyk ? 4 : 3)) {
        std::snprintf(session.message, JMSG_LENGTH_MAX, "unexpected output layout");
        Fail(reinterpret_cast<j_common_ptr>(&info));
    }
    JSAMPARRAY cmykRow = nullptr;
    if (cmyk) {
        cmykRow = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                            target.width * 4, 1);
    }
    const std::size_t stride = static_cast<std::size_t>(target.width) * 3;
    while (info.output_scanline < target.height) {
        JSAMPROW row = target.pixels + info.output_scanline * stride;
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            CmykToRgb(cmykRow[0], row, target.width, info.saw_Adobe_marker);
        } else {
            jpeg_read_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_decompress(&info);
}

// Decodes every row and reads on to the end of the picture.
bool DecodePixels(Session& session, const Target& target) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    ReadRows(session, target);
    return true;
}

Error JpegError(const Session& session) {
    return Error{0, std::string("JPEG: ") + session.message};
}

}  // namespace

Result<Bitmap> DecodeJpeg(std::span<const std::uint8_t> data) {
    Session session{};
    PrepareSession(session);
    if (!DecodeHeader(session, data.data(), static_cast<unsigned long>(data.size()))) {
        jpeg_destroy_decompress(&session.info);
        return JpegError(session);
    }
    // The header holds 16-bit sides.
    const JDIMENSION width = session.info.image_width;
    const JDIMENSION height = session.info.image_height;
    Result<Bitmap> bitmap =
        Bitmap::Create(static_cast<int>(width), static_cast<int>(height), PixelFormat::Rgb24);
    if (!bitmap) {
        jpeg_destroy_decompress(&session.info);
        return bitmap.error();
    }
    const bool decoded = DecodePixels(session, {bitmap->Row(0).data(), width, height});
    jpeg_destroy_decompress(&session.info);
    if (!decoded) {
        return JpegError(session);
    }
    return bitmap;
}

}  // namespace oplix
