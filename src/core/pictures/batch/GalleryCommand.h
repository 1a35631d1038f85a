#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"
#include "pictures/batch/GalleryPages.h"

// The gallery wizard's "Start": names, small pictures, pages.
namespace pictra::pictures::batch {

// What the wizard needs of picture files. makeSmall is called from two threads at once.
class GalleryIo {
public:
    virtual ~GalleryIo() = default;
    // The small picture of `source` at `height` (width in proportion, at least 1),
    // upright, JPEG at `quality`; throws std::exception with a German text.
    virtual void makeSmall(const std::string& source, const std::string& target, int height, int quality) = 0;
    // A picture file's size from its header; nullopt when it cannot be read.
    virtual std::optional<Size> sizeOf(const std::string& path) = 0;
    // The three arrows "zzzweiter_l.gif", "zzzweiter_r.gif", "zzzweiter_o.gif" into the folder.
    virtual void writeArrows(const std::string& folder) = 0;
};

struct GalleryRequest {
    std::string folder;  // without a trailing "/"
    GalleryOptions options;
    int quality = 65;
    int smallHeight = 200;
    std::string date;           // the German short date
    std::string journalFolder;  // where a rename plan keeps its record
    // "Für alle übernehmen": every picture page gets its proposed heading unasked.
    bool headingsForAll = false;
};

struct GalleryResult {
    std::string overviewPath;  // empty when no gallery was written
    std::string overviewText;  // Windows-1252
};

// Renames the folder's pictures to lower-case names free of umlauts and blanks
// (never replacing a file), makes the small pictures two at a time under the cancel
// window "Kleine Bilder" (a click: the two in hand finish, no gallery), then writes
// the pages; headings are asked per picture with navigation. Failures are reported
// together at the end, in the order of the files.
GalleryResult makeGallery(const GalleryRequest& request, GalleryIo& io, Dialogs& dialogs);

// The heading proposed for a large picture: the text of its caption file (".jp0",
// lines joined by blanks, UTF-8) when that holds any, else its name as a heading.
std::string headingFor(const std::string& folder, const std::string& largeName);
// The caption file's text as one heading line, UTF-8; empty when it holds no text.
std::string captionHeading(const std::string& captionBytes);

// The names a gallery's pictures get: lower case, umlauts and blanks mapped.
std::string galleryName(const std::string& name);

}  // namespace pictra::pictures::batch
