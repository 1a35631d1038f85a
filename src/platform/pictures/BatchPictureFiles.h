#pragma once

#include "pictures/batch/PictureBatch.h"

namespace pictra::platform::pictures {

// The batch commands' pictures on disk: read as the picture windows read them and
// turned upright; JPEG results through the one encoder, the rest by extension.
class BatchPictureFiles : public pictra::pictures::batch::PictureIo {
public:
    pictra::pictures::batch::Picture load(const std::string& path) override;
    // A JPEG for a smaller result is decoded at the smallest DCT scale that still covers
    // the hinted size, and is left for the caller to resample from there.
    pictra::pictures::batch::Picture load(const std::string& path,
                                          const pictra::pictures::batch::SizeHint& hint) override;
    void save(const std::string& path, const pictra::pictures::Bitmap32& bitmap,
              const pictra::pictures::batch::Encoding& how, const std::string& exif) override;
    // The caption file's own styles over the caption defaults a new caption gets; needs a
    // QGuiApplication for its fonts.
    void drawCaption(pictra::pictures::Bitmap32& result, const std::string& picturePath) override;
};

}  // namespace pictra::platform::pictures
