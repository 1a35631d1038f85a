#pragma once

#include <optional>
#include <string>
#include <string_view>

// Which names and bytes are pictures.
namespace pictra::pictures {

// The lower-cased name contains ".bmp", ".ico", ".gif", ".jpg", ".png", ".tif",
// ".jpe", ".wmf" or ".jp0" anywhere (so "x.jpg.txt" counts too).
bool isPictureFile(std::string_view name);

enum class Signature { Unknown, Jpeg, Gif, Bmp, Png };
// From the first bytes of a file: FF D8, "GIF", "BM", "PNG" behind its first byte.
Signature signatureOf(std::string_view firstBytes);

// A picture whose bytes say another format than its extension: the question to
// ask and the name to rename it to.
struct WrongExtension {
    std::string question;
    std::string newPath;
};
std::optional<WrongExtension> wrongExtension(const std::string& path, std::string_view firstBytes);

}  // namespace pictra::pictures
