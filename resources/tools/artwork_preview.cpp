// Writes every bitmap, the icon and the cursor of the library as enlarged PNG files, to look at
// the artwork without running the dialog.
//
//     artwork_preview OUTPUT_DIR [SCALE]
//
// Each file shows the image twice, above on the button face grey and below on white, the way the
// transparent magenta will look in the dialog. The cursor's hot spot is marked in red.
#include "resources/artwork.h"
#include "resources/resource_ids.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

void PutBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(body.data(), body.size()));
}

// A zlib stream of uncompressed deflate blocks: bigger files, no dependency.
Bytes StoredZlib(const Bytes& raw) {
    Bytes out{0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - pos, 65535);
        const bool last = pos + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
                   raw.begin() + static_cast<std::ptrdiff_t>(pos + length));
        pos += length;
    } while (pos < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

bool WritePng(const std::string& path, int width, int height,
              const std::vector<std::uint32_t>& pixels) {
    Bytes raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0); // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t rgb = pixels[static_cast<std::size_t>(y) * width + x];
            raw.push_back(static_cast<std::uint8_t>(rgb >> 16));
            raw.push_back(static_cast<std::uint8_t>(rgb >> 8));
            raw.push_back(static_cast<std::uint8_t>(rgb));
        }
    }
    Bytes header;
    PutBigEndian(header, static_cast<std::uint32_t>(width));
    PutBigEndian(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    Bytes file{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", StoredZlib(raw));
    PutChunk(file, "IEND", {});
    std::ofstream stream(path, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(file.data()),
                 static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(stream);
}

bool WritePreview(const std::string& path, const ResourceImage& image, int scale, bool markHot) {
    constexpr std::array<std::uint32_t, 2> backgrounds{0xC0C0C0, 0xFFFFFF};
    constexpr int gap = 2;
    const int width = (image.width + 2 * gap) * scale;
    const int bandHeight = (image.height + 2 * gap) * scale;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * bandHeight * 2);
    for (int band = 0; band < 2; ++band) {
        for (int y = 0; y < bandHeight; ++y) {
            for (int x = 0; x < width; ++x) {
                const int sx = x / scale - gap;
                const int sy = y / scale - gap;
                std::uint32_t rgb = backgrounds[band];
                if (sx >= 0 && sx < image.width && sy >= 0 && sy < image.height) {
                    const std::uint32_t pixel =
                        image.pixels[static_cast<std::size_t>(sy) * image.width + sx];
                    if (pixel != kTransparentColour) {
                        rgb = pixel;
                    }
                    const bool centre = x % scale == scale / 2 && y % scale == scale / 2;
                    if (markHot && centre && sx == image.hotX && sy == image.hotY) {
                        rgb = 0xFF0000;
                    }
                }
                out[static_cast<std::size_t>(band * bandHeight + y) * width + x] = rgb;
            }
        }
    }
    return WritePng(path, width, bandHeight * 2, out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [SCALE]\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    const int scale = argc > 2 ? std::atoi(argv[2]) : 8;
    if (scale < 1 || scale > 64) {
        std::fprintf(stderr, "scale must be 1 to 64\n");
        return 2;
    }
    struct Item {
        const char* name;
        const ResourceImage* image;
        bool cursor;
    };
    const std::array<Item, 5> items{{
        {"bitmap_128.png", FindBitmapResource(IDB_TOOLBAR), false},
        {"bitmap_132.png", FindBitmapResource(IDB_SMALL_IMAGES), false},
        {"bitmap_26019.png", FindBitmapResource(IDB_LARGE_IMAGES), false},
        {"icon_128.png", FindIconResource(IDI_EXPLORER), false},
        {"cursor_130.png", FindCursorResource(IDC_SPLITTER), true},
    }};
    int failures = 0;
    for (const Item& item : items) {
        const std::string path = dir + "/" + item.name;
        if (item.image == nullptr || !WritePreview(path, *item.image, scale, item.cursor)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            ++failures;
        } else {
            std::printf("%s\n", path.c_str());
        }
    }
    return failures == 0 ? 0 : 1;
}
