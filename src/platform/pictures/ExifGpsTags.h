#pragma once

#include <string>
#include <string_view>

#include "pictures/batch/GalleryUpload.h"

// GPS tags of JPEG files through libexif: only the EXIF segment is rewritten, the
// compressed picture data is copied as it is.
namespace pictra::platform::pictures {

class ExifGpsTags : public pictra::pictures::batch::GpsTags {
public:
    bool has(const std::string& path) override;
    void remove(const std::string& path) override;
};

// The file's bytes without GPS tags; the same bytes when there are none. Throws
// std::runtime_error with a German text when the EXIF block cannot be rewritten.
std::string withoutGps(const std::string& jpeg);
bool hasGps(std::string_view jpeg);

}  // namespace pictra::platform::pictures
