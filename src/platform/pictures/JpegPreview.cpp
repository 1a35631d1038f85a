#include "JpegPreview.h"

#include <QSysInfo>
#include <algorithm>
#include <climits>
#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <thread>

#include <jpeglib.h>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

struct ErrorExit {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorExit*>(info->err)->jump, 1); }
// A damaged photo is still shown as far as it goes: in a preview box that is all one wants.
void onMessage(j_common_ptr, int) {}

thread_local const std::atomic<bool>* t_hold = nullptr;

// Between row bands: a held decode sleeps until it may go on or is given up.
void waitWhileHeld() {
    while (t_hold && t_hold->load(std::memory_order_relaxed) && !decodeAbandoned())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool startsAsJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

// QImage::Format_RGB32 in memory order, with the byte Qt ignores set to 0xFF by the decoder.
J_COLOR_SPACE rgb32Order() { return QSysInfo::ByteOrder == QSysInfo::LittleEndian ? JCS_EXT_BGRA : JCS_EXT_ARGB; }

// No object with a destructor lives in the frames a libjpeg error jumps over.
bool readHeader(jpeg_decompress_struct& info, ErrorExit& errors, std::string_view bytes, QSize box) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = static_cast<long>(std::min<std::uint64_t>(pictureBudgetBytes(), LONG_MAX));
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.scale_num = static_cast<unsigned>(
        eighthsCovering(static_cast<int>(info.image_width), static_cast<int>(info.image_height), box));
    info.scale_denom = 8;
    // Reduced, the fast IDCT and the plain upsampling differ from the exact ones by less than
    // a pixel of the box can show. A picture decoded at its own size keeps the exact ones.
    if (info.scale_num < 8) {
        info.dct_method = JDCT_IFAST;
        info.do_fancy_upsampling = FALSE;
    }
    info.out_color_space = rgb32Order();
    jpeg_calc_output_dimensions(&info);
    return true;
}

enum class Rows { Done, Failed, Abandoned };

Rows readRows(jpeg_decompress_struct& info, ErrorExit& errors, QImage& image) {
    if (setjmp(errors.jump)) return Rows::Failed;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        waitWhileHeld();
        // A picture nobody waits for any longer stops here, so that the wanted one gets the core.
        if (decodeAbandoned()) return Rows::Abandoned;
        JSAMPROW rows[16];
        const int first = static_cast<int>(info.output_scanline);
        const int count = std::min(16, static_cast<int>(info.output_height) - first);
        for (int i = 0; i < count; ++i) rows[i] = image.scanLine(first + i);
        jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count));
    }
    jpeg_finish_decompress(&info);
    return Rows::Done;
}

}  // namespace

void setPreviewHoldFlag(const std::atomic<bool>* flag) { t_hold = flag; }

int eighthsCovering(int width, int height, QSize box) {
    const QSize fitted = QSize(width, height).scaled(box, Qt::KeepAspectRatio);
    for (int m = 1; m < 8; ++m)
        if ((static_cast<long long>(width) * m + 7) / 8 >= fitted.width() &&
            (static_cast<long long>(height) * m + 7) / 8 >= fitted.height())
            return m;
    return 8;
}

std::optional<QImage> decodeJpegPreview(std::string_view bytes, QSize box) {
    if (!startsAsJpeg(bytes)) return std::nullopt;
    jpeg_decompress_struct info{};
    ErrorExit errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    QImage image;
    if (readHeader(info, errors, bytes, box)) {
        try {
            // The whole picture counts, even when it is decoded smaller: libjpeg's buffers are full size.
            checkPictureBudget(info.image_width, info.image_height);
            image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                           QImage::Format_RGB32);
        } catch (const pictra::pictures::BitmapTooLarge&) {
        }
    }
    const Rows rows = image.isNull() ? Rows::Failed : readRows(info, errors, image);
    jpeg_destroy_decompress(&info);
    if (rows == Rows::Abandoned) throw DecodeAbandoned();
    if (rows == Rows::Failed) return QImage();
    return image;
}

}  // namespace pictra::platform::pictures
