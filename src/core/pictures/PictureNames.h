#pragma once

#include <optional>
#include <string>
#include <string_view>

// Which names and bytes are pictures.
namespace pictra::pictures {

// The lower-cased name contains ".bmp", ".ico", ".gif", ".jpg", ".png", ".tif",
// ".jpe", ".wmf" or ".jp0" anywhere (so "x.jpg.txt" counts too), or ends in one of
// the phone formats ".heic", ".heif", ".webp" (an ending only, so "x.webpage.html" is none).
bool isPictureFile(std::string_view name);
// A phone format that is read but never written (".heic", ".heif", ".webp" at the end).
bool isReadOnlyPicture(std::string_view name);

enum class Signature { Unknown, Jpeg, Gif, Bmp, Png, Heif, Webp };
// From the first bytes of a file: FF D8, "GIF", "BM", "PNG" behind its first byte,
// an ISO box "ftyp" at 4 with a HEIF brand (heic, heix, hevc, hevx, heim, heis, mif1,
// msf1), "RIFF" with "WEBP" at 8.
Signature signatureOf(std::string_view firstBytes);

// A picture whose bytes say another format than its extension: the question to
// ask and the name to rename it to.
struct WrongExtension {
    std::string question;
    std::string newPath;
};
std::optional<WrongExtension> wrongExtension(const std::string& path, std::string_view firstBytes);

}  // namespace pictra::pictures
