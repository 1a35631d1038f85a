// Phone photos in HEIF (HEIC): libheif in the process, HEVC through its libde265.
// The library is opened on the first HEIF picture only: linked in, it and the encoders it
// brings (x265, aom) would double the start of every run, --version included.
#include <dlfcn.h>
#include <libheif/heif.h>

#include <memory>
#include <new>

#include "PictureCodecs.h"

namespace pictra::platform::pictures {

namespace {

struct Heif {
    decltype(&heif_init) init = nullptr;
    decltype(&heif_context_alloc) contextAlloc = nullptr;
    decltype(&heif_context_free) contextFree = nullptr;
    decltype(&heif_context_read_from_memory_without_copy) readFromMemory = nullptr;
    decltype(&heif_context_get_primary_image_handle) primaryHandle = nullptr;
    decltype(&heif_image_handle_release) handleRelease = nullptr;
    decltype(&heif_image_handle_get_width) handleWidth = nullptr;
    decltype(&heif_image_handle_get_height) handleHeight = nullptr;
    decltype(&heif_decoding_options_alloc) optionsAlloc = nullptr;
    decltype(&heif_decoding_options_free) optionsFree = nullptr;
    decltype(&heif_decode_image) decode = nullptr;
    decltype(&heif_image_release) imageRelease = nullptr;
    decltype(&heif_image_get_width) imageWidth = nullptr;
    decltype(&heif_image_get_height) imageHeight = nullptr;
    decltype(&heif_image_get_plane_readonly) plane = nullptr;
    bool ready = false;
};

template <typename F>
bool bind(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

// Opened once for the whole run, from whichever thread reads the first HEIF picture.
const Heif& heif() {
    static const Heif loaded = [] {
        Heif h;
        void* library = dlopen("libheif.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!library)
            return h;
        h.ready = bind(library, "heif_init", h.init) && bind(library, "heif_context_alloc", h.contextAlloc) &&
                  bind(library, "heif_context_free", h.contextFree) &&
                  bind(library, "heif_context_read_from_memory_without_copy", h.readFromMemory) &&
                  bind(library, "heif_context_get_primary_image_handle", h.primaryHandle) &&
                  bind(library, "heif_image_handle_release", h.handleRelease) &&
                  bind(library, "heif_image_handle_get_width", h.handleWidth) &&
                  bind(library, "heif_image_handle_get_height", h.handleHeight) &&
                  bind(library, "heif_decoding_options_alloc", h.optionsAlloc) &&
                  bind(library, "heif_decoding_options_free", h.optionsFree) &&
                  bind(library, "heif_decode_image", h.decode) && bind(library, "heif_image_release", h.imageRelease) &&
                  bind(library, "heif_image_get_width", h.imageWidth) &&
                  bind(library, "heif_image_get_height", h.imageHeight) &&
                  bind(library, "heif_image_get_plane_readonly", h.plane);
        // Reference-counted by the library; kept for the whole run.
        h.ready = h.ready && h.init(nullptr).code == heif_error_Ok;
        return h;
    }();
    return loaded;
}

struct ContextFree {
    void operator()(heif_context* c) const { heif().contextFree(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif().handleRelease(h); }
};
struct ImageFree {
    void operator()(heif_image* i) const { heif().imageRelease(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif().optionsFree(o); }
};

void check(const heif_error& error) {
    if (error.code != heif_error_Ok)
        throw PictureError(std::string("Keine lesbare HEIF-Datei: ") + error.message);
}

}  // namespace

Bitmap32 decodeHeif(std::string_view bytes) {
    const Heif& h = heif();
    if (!h.ready)
        throw PictureError("HEIF-Bilder können nicht gelesen werden (libheif fehlt: Paket libheif1).");
    const std::unique_ptr<heif_context, ContextFree> context(h.contextAlloc());
    if (!context)
        throw std::bad_alloc();
    check(h.readFromMemory(context.get(), bytes.data(), bytes.size(), nullptr));
    heif_image_handle* rawHandle = nullptr;
    check(h.primaryHandle(context.get(), &rawHandle));
    const std::unique_ptr<heif_image_handle, HandleFree> handle(rawHandle);
    // The size as shown (turns and mirrors of the file applied), refused before decoding.
    checkPictureBudget(h.handleWidth(handle.get()), h.handleHeight(handle.get()));
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(h.optionsAlloc());
    heif_image* rawImage = nullptr;
    check(h.decode(handle.get(), &rawImage, heif_colorspace_RGB, heif_chroma_interleaved_RGBA, options.get()));
    const std::unique_ptr<heif_image, ImageFree> image(rawImage);
    const int width = h.imageWidth(image.get(), heif_channel_interleaved);
    const int height = h.imageHeight(image.get(), heif_channel_interleaved);
    int stride = 0;
    const std::uint8_t* plane = h.plane(image.get(), heif_channel_interleaved, &stride);
    if (!plane || width <= 0 || height <= 0)
        throw PictureError("Keine lesbare HEIF-Datei: das Bild ist leer.");
    checkPictureBudget(width, height);
    Bitmap32 bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* in = plane + static_cast<std::ptrdiff_t>(y) * stride;
        pictra::pictures::Color32* out = bitmap.row(y);
        for (int x = 0; x < width; ++x, in += 4) {
            out[x] = static_cast<pictra::pictures::Color32>(in[3]) << 24 |
                     static_cast<pictra::pictures::Color32>(in[0]) << 16 |
                     static_cast<pictra::pictures::Color32>(in[1]) << 8 | in[2];
        }
    }
    return bitmap;
}

}  // namespace pictra::platform::pictures
