#pragma once

#include <QImage>
#include <QSize>
#include <atomic>
#include <optional>
#include <string_view>

// JPEG pictures for small preview boxes (the picture boxes of the rename windows), where
// the time to the next picture counts and a box of a few hundred pixels hides any loss
// of precision: decoded at the least DCT scale that still covers the box, with the fast
// integer IDCT and plain upsampling, straight into the image that is shown. The picture
// windows keep the exact decode of PictureCodecs.h.
namespace pictra::platform::pictures {

// The least scale in eighths whose picture still covers width × height fitted into `box`.
int eighthsCovering(int width, int height, QSize box);

// nullopt: the bytes are no JPEG. A null image: a JPEG that cannot be decoded, or one too
// large for the memory. Otherwise the picture at the least covering scale, not yet fitted.
// Throws DecodeAbandoned when the thread's abandon flag is raised meanwhile.
std::optional<QImage> decodeJpegPreview(std::string_view bytes, QSize box);

// The flag that holds the preview decodes on this thread between row bands while it is
// raised (nullptr: never), so that a picture someone waits for gets the cores.
void setPreviewHoldFlag(const std::atomic<bool>* flag);

}  // namespace pictra::platform::pictures
