#pragma once

// Builders of small pictures for the decoder tests and the fuzz seeds: BMP files assembled
// byte by byte, JPEG and GIF files written by the libraries' own encoders.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>

#include "storage/Bitmap.h"
#include "storage/Bytes.h"

namespace oplix::testing_pictures {

inline void PutU16(Bytes& bytes, std::uint32_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void PutU32(Bytes& bytes, std::uint32_t value) {
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

inline void SetU16(Bytes& bytes, std::size_t at, std::uint32_t value) {
    bytes[at] = static_cast<std::uint8_t>(value);
    bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void SetU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    SetU16(bytes, at, value & 0xFFFF);
    SetU16(bytes, at + 2, value >> 16);
}

// ---- BMP ----------------------------------------------------------------------------------

struct BmpFixture {
    std::uint32_t headerSize = 40;  // 12, 40, 108 or 124
    std::int32_t width = 1;
    std::int32_t height = 1;  // negative: top-down
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<Rgb> palette;
    std::optional<std::uint32_t> colorsUsed;  // default: the palette's size
    // R, G, B masks: inside a 108/124-byte header, after a 40-byte one.
    std::vector<std::uint32_t> masks;
    Bytes gapBeforePixels;                    // bytes between the palette and the pixel data
    std::optional<std::uint32_t> dataOffset;  // default: where the pixels really start
    Bytes pixels;                             // as stored in the file
};

inline Bytes BuildBmp(const BmpFixture& fixture) {
    Bytes info;
    const bool core = fixture.headerSize == 12;
    PutU32(info, fixture.headerSize);
    if (core) {
        PutU16(info, static_cast<std::uint32_t>(fixture.width));
        PutU16(info, static_cast<std::uint32_t>(fixture.height));
        PutU16(info, 1);
        PutU16(info, fixture.bits);
    } else {
        PutU32(info, static_cast<std::uint32_t>(fixture.width));
        PutU32(info, static_cast<std::uint32_t>(fixture.height));
        PutU16(info, 1);
        PutU16(info, fixture.bits);
        PutU32(info, fixture.compression);
        PutU32(info, static_cast<std::uint32_t>(fixture.pixels.size()));
        PutU32(info, 2835);
        PutU32(info, 2835);
        PutU32(info,
               fixture.colorsUsed.value_or(static_cast<std::uint32_t>(fixture.palette.size())));
        PutU32(info, 0);
        const bool masksInside = fixture.headerSize >= 52;
        if (masksInside || !fixture.masks.empty()) {
            for (std::uint32_t mask : fixture.masks) {
                PutU32(info, mask);
            }
        }
        if (fixture.headerSize <= 124) {  // an unknown size is written as it is, with 40 bytes
            info.resize(std::max<std::size_t>(info.size(), fixture.headerSize), 0);
        }
    }
    for (const Rgb& entry : fixture.palette) {
        info.push_back(entry.b);
        info.push_back(entry.g);
        info.push_back(entry.r);
        if (!core) {
            info.push_back(0);
        }
    }
    info.insert(info.end(), fixture.gapBeforePixels.begin(), fixture.gapBeforePixels.end());

    Bytes file = {'B', 'M'};
    const auto pixelsAt = static_cast<std::uint32_t>(14 + info.size());
    PutU32(file, static_cast<std::uint32_t>(pixelsAt + fixture.pixels.size()));
    PutU32(file, 0);
    PutU32(file, fixture.dataOffset.value_or(pixelsAt));
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), fixture.pixels.begin(), fixture.pixels.end());
    return file;
}

// Rows as stored, each padded with zeros to a multiple of 4 bytes.
inline Bytes PaddedRows(const std::vector<Bytes>& rows) {
    Bytes bytes;
    for (const Bytes& row : rows) {
        bytes.insert(bytes.end(), row.begin(), row.end());
        bytes.resize(bytes.size() + (4 - row.size() % 4) % 4, 0);
    }
    return bytes;
}

// ---- JPEG ---------------------------------------------------------------------------------

struct JpegFixture {
    int width = 16;
    int height = 16;
    int components = 3;
    J_COLOR_SPACE colorSpace = JCS_RGB;
    int quality = 95;
    bool progressive = false;
    bool adobeMarker = true;  // only written for CMYK
    bool subsample = false;   // 2x2 chroma subsampling; otherwise none
    // A valid progressive script of over 2000 scans: every coefficient of every component
    // alone, one bit at a time.
    bool manyScans = false;
};

inline std::vector<jpeg_scan_info> OneBitScans(int components) {
    constexpr int kTopBit = 10;  // the encoder's largest successive-approximation shift
    std::vector<jpeg_scan_info> scans;
    for (int c = 0; c < components; ++c) {
        for (int k = 0; k < 64; ++k) {
            for (int al = kTopBit; al >= 0; --al) {
                jpeg_scan_info scan{};
                scan.comps_in_scan = 1;
                scan.component_index[0] = c;
                scan.Ss = k;
                scan.Se = k;
                scan.Ah = al == kTopBit ? 0 : al + 1;
                scan.Al = al;
                scans.push_back(scan);
            }
        }
    }
    return scans;
}

// `samples` holds width * height * components bytes, rows top to bottom.
inline Bytes EncodeJpeg(const JpegFixture& fixture, const Bytes& samples) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(fixture.width);
    info.image_height = static_cast<JDIMENSION>(fixture.height);
    info.input_components = fixture.components;
    info.in_color_space = fixture.colorSpace;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, fixture.quality, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        const bool full = !fixture.subsample || c == 0;
        info.comp_info[c].h_samp_factor = full && fixture.subsample ? 2 : 1;
        info.comp_info[c].v_samp_factor = full && fixture.subsample ? 2 : 1;
    }
    if (fixture.progressive) {
        jpeg_simple_progression(&info);
    }
    const std::vector<jpeg_scan_info> scans =
        OneBitScans(fixture.manyScans ? fixture.components : 0);
    if (fixture.manyScans) {
        info.scan_info = scans.data();
        info.num_scans = static_cast<int>(scans.size());
    }
    info.write_Adobe_marker =
        fixture.colorSpace == JCS_CMYK ? fixture.adobeMarker : info.write_Adobe_marker;
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(fixture.width) * fixture.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// A picture of four flat quadrants, each `side` pixels square: top left, top right, bottom
// left, bottom right.
inline Bytes QuadrantSamples(int side, const Rgb (&colours)[4]) {
    Bytes samples;
    for (int y = 0; y < side * 2; ++y) {
        for (int x = 0; x < side * 2; ++x) {
            const Rgb& c = colours[(y / side) * 2 + x / side];
            samples.insert(samples.end(), {c.r, c.g, c.b});
        }
    }
    return samples;
}

