#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/Dialogs.h"

// Preparing a gallery for the web: links to the large pictures taken out, and
// picture names fit for a web server, with the references in the page changed along.
namespace pictra::pictures::batch {

// Every line holding "<img" becomes two blanks and the image tag alone.
std::string removeEnlargementLinks(const std::string& text);

enum class UploadNames { Umlauts, Numbers };

struct Rename {
    std::string from;  // file names
    std::string to;
};

// The new names for the list's pictures (file names, in list order; "zz_…" and
// "zzz…" are companions, never renamed by themselves): umlauts and blanks mapped,
// or the page's base name with 10, 20, 30 … as wide as the largest number needs
// (at least three digits). Each picture's small picture "zz_" follows it when it
// is in the list. Unchanged names are left out.
std::vector<Rename> uploadRenames(UploadNames kind, const std::vector<std::string>& names, const std::string& pageBase);

// Every "\"" + old + "\"" of the text becomes "\"" + new + "\"", in one pass, so a
// name that becomes another's old name is not changed twice. Names are file names
// (UTF-8) and are matched as the page holds them (Windows-1252, or escaped).
std::string replaceQuotedNames(const std::string& text, const std::vector<Rename>& renames);

// The gallery's picture pages ("zzz…" .html in `folder`) get the new names too, so
// each still shows its large picture; a page that cannot be written is a failure line.
void updatePicturePages(const std::string& folder, const std::vector<Rename>& renames,
                        std::vector<std::string>& failures);

// The places photos were taken at, held in their EXIF blocks.
class GpsTags {
public:
    virtual ~GpsTags() = default;
    virtual bool has(const std::string& path) = 0;
    // Removes them without touching the pixels; throws std::exception with a German text.
    virtual void remove(const std::string& path) = 0;
};

// Asks once whether the GPS tags of the named JPEG files (in `folder`) go, when any
// holds some, and removes them; a file that keeps them is a failure line.
void offerGpsRemoval(const std::string& folder, const std::vector<std::string>& names, GpsTags& gps,
                     Dialogs& dialogs, std::vector<std::string>& failures);

// The whole command on the current document: the questions, the renames in the
// folder through a rename plan (no file replaced), the report of names that could not
// be given, and the changed text; nullopt when it was cancelled. `text` is the
// document with its umlauts readable (Windows-1252); `documentPath` "" or holding "?"
// when it has no name yet. With `gps`, the pictures' GPS tags are offered for removal.
std::optional<std::string> prepareUpload(UploadNames kind, const std::string& documentPath, const std::string& text,
                                         const std::string& folder, const std::vector<std::string>& listNames,
                                         Dialogs& dialogs, const std::string& journalFolder, GpsTags* gps = nullptr);

}  // namespace pictra::pictures::batch
