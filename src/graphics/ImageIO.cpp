// Picture decoding and the 24-bit bitmap writer.
#include "graphics/ImageIO.h"

#include "core/Files.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <jpeglib.h>

namespace tovani {

namespace {

PictureResult Fail(std::string why) {
    PictureResult r;
    r.error = std::move(why);
    return r;
}

bool SizeAcceptable(int64_t w, int64_t h) {
    return w > 0 && h > 0 && w <= PixelBuffer::kMaxDimension && h <= PixelBuffer::kMaxDimension &&
           w * h <= PixelBuffer::kMaxPixels;
}

std::string SizeError(int64_t w, int64_t h) {
    if (w <= 0 || h <= 0) {
        return "the picture has no pixels (" + std::to_string(w) + " x " + std::to_string(h) + ")";
    }
    return "the picture is too large (" + std::to_string(w) + " x " + std::to_string(h) + ")";
}

// ---------------------------------------------------------------------------------------------
// JPEG

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// libjpeg only warns about corrupt or missing data and fills the rest with grey; we would show
// a damaged picture as if it were whole, so a warning ends decoding like an error.
void JpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0) {
        JpegErrorExit(cinfo);
    }
}

void JpegOutputMessage(j_common_ptr) {}

// Everything that must survive the long jump lives outside the function that calls setjmp.
struct JpegState {
    jpeg_decompress_struct cinfo{};
    JpegErrorManager err{};
    PixelBuffer picture;
    std::vector<unsigned char> row;
};

