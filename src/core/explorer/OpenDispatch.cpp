#include "OpenDispatch.h"
#include "common/PathNames.h"

#include "common/Text.h"
#include "explorer/fileops/NameRules.h"
#include "pictures/PictureNames.h"

namespace pictra::explorer {

using pathnames::lowerExtension;

bool isBinaryExtension(const std::string& path) {
    const std::string ext = lowerExtension(path);
    if (ext.find(".mp") != std::string::npos) return true;
    for (const char* known : {".doc", ".rtf", ".xls", ".pps", ".exe", ".dll", ".dcu", ".bin", ".wav", ".pdf", ".zip",
                              ".wmv", ".mp3"}) {
        if (ext == known) return true;
    }
    return false;
}

bool isSoundFile(const std::string& path) {
    const std::string ext = lowerExtension(path);
    return ext == ".mid" || ext == ".mp3" || ext == ".wav";
}

bool isFilmFile(const std::string& path) {
    const std::string ext = lowerExtension(path);
    for (const char* known : {".avi", ".mpg", ".mpeg", ".mp4", ".m4v", ".mov", ".wmv", ".flv", ".mkv", ".webm", ".ogv"}) {
        if (ext == known) return true;
    }
    return false;
}

bool isFlashFile(const std::string& path) { return lowerExtension(path) == ".swf"; }

bool isOfficeFile(const std::string& path) {
    const std::string ext = lowerExtension(path);
    for (const char* known : {".doc", ".docx", ".odt", ".xls", ".xlsx", ".ods", ".ppt", ".pps", ".pptx", ".odp"}) {
        if (ext == known) return true;
    }
    return false;
}

OpenAction dispatchOpen(const OpenRequest& r) {
    // Whatever its name says, no program is started on it and nothing reads it.
    if (r.special) return OpenAction::NotLoadable;
    const std::string lower = text::toLowerAscii(r.path);
    if (lowerExtension(r.path) == ".rtf") return OpenAction::RichText;
    if (isFilmFile(lower)) return OpenAction::Film;
    if (isFlashFile(lower)) return OpenAction::Flash;
    if (pictures::isPictureFile(lower)) return OpenAction::Picture;
    if (isSoundFile(lower)) return OpenAction::Sound;
    if (lower.find(".htm") != std::string::npos) {
        return r.htmlInStandardBrowser ? OpenAction::Associated : OpenAction::HtmlDocument;
    }
    if (r.officeProgram && isOfficeFile(lower)) return OpenAction::Office;
    if (isBinaryExtension(lower) && !r.fromReadItem) return OpenAction::Associated;
    if (!r.readable || r.firstBytes.substr(0, 1024).find('\0') != std::string_view::npos) {
        return OpenAction::UrlHandler;
    }
    return OpenAction::Document;
}

std::string extensionFromHeader(const std::string& path, std::string_view firstBytes) {
    if (!lowerExtension(path).empty()) return {};
    return fileops::headerType(firstBytes);
}

}  // namespace pictra::explorer
