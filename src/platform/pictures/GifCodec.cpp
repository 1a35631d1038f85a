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

Bitmap32 decodeGif(std::string_view bytes) {
    MemoryReader reader{bytes};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, readFromMemory, &error));
    if (!gif) throw PictureError(std::string("Keine lesbare GIF-Datei: ") + gifError(error));
    if (DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) {
        throw PictureError(std::string("Keine lesbare GIF-Datei: ") + gifError(gif->Error));
    }
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
    if (!map) throw PictureError("Keine lesbare GIF-Datei: keine Farbtabelle");
    int transparent = NO_TRANSPARENT_COLOR;
    GraphicsControlBlock control{};
    if (DGifSavedExtensionToGCB(gif.get(), 0, &control) == GIF_OK) transparent = control.TransparentColor;

    Bitmap32 bitmap(std::max(gif->SWidth, 1), std::max(gif->SHeight, 1));
    bitmap.clear(0x00FFFFFF);
    const GifImageDesc& d = frame.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
        const int ty = d.Top + y;
        if (ty < 0 || ty >= bitmap.height()) continue;
        for (int x = 0; x < d.Width; ++x) {
            const int tx = d.Left + x;
            if (tx < 0 || tx >= bitmap.width()) continue;
            const int index = frame.RasterBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.Width) +
                                               static_cast<std::size_t>(x)];
            if (index == transparent || index >= map->ColorCount) continue;
            const GifColorType& c = map->Colors[index];
            bitmap.row(ty)[tx] = 0xFF000000u | (pictra::pictures::Color32{c.Red} << 16) |
                                 (pictra::pictures::Color32{c.Green} << 8) | c.Blue;
        }
    }
    return bitmap;
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
