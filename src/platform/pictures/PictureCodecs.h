#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "pictures/Bitmap32.h"

// Reading and writing picture bytes with the libraries made for each format:
// libjpeg-turbo, giflib and libheif here (no Qt, so the fuzz targets can take them alone),
// the other formats through Qt (QtPictureCodecs.h).
namespace pictra::platform::pictures {

using pictra::pictures::Bitmap32;

// A file that is not a readable picture of the expected format.
class PictureError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The most memory a picture may take as a bitmap: 256 megapixels, never more
// than a quarter of the memory still available, nor more than maxBitmapBytes().
// The decoders' own allocations are capped by the same figure.
std::uint64_t pictureBudgetBytes();
// Throws BitmapTooLarge (with the size) when width × height would pass the budget:
// checked from the header, before anything of that size is made.
void checkPictureBudget(long long width, long long height);

// A decode given up because nobody wants its picture any longer (the user went on).
class DecodeAbandoned : public std::runtime_error {
public:
    DecodeAbandoned() : std::runtime_error("Bild wurde nicht geladen") {}
};
// The flag that tells the decoders on this thread to stop between row bands
// (nullptr: never). They then throw DecodeAbandoned.
void setDecodeAbandonFlag(const std::atomic<bool>* flag);
bool decodeAbandoned();

struct JpegPicture {
    Bitmap32 bitmap;
    std::string exif;  // the APP1 segment as read, written back on saving
    int fullWidth = 0;
    int fullHeight = 0;
    bool truncated = false;  // the data ended before the picture: the rest is grey
};

// Told about a JPEG while it is decoded, so that work on the rows already there
// can run beside the decoder.
class DecodeObserver {
public:
    virtual ~DecodeObserver() = default;
    virtual void started(const Bitmap32& bitmap) = 0;  // sized; its rows still coming
    virtual void rowsDone(int rows) = 0;
};

// Width and height from the header; nullopt for bytes that are no JPEG.
std::optional<std::pair<int, int>> jpegSize(std::string_view bytes);
// Decodes at scaleEighths / 8 of the full size (1..8) through the DCT scaling.
// Throws PictureError, or BitmapTooLarge for a picture beyond the budget.
JpegPicture decodeJpeg(std::string_view bytes, int scaleEighths = 8);
// The same into a picture the caller owns (it outlives a failure, for whoever reads its rows).
void decodeJpegInto(std::string_view bytes, int scaleEighths, JpegPicture& result, DecodeObserver* observer);
// The smallest scale in eighths whose picture is still at least twice the target
// in both directions (8 when the target is larger than half the picture).
int jpegScaleFor(int fullWidth, int fullHeight, int targetWidth, int targetHeight);
std::string encodeJpeg(const Bitmap32& bitmap, int quality, const std::string& exif = {});
// How a JPEG is written beyond the quality: every writer of JPEG bytes goes through here.
struct JpegEncoding {
    int quality = 0;  // 0: the encoder's default
    bool grey = false;
    bool progressive = false;
    bool fullChroma = false;  // no chroma subsampling
    std::string exif;         // an APP1 segment written as it is
};
std::string encodeJpegAs(const Bitmap32& bitmap, const JpegEncoding& how);

// The primary picture of a HEIF file (a phone's HEIC), turned and mirrored as the file
// says, with its alpha when it has one. Throws PictureError, or BitmapTooLarge.
Bitmap32 decodeHeif(std::string_view bytes);

// The first frame on its logical screen; transparent pixels get alpha 0. A frame
// whose data ends early is kept as far as it goes and sets `truncated`.
Bitmap32 decodeGif(std::string_view bytes, bool* truncated = nullptr);
// 256 colours chosen for the picture.
std::string encodeGif(const Bitmap32& bitmap);

}  // namespace pictra::platform::pictures