// `cover`: when set, the picture is reduced while it is decoded, by eighths, to the smallest size
// that is still at least cover->first x cover->second (never enlarged).
bool DecodeJpegInto(JpegState& s, std::string_view bytes, std::string& error,
                    std::optional<std::pair<int, int>> cover = std::nullopt) {
    s.cinfo.err = jpeg_std_error(&s.err.pub);
    s.err.pub.error_exit = JpegErrorExit;
    s.err.pub.emit_message = JpegEmitMessage;
    s.err.pub.output_message = JpegOutputMessage;
    s.err.message[0] = 0;
    if (setjmp(s.err.jump)) {
        error = s.err.message[0] ? s.err.message : "the JPEG data is damaged";
        return false;
    }
    jpeg_create_decompress(&s.cinfo);
    // A progressive picture keeps all its coefficients while it is read: past this libjpeg
    // refuses it (it has no backing store) rather than take the machine's memory.
    s.cinfo.mem->max_memory_to_use = 512L * 1024 * 1024;
    jpeg_mem_src(&s.cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&s.cinfo, TRUE);
    const bool cmyk = s.cinfo.jpeg_color_space == JCS_CMYK || s.cinfo.jpeg_color_space == JCS_YCCK;
    s.cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    if (cover) {
        const int64_t fw = s.cinfo.image_width, fh = s.cinfo.image_height;
        unsigned eighths = 1;
        while (eighths < 8 && ((fw * eighths + 7) / 8 < cover->first ||
                               (fh * eighths + 7) / 8 < cover->second))
            ++eighths;
        s.cinfo.scale_num = eighths;
        s.cinfo.scale_denom = 8;
    }
    jpeg_calc_output_dimensions(&s.cinfo);
    const int64_t w = s.cinfo.output_width, h = s.cinfo.output_height;
    if (!SizeAcceptable(w, h)) {
        error = SizeError(w, h);
        return false;
    }
    jpeg_start_decompress(&s.cinfo);
    s.picture.Reset(int(w), int(h));
    s.row.resize(size_t(w) * 4);
    while (s.cinfo.output_scanline < s.cinfo.output_height) {
        const int y = int(s.cinfo.output_scanline);
        if (cmyk) {
            JSAMPROW rows[1] = {s.row.data()};
            jpeg_read_scanlines(&s.cinfo, rows, 1);
            // Adobe writes inverted CMYK; the product of the inverted ink and the key gives
            // each channel.
            Pixel* out = s.picture.ScanLine(y);
            for (int64_t x = 0; x < w; ++x) {
                const unsigned char* p = &s.row[size_t(x) * 4];
                const int k = p[3];
                out[x] = MakePixel(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
            }
        } else {
            JSAMPROW rows[1] = {reinterpret_cast<JSAMPLE*>(s.picture.ScanLine(y))};
            jpeg_read_scanlines(&s.cinfo, rows, 1);
        }
    }
    jpeg_finish_decompress(&s.cinfo);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Windows bitmaps

uint32_t U32(std::string_view b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t U16(std::string_view b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

// One colour channel described by a bit mask of a 16- or 32-bit pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;

    explicit Channel(uint32_t m = 0) : mask(m) {
        if (mask == 0) {
            return;
        }
        while (((mask >> shift) & 1u) == 0) {
            ++shift;
        }
        max = mask >> shift;
    }
    int Extract(uint32_t v) const {
        if (max == 0) {
            return 0;
        }
        uint32_t raw = (v & mask) >> shift;
        return int((uint64_t(raw) * 255 + max / 2) / max);
    }
};

// What run-length coding can plausibly pack into one byte of data (a run of 255 pixels takes
// two bytes; line ends and skips take more).
constexpr int64_t kMaxRlePixelsPerByte = 1024;

enum : uint32_t { kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6 };

// Decodes run-length coded indices into `indices` (width x height, bottom row first as stored).
// Answers false when the stream runs out or leaves the picture.
bool DecodeRle(std::string_view data, bool four, int w, int h, std::vector<uint8_t>& indices) {
    indices.assign(size_t(w) * size_t(h), 0);
    size_t at = 0;
    int x = 0, y = 0;
    auto put = [&](uint8_t v) {
        if (x < w && y < h) {
            indices[size_t(y) * size_t(w) + size_t(x)] = v;
        }
        ++x;
    };
    while (true) {
        if (at + 2 > data.size()) {
            return false;
        }
        const uint8_t count = uint8_t(data[at]), value = uint8_t(data[at + 1]);
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) {
                put(four ? ((i & 1) ? (value & 0x0F) : (value >> 4)) : value);
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            if (at + 2 > data.size()) {
                return false;
            }
            x += uint8_t(data[at]);
            y += uint8_t(data[at + 1]);
            at += 2;
        } else { // absolute run of `value` indices, padded to 16 bits
            const size_t bytes = four ? (size_t(value) + 1) / 2 : size_t(value);
            if (at + bytes > data.size()) {
                return false;
            }
            for (int i = 0; i < value; ++i) {
                uint8_t b = uint8_t(data[at + (four ? size_t(i / 2) : size_t(i))]);
                put(four ? ((i & 1) ? (b & 0x0F) : (b >> 4)) : b);
            }
            at += (bytes + 1) & ~size_t(1);
        }
        if (y > h) {
            return false;
        }
    }
}

} // namespace

PictureResult DecodeJpeg(std::string_view bytes) {
    return DecodeJpegCovering(bytes, 0, 0);
}

PictureResult DecodeJpegCovering(std::string_view bytes, int width, int height) {
    if (bytes.size() < 4) {
        return Fail("the JPEG file is empty or truncated");
    }
    auto state = std::make_unique<JpegState>();
    std::string error;
    std::optional<std::pair<int, int>> cover;
    if (width > 0 || height > 0)
        cover = std::pair{width, height};
    const bool ok = DecodeJpegInto(*state, bytes, error, cover);
    jpeg_destroy_decompress(&state->cinfo);
    if (!ok) {
        return Fail("cannot decode the JPEG picture: " + error);
    }
    PictureResult r;
    r.reduced = state->cinfo.scale_num < state->cinfo.scale_denom;
    r.picture = std::move(state->picture);
    return r;
}

PictureResult DecodeBmp(std::string_view b) {
    if (b.size() < 14 + 12 || b[0] != 'B' || b[1] != 'M') {
        return Fail("not a bitmap file");
    }
    const uint32_t dataOffset = U32(b, 10);
    const uint32_t headerSize = U32(b, 14);
    if (headerSize < 12 || 14 + uint64_t(headerSize) > b.size()) {
        return Fail("the bitmap header is damaged");
    }
    int64_t w, h;
    int bpp;
    uint32_t compression = kBiRgb, colours = 0;
    size_t paletteAt, entrySize;
    uint32_t masks[3] = {0, 0, 0};
    bool haveMasks = false;
    if (headerSize == 12) { // the old core header
        w = U16(b, 18);
        h = int16_t(U16(b, 20));
        bpp = U16(b, 24);
        paletteAt = 14 + 12;
        entrySize = 3;
    } else {
        if (headerSize < 40) {
            return Fail("the bitmap header is damaged");
        }
        w = int32_t(U32(b, 18));
        h = int32_t(U32(b, 22));
        bpp = U16(b, 28);
        compression = U32(b, 30);
        colours = U32(b, 46);
        paletteAt = 14 + headerSize;
        entrySize = 4;
        if (compression == kBiBitfields || compression == kBiAlphaBitfields) {
            if (headerSize >= 52) {
                masks[0] = U32(b, 54);
                masks[1] = U32(b, 58);
                masks[2] = U32(b, 62);
            } else {
                if (paletteAt + 12 > b.size()) {
                    return Fail("the bitmap header is truncated");
                }
                masks[0] = U32(b, paletteAt);
                masks[1] = U32(b, paletteAt + 4);
                masks[2] = U32(b, paletteAt + 8);
                paletteAt += compression == kBiAlphaBitfields ? 16 : 12;
            }
            haveMasks = true;
        }
    }
    const bool topDown = h < 0;
    if (topDown) {
        h = -h;
    }
    if (!SizeAcceptable(w, h)) {
        return Fail(SizeError(w, h));
    }
    const bool rle = compression == kBiRle8 || compression == kBiRle4;
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) {
        return Fail("unsupported bitmap depth of " + std::to_string(bpp) + " bits");
    }
    if (!(compression == kBiRgb || (compression == kBiRle8 && bpp == 8) ||
          (compression == kBiRle4 && bpp == 4) || (haveMasks && (bpp == 16 || bpp == 32)))) {
        return Fail("unsupported bitmap compression");
    }
    if (rle && topDown) {
        return Fail("the bitmap header is damaged");
    }

    // The palette: as many entries as the header says, at most 2^bpp; indices past it are black.
    std::vector<Pixel> palette;
    if (bpp <= 8) {
        size_t count = colours == 0 || colours > (1u << bpp) ? (size_t(1) << bpp) : colours;
        if (paletteAt + count * entrySize > b.size()) {
            return Fail("the bitmap palette is truncated");
        }
        palette.resize(size_t(1) << bpp, kBlack);
        for (size_t i = 0; i < count; ++i) {
            const size_t at = paletteAt + i * entrySize;
            palette[i] = MakePixel(uint8_t(b[at + 2]), uint8_t(b[at + 1]), uint8_t(b[at]));
        }
    }
    if (dataOffset >= b.size()) {
        return Fail("the bitmap has no pixel data");
    }
    const std::string_view data = b.substr(dataOffset);
    auto rowOf = [&](int64_t stored) { return int(topDown ? stored : h - 1 - stored); };

    if (rle) {
        // Runs of at most 255 pixels in two bytes: a file that claims far more pixels than its
        // data could hold is refused before anything is allocated for them.
        if (w * h > int64_t(data.size()) * kMaxRlePixelsPerByte) {
            return Fail("the bitmap claims " + std::to_string(w) + " x " + std::to_string(h) +
                        " pixels but holds only " + std::to_string(data.size()) +
                        " bytes of picture data");
        }
        PixelBuffer picture{int(w), int(h)};
        std::vector<uint8_t> indices;
        if (!DecodeRle(data, compression == kBiRle4, int(w), int(h), indices)) {
            return Fail("the bitmap data is truncated or damaged");
        }
        for (int64_t y = 0; y < h; ++y) {
            Pixel* out = picture.ScanLine(rowOf(y));
            for (int64_t x = 0; x < w; ++x) {
                out[x] = palette[indices[size_t(y * w + x)] & ((1u << bpp) - 1)];
            }
        }
        PictureResult r;
        r.picture = std::move(picture);
        return r;
    }

    const uint64_t stride = ((uint64_t(w) * uint64_t(bpp) + 31) / 32) * 4;
    if (stride * uint64_t(h) > data.size()) {
        // The last row may lack its padding in files written by careless programs.
        const uint64_t lastRow = (uint64_t(w) * uint64_t(bpp) + 7) / 8;
        if (stride * uint64_t(h - 1) + lastRow > data.size()) {
            return Fail("the bitmap data is truncated");
        }
    }
    PixelBuffer picture{int(w), int(h)};
    if (bpp == 16 && !haveMasks) {
        masks[0] = 0x7C00;
        masks[1] = 0x03E0;
        masks[2] = 0x001F;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint8_t*>(data.data()) + stride * uint64_t(y);
        Pixel* out = picture.ScanLine(rowOf(y));
        switch (bpp) {
        case 1:
        case 4:
        case 8: {
            const int perByte = 8 / bpp;
            const uint32_t mask = (1u << bpp) - 1;
            for (int64_t x = 0; x < w; ++x) {
                const uint8_t byte = row[x / perByte];
                const int shift = 8 - bpp * int(x % perByte + 1);
                out[x] = palette[(byte >> shift) & mask];
            }
            break;
        }
        case 16:
            for (int64_t x = 0; x < w; ++x) {
                const uint32_t v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
                out[x] = MakePixel(red.Extract(v), green.Extract(v), blue.Extract(v));
            }
            break;
        case 24:
            for (int64_t x = 0; x < w; ++x) {
                out[x] = MakePixel(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            }
            break;
        case 32:
            if (!haveMasks) {
                for (int64_t x = 0; x < w; ++x) {
                    out[x] = MakePixel(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                }
            } else {
                for (int64_t x = 0; x < w; ++x) {
                    uint32_t v;
                    std::memcpy(&v, row + 4 * x, 4);
                    out[x] = MakePixel(red.Extract(v), green.Extract(v), blue.Extract(v));
                }
            }
            break;
        }
    }
    PictureResult r;
    r.picture = std::move(picture);
    return r;
}

PictureResult DecodePicture(std::string_view bytes) {
    if (bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xD8) {
        return DecodeJpeg(bytes);
    }
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        return DecodeBmp(bytes);
    }
    if (bytes.empty()) {
        return Fail("the picture file is empty");
    }
    return Fail("the file is neither a JPEG picture nor a bitmap");
}

PictureResult LoadPictureFile(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return Fail("cannot read " + path);
    }
    return DecodePicture(*bytes);
}

