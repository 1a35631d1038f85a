#pragma once

#include <optional>
#include <string>
#include <string_view>

// Turning a JPEG a quarter without decoding it (TurboJPEG's transform, in-process).
namespace pictra::platform::pictures {

// The JPEG turned a quarter right or left with every marker kept; nullopt when no
// perfect transform exists (a size that is not a whole number of blocks) or the
// bytes are no JPEG TurboJPEG can read.
std::optional<std::string> turnJpegLossless(std::string_view jpeg, bool right);

// Turns the file in place: losslessly when a perfect transform exists and the
// picture is stored upright (orientation 1), otherwise decoded, set upright,
// turned and written again at quality 91 with orientation 1. Written through a
// temporary file and a rename, so a failure leaves the file as it was.
// True when the turn was lossless. Throws PictureError.
bool turnJpegFile(const std::string& path, bool right);

}  // namespace pictra::platform::pictures