// The offset of the first frame header's height field (SOF0 to SOF2), or 0.
inline std::size_t JpegSizeField(const Bytes& jpeg) {
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] >= 0xC0 && jpeg[i + 1] <= 0xC2) {
            return i + 5;
        }
    }
    return 0;
}

// ---- GIF ----------------------------------------------------------------------------------

struct GifImage {
    int left = 0;
    int top = 0;
    int width = 1;
    int height = 1;
    bool interlaced = false;
    std::vector<Rgb> localMap;  // a power of two entries, or none
    Bytes pixels;               // width * height indices, rows top to bottom
};

struct GifFixture {
    int width = 1;
    int height = 1;
    int background = 0;
    std::vector<Rgb> globalMap;  // a power of two entries, or none
    std::vector<GifImage> images;
    bool comment = false;  // a comment extension before the first image
};

inline int GifWrite(GifFileType* gif, const GifByteType* data, int length) {
    auto& out = *static_cast<Bytes*>(gif->UserData);
    out.insert(out.end(), data, data + length);
    return length;
}

inline ColorMapObject* GifMap(const std::vector<Rgb>& colours) {
    if (colours.empty()) {
        return nullptr;
    }
    std::vector<GifColorType> entries;
    for (const Rgb& c : colours) {
        entries.push_back({c.r, c.g, c.b});
    }
    return GifMakeMapObject(static_cast<int>(entries.size()), entries.data());
}

inline std::vector<int> GifRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    const int start[] = {0, 4, 2, 1};
    const int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass) {
        for (int y = interlaced ? start[pass] : 0; y < height; y += interlaced ? step[pass] : 1) {
            order.push_back(y);
        }
    }
    return order;
}

inline Bytes EncodeGif(const GifFixture& fixture) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifWrite, &error);
    EGifSetGifVersion(gif, true);
    ColorMapObject* global = GifMap(fixture.globalMap);
    EGifPutScreenDesc(gif, fixture.width, fixture.height, 8, fixture.background, global);
    GifFreeMapObject(global);
    if (fixture.comment) {
        EGifPutComment(gif, "made by the tests");
    }
    for (const GifImage& image : fixture.images) {
        ColorMapObject* local = GifMap(image.localMap);
        // The encoder drops the previous image's map without freeing it when this one has none.
        GifFreeMapObject(gif->Image.ColorMap);
        gif->Image.ColorMap = nullptr;
        EGifPutImageDesc(gif, image.left, image.top, image.width, image.height, image.interlaced,
                         local);
        GifFreeMapObject(local);
        for (int y : GifRowOrder(image.height, image.interlaced)) {
            Bytes line(image.pixels.begin() + y * image.width,
                       image.pixels.begin() + (y + 1) * image.width);
            EGifPutLine(gif, line.data(), image.width);
        }
    }
    EGifCloseFile(gif, &error);
    return out;
}

// Offset of the first image descriptor's separator (0x2C) in a file written by EncodeGif.
inline std::size_t GifImageDescriptor(const Bytes& gif) {
    std::size_t at = 13;
    if (gif[10] & 0x80) {
        at += 3u << ((gif[10] & 7) + 1);
    }
    while (at < gif.size() && gif[at] == 0x21) {  // extension: label, then sub-blocks
        at += 2;
        while (at < gif.size() && gif[at] != 0) {
            at += gif[at] + 1u;
        }
        ++at;
    }
    return at;
}

}  // namespace oplix::testing_pictures
