#include "storage/JpegWriter.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

// jpeglib.h expects size_t and FILE to be declared before it.
#include <jpeglib.h>

#include <jerror.h>

// The JPEG library reports errors by calling error_exit, which must not return; it jumps back
// with longjmp. The jump starts in the callbacks below and lands in Compress, whose frame
// holds only trivially destructible objects. The compressed bytes grow in a malloc'd buffer
// owned by the session, so nothing with a destructor is skipped; WriteJpeg copies them out.

namespace oplix {
namespace {

constexpr std::size_t kFirstBufferSize = 64 * 1024;

struct Output {
    jpeg_destination_mgr manager;
    unsigned char* buffer;
    std::size_t capacity;
    std::size_t size;  // set when the compressor is done
};

struct Session {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    Output output;
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

void IgnoreMessage(j_common_ptr, int) {}
void OutputNothing(j_common_ptr) {}

Output& OutputOf(j_compress_ptr info) {
    return SessionOf(reinterpret_cast<j_common_ptr>(info)).output;
}

void StartOutput(j_compress_ptr info) {
    Output& output = OutputOf(info);
    output.manager.next_output_byte = output.buffer;
    output.manager.free_in_buffer = output.capacity;
}

// Called when the whole buffer is full: doubles it.
boolean GrowOutput(j_compress_ptr info) {
    Output& output = OutputOf(info);
    const std::size_t capacity = output.capacity * 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(output.buffer, capacity));
    if (grown == nullptr) {
        ERREXIT1(info, JERR_OUT_OF_MEMORY, 0);
    }
    output.manager.next_output_byte = grown + output.capacity;
    output.manager.free_in_buffer = capacity - output.capacity;
    output.buffer = grown;
    output.capacity = capacity;
    return TRUE;
}

void FinishOutput(j_compress_ptr info) {
    Output& output = OutputOf(info);
    output.size = output.capacity - output.manager.free_in_buffer;
}

bool PrepareSession(Session& session) {
    session.message[0] = '\0';
    session.info.err = jpeg_std_error(&session.errors);
    session.info.client_data = &session;
    session.errors.error_exit = Fail;
    session.errors.emit_message = IgnoreMessage;
    session.errors.output_message = OutputNothing;
    session.output.buffer = static_cast<unsigned char*>(std::malloc(kFirstBufferSize));
    session.output.capacity = kFirstBufferSize;
    session.output.size = 0;
    session.output.manager.init_destination = StartOutput;
    session.output.manager.empty_output_buffer = GrowOutput;
    session.output.manager.term_destination = FinishOutput;
    return session.output.buffer != nullptr;
}

struct Source {
    const std::uint8_t* rgb;  // rows of width * 3 bytes, top to bottom
    JDIMENSION width;
    JDIMENSION height;
    int quality;
};

// Creates the compressor and writes the whole picture. The compressor must be destroyed
// also when this fails.
bool Compress(Session& session, const Source& source) {
    if (setjmp(session.jump) != 0) {
        return false;
    }
    jpeg_compress_struct& info = session.info;
    jpeg_create_compress(&info);
    info.dest = &session.output.manager;
    info.image_width = source.width;
    info.image_height = source.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, source.quality, TRUE);
    // Drawings with thin coloured lines lose too much with halved chroma.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(source.width) * 3;
    while (info.next_scanline < info.image_height) {
        auto row = const_cast<JSAMPROW>(source.rgb + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

// The bitmap's pixels as Rgb24 rows; an Rgb24 bitmap is used as it is.
const Bitmap& AsRgb(const Bitmap& picture, Bitmap& converted) {
    if (picture.Format() == PixelFormat::Rgb24) {
        return picture;
    }
    converted = picture;
    converted.SetFormat(PixelFormat::Rgb24);
    return converted;
}

}  // namespace

Result<Bytes> WriteJpeg(const Bitmap& picture, int quality) {
    if (quality < 1 || quality > 100) {
        return Error{0, "JPEG: quality " + std::to_string(quality) + " is outside 1 to 100"};
    }
    if (picture.Width() == 0 || picture.Height() == 0) {
        return Error{0, "JPEG: an empty picture cannot be written"};
    }
    Bitmap converted;
    const Bitmap& rgb = AsRgb(picture, converted);
    Session session{};
    if (!PrepareSession(session)) {
        return Error{ENOMEM, "JPEG: out of memory"};
    }
    const bool written = Compress(session, {rgb.Row(0).data(), static_cast<JDIMENSION>(rgb.Width()),
                                            static_cast<JDIMENSION>(rgb.Height()), quality});
    jpeg_destroy_compress(&session.info);
    const std::unique_ptr<unsigned char, decltype(&std::free)> buffer(session.output.buffer,
                                                                      &std::free);
    if (!written) {
        return Error{0, std::string("JPEG: ") + session.message};
    }
    return Bytes(buffer.get(), buffer.get() + session.output.size);
}

}  // namespace oplix
