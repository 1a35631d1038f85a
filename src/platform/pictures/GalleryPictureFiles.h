#pragma once

#include "pictures/batch/GalleryCommand.h"

namespace pictra::platform::pictures {

// The gallery's small pictures from libjpeg-turbo's scaled decode (no less than
// twice the small height) resampled by Lanczos, upright, with date and camera kept.
class GalleryPictureFiles : public pictra::pictures::batch::GalleryIo {
public:
    void makeSmall(const std::string& source, const std::string& target, int height, int quality) override;
    std::optional<pictra::pictures::batch::Size> sizeOf(const std::string& path) override;
    void writeArrows(const std::string& folder) override;
};

}  // namespace pictra::platform::pictures