std::string PictureHolder::Load(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        return "the file cannot be read";
    }
    return LoadBytes(*bytes, path);
}

std::string PictureHolder::LoadBytes(std::string_view bytes, const std::string& path) {
    PictureResult r = DecodePicture(bytes);
    if (!r) {
        return r.error;
    }
    picture_ = std::move(*r.picture);
    path_ = path;
    return {};
}

std::string EncodeBmp24(const PixelBuffer& picture) {
    const int w = picture.Width(), h = picture.Height();
    const size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
    const size_t dataSize = stride * size_t(h);
    std::string out(54 + dataSize, '\0');
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
        }
    };
    auto put16 = [&](size_t at, uint16_t v) {
        out[at] = char(v & 0xFF);
        out[at + 1] = char(v >> 8);
    };
    out[0] = 'B';
    out[1] = 'M';
    put32(2, uint32_t(out.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, uint32_t(dataSize));
    put32(38, 2835); // 72 dots an inch
    put32(42, 2835);
    for (int y = 0; y < h; ++y) {
        const Pixel* in = picture.ScanLine(h - 1 - y);
        char* row = out.data() + 54 + stride * size_t(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = char(BlueOf(in[x]));
            row[3 * x + 1] = char(GreenOf(in[x]));
            row[3 * x + 2] = char(RedOf(in[x]));
        }
    }
    return out;
}

} // namespace tovani
