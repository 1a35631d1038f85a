#include <algorithm>
#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool truncated = false;
};

void onError(j_common_ptr info) {
    auto* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Corrupt-data warnings are many for damaged files and the picture is still
// shown; only data that ends before the picture does is told to the user.
void onMessage(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) reinterpret_cast<ErrorManager*>(info->err)->truncated = true;
}

// libjpeg ran out of the memory it may use (its whole-picture buffers of a
// progressive JPEG are larger than the picture itself).
bool beyondMemory(const ErrorManager& errors) {
    return errors.base.msg_code == JERR_NO_BACKING_STORE || errors.base.msg_code == JERR_OUT_OF_MEMORY ||
           errors.base.msg_code == JERR_TFILE_CREATE;
}

const unsigned char* asBytes(std::string_view bytes) { return reinterpret_cast<const unsigned char*>(bytes.data()); }

constexpr const char* kNoJpeg = "Keine lesbare JPEG-Datei: ";

thread_local const std::atomic<bool>* t_abandon = nullptr;

// Errors jump back to the caller's setjmp with their text; warnings stay silent.
jpeg_error_mgr* errorsFor(ErrorManager& errors) {
    jpeg_error_mgr* base = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    return base;
}

}  // namespace

void setDecodeAbandonFlag(const std::atomic<bool>* flag) { t_abandon = flag; }

bool decodeAbandoned() { return t_abandon && t_abandon->load(std::memory_order_relaxed); }

std::optional<std::pair<int, int>> jpegSize(std::string_view bytes) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = errorsFor(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, asBytes(bytes), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    const std::pair<int, int> size{static_cast<int>(info.image_width), static_cast<int>(info.image_height)};
    jpeg_destroy_decompress(&info);
    return size;
}

int jpegScaleFor(int fullWidth, int fullHeight, int targetWidth, int targetHeight) {
    for (int m = 1; m < 8; ++m) {
        const long long w = (static_cast<long long>(fullWidth) * m + 7) / 8;
        const long long h = (static_cast<long long>(fullHeight) * m + 7) / 8;
        if (w >= 2LL * targetWidth && h >= 2LL * targetHeight) return m;
    }
    return 8;
}

JpegPicture decodeJpeg(std::string_view bytes, int scaleEighths) {
    JpegPicture result;
    decodeJpegInto(bytes, scaleEighths, result, nullptr);
    return result;
}

void decodeJpegInto(std::string_view bytes, int scaleEighths, JpegPicture& result, DecodeObserver* observer) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = errorsFor(errors);
    // Nothing with a destructor is created between setjmp and the last libjpeg call.
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (beyondMemory(errors)) {
            throw pictra::pictures::BitmapTooLarge("Das Bild ist zu groß für den Arbeitsspeicher (" +
                                                   std::to_string(result.fullWidth) + " × " +
                                                   std::to_string(result.fullHeight) + " Bildpunkte).");
        }
        throw PictureError(std::string(kNoJpeg) + errors.message);
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(std::min<std::uint64_t>(pictureBudgetBytes(), LONG_MAX));
    jpeg_mem_src(&info, asBytes(bytes), static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    result.fullWidth = static_cast<int>(info.image_width);
    result.fullHeight = static_cast<int>(info.image_height);
    info.out_color_space = JCS_EXT_BGRA;
    info.scale_num = static_cast<unsigned>(scaleEighths < 1 || scaleEighths > 8 ? 8 : scaleEighths);
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    jpeg_calc_output_dimensions(&info);
    try {
        // The whole picture counts, even when it is decoded smaller: its buffers are full size.
        checkPictureBudget(info.image_width, info.image_height);
        result.bitmap.setSize(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next) {
        if (m->marker == JPEG_APP0 + 1 && result.exif.empty()) {
            result.exif.assign(reinterpret_cast<const char*>(m->data), m->data_length);
        }
    }
    if (observer) observer->started(result.bitmap);
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        // A picture given up stops here, so the next one never waits for a whole decode.
        if (decodeAbandoned()) {
            jpeg_destroy_decompress(&info);
            throw DecodeAbandoned();
        }
        JSAMPROW rows[16];
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min(16, static_cast<int>(info.output_height) - first);
        for (int i = 0; i < count; ++i) rows[i] = reinterpret_cast<JSAMPROW>(result.bitmap.row(first + i));
        jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
        if (observer) observer->rowsDone(static_cast<int>(info.output_scanline));
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.truncated = errors.truncated;
}

std::string encodeJpeg(const Bitmap32& bitmap, int quality, const std::string& exif) {
    JpegEncoding how;
    how.quality = quality;
    how.exif = exif;
    return encodeJpegAs(bitmap, how);
}

std::string encodeJpegAs(const Bitmap32& bitmap, const JpegEncoding& how) {
    if (bitmap.empty()) throw PictureError("Ein leeres Bild kann nicht gespeichert werden.");
    jpeg_compress_struct info{};
    ErrorManager errors{};
    info.err = errorsFor(errors);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw PictureError(std::string("JPEG-Datei kann nicht geschrieben werden: ") + errors.message);
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(bitmap.width());
    info.image_height = static_cast<JDIMENSION>(bitmap.height());
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRA;
    jpeg_set_defaults(&info);
    if (how.quality > 0) jpeg_set_quality(&info, how.quality, TRUE);
    if (how.grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (how.fullChroma) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (how.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!how.exif.empty() && how.exif.size() <= 65533) {
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(how.exif.data()),
                          static_cast<unsigned>(how.exif.size()));
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(
            reinterpret_cast<const JSAMPLE*>(bitmap.row(static_cast<int>(info.next_scanline))));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return out;
}

}  // namespace pictra::platform::pictures
