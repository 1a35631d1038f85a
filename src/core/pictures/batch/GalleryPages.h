#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "pictures/batch/PictureBatch.h"

// The pages of a picture gallery: the overview with the small pictures, one page
// per picture with back, up and forward arrows, and the instruction page. Texts are
// built as UTF-8 and handed out as Windows-1252 with CR LF, as the pages are stored.
namespace pictra::pictures::batch {

struct GalleryOptions {
    std::string heading = "Bildergalerie";  // UTF-8
    std::string name = "galerie";           // the overview's file name without ".html"
    bool labels = false;
    int perRow = 3;
    int border = 1;
    bool navigation = false;
    int navigationHeight = 0;  // the large pictures' height on their pages; up to 9: their own
    bool logo = false;         // the logo file exists in the parent folder
};

// The logo of the overview's head, looked for in the gallery's parent folder.
inline constexpr const char* kLogoName = "wappen.gif";

// One small picture of the overview with what belongs to it.
struct GalleryEntry {
    std::string small;         // "zz_" + base + ".jpg"
    std::string large;         // the original of any format
    std::string page;          // "zzz_" + large's base + ".html"
    std::optional<Size> size;  // the small picture's, when it could be read
};

// The gallery's entries from the folder's file names in sorted order: every
// "zz_" picture whose original is there (same base name, the same extension
// preferred, then ".gif", then any other), in the order of the list.
std::vector<GalleryEntry> galleryEntries(const std::vector<std::string>& sortedNames,
                                         const std::function<std::optional<Size>(const std::string&)>& sizeOf);

// A file name as an href/src value: "&", "\"", "<" as entities; "#", "?", "%",
// characters outside Windows-1252 and bytes that are no UTF-8 percent-encoded.
std::string urlValue(const std::string& name);
// A text for the page: "&", "\"", "<" as entities, characters outside Windows-1252 as "&#N;".
std::string pageText(const std::string& utf8);
// The label over a picture: its name without extension, upper case, "_" as blanks, "AE" as "Ä" …
std::string labelOf(const std::string& largeName);
// The heading proposed for a large picture: its base name upper case with "_" as blanks.
std::string proposedHeading(const std::string& largeName);
// "dd.mm.yyyy".
std::string germanShortDate(int year, int month, int day);

// The pages, Windows-1252 with CR LF.
std::string overviewPage(const std::vector<GalleryEntry>& entries, const GalleryOptions& options,
                         const std::string& date);
// The page of entry `index`; `heading` UTF-8, empty for none.
std::string picturePage(const std::vector<GalleryEntry>& entries, std::size_t index, const GalleryOptions& options,
                        const std::string& heading);
std::string instructionPage();

// "Reihenfolge der Bilder anpassen": the picture pages in the order of the overview's
// lines (each line holding "zzz_" … ".html"), and one page rebuilt with its new
// neighbours (cyclic, so the caller passes the last page before the first); nullopt
// when the page holds no picture line of its own.
std::vector<std::string> pageOrder(const std::string& overview);
std::optional<std::string> rebuiltPage(const std::string& oldPage, const std::string& pageName,
                                       const std::string& previous, const std::string& next,
                                       const GalleryOptions& options);

// The pictures a gallery folder holds for the wizard: originals (not "zz_…", not
// "zzz…") and the small pictures, file names only.
bool isGalleryOriginal(const std::string& name);
bool isSmallPicture(const std::string& name);
// "zz_" + base name + ".jpg".
std::string smallNameOf(const std::string& original);

}  // namespace pictra::pictures::batch
