#include <algorithm>
#include <memory>
#include <cstring>
#include <vector>

#include <gif_lib.h>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

struct MemoryReader {
    std::string_view bytes;
    std::size_t offset = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max(length, 0)),
                                                reader->bytes.size() - reader->offset);
    std::memcpy(out, reader->bytes.data() + reader->offset, n);
    reader->offset += n;
    return static_cast<int>(n);
}

int writeToString(GifFileType* gif, const GifByteType* data, int length) {
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data),
                                                     static_cast<std::size_t>(length));
    return length;
}

// giflib has no text for some codes (and none for 0).
std::string gifError(int code) {
    const char* text = GifErrorString(code);
    return text ? text : "Fehler " + std::to_string(code);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

}  // namespace

namespace {

[[noreturn]] void unreadable(const GifFileType* gif) {
    throw PictureError(std::string("Keine lesbare GIF-Datei: ") + gifError(gif->Error));
}

// Skips an extension; the graphic control block before the first image tells its transparent colour.
void readExtension(GifFileType* gif, int& transparent) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) unreadable(gif);
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        GraphicsControlBlock control{};
        if (DGifExtensionToGCB(block[0], block + 1, &control) == GIF_OK) transparent = control.TransparentColor;
    }
    while (block) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) unreadable(gif);
    }
}

}  // namespace

// Record by record rather than DGifSlurp, which would hold every frame at its
// stated size: only the first frame is read, and only after its size and the
// screen's have been checked against the budget.
Bitmap32 decodeGif(std::string_view bytes, bool* truncated) {
    MemoryReader reader{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) throw PictureError(std::string("Keine lesbare GIF-Datei: ") + gifError(error));
    checkPictureBudget(gif->SWidth, gif->SHeight);
    int transparent = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK) unreadable(gif.get());
        if (type == EXTENSION_RECORD_TYPE) {
            readExtension(gif.get(), transparent);
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) break;
        if (DGifGetImageDesc(gif.get()) != GIF_OK) unreadable(gif.get());
        const GifImageDesc d = gif->Image;
        if (d.Width <= 0 || d.Height <= 0) throw PictureError("Keine lesbare GIF-Datei: leeres Bild");
        checkPictureBudget(d.Width, d.Height);
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        if (!map) throw PictureError("Keine lesbare GIF-Datei: keine Farbtabelle");
        // A screen of no size takes the frame's.
        const int width = gif->SWidth > 0 ? gif->SWidth : d.Left + d.Width;
        const int height = gif->SHeight > 0 ? gif->SHeight : d.Top + d.Height;
        checkPictureBudget(width, height);
        Bitmap32 bitmap(std::max(width, 1), std::max(height, 1));
        bitmap.clear(0x00FFFFFF);
        std::vector<GifPixelType> line(static_cast<std::size_t>(d.Width));
        // Interlaced rows come in four passes.
        static const int kStart[] = {0, 4, 2, 1};
        static const int kStep[] = {8, 8, 4, 2};
        const int passes = d.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int first = d.Interlace ? kStart[pass] : 0;
            const int step = d.Interlace ? kStep[pass] : 1;
            for (int y = first; y < d.Height; y += step) {
                if (DGifGetLine(gif.get(), line.data(), d.Width) != GIF_OK) {
                    // The data ends inside the frame: what came is shown.
                    if (truncated) *truncated = true;
                    return bitmap;
                }
                const int ty = d.Top + y;
                if (ty < 0 || ty >= bitmap.height()) continue;
                pictra::pictures::Color32* row = bitmap.row(ty);
                for (int x = 0; x < d.Width; ++x) {
                    const int tx = d.Left + x;
                    const int index = line[static_cast<std::size_t>(x)];
                    if (tx < 0 || tx >= bitmap.width() || index == transparent || index >= map->ColorCount) continue;
                    const GifColorType& c = map->Colors[index];
                    row[tx] = 0xFF000000u | (pictra::pictures::Color32{c.Red} << 16) |
                              (pictra::pictures::Color32{c.Green} << 8) | c.Blue;
                }
            }
        }
        return bitmap;
    }
    throw PictureError("Keine lesbare GIF-Datei: kein Bild");
}

std::string encodeGif(const Bitmap32& bitmap) {
    if (bitmap.empty()) throw PictureError("Ein leeres Bild kann nicht gespeichert werden.");
    const std::size_t count = static_cast<std::size_t>(bitmap.width()) * static_cast<std::size_t>(bitmap.height());
    std::vector<GifByteType> red(count), green(count), blue(count), indices(count);
    for (std::size_t i = 0; i < count; ++i) {
        const auto p = bitmap.bits()[i];
        red[i] = static_cast<GifByteType>(p >> 16);
        green[i] = static_cast<GifByteType>(p >> 8);
        blue[i] = static_cast<GifByteType>(p);
    }
    int colours = 256;
    std::vector<GifColorType> palette(256);
    if (GifQuantizeBuffer(static_cast<unsigned>(bitmap.width()), static_cast<unsigned>(bitmap.height()), &colours,
                          red.data(), green.data(), blue.data(), indices.data(), palette.data()) != GIF_OK) {
        throw PictureError("GIF-Datei kann nicht geschrieben werden.");
    }
    std::string out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeToString, &error);
    if (!gif) throw PictureError(std::string("GIF-Datei kann nicht geschrieben werden: ") + gifError(error));
    ColorMapObject* map = GifMakeMapObject(256, palette.data());
    bool ok = map && EGifPutScreenDesc(gif, bitmap.width(), bitmap.height(), 8, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, bitmap.width(), bitmap.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < bitmap.height(); ++y) {
        ok = EGifPutLine(gif, indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width()),
                         bitmap.width()) == GIF_OK;
    }
    if (map) GifFreeMapObject(map);
    ok = EGifCloseFile(gif, &error) == GIF_OK && ok;
    if (!ok) throw PictureError("GIF-Datei kann nicht geschrieben werden.");
    return out;
}

}  // namespace pictra::platform::pictures
