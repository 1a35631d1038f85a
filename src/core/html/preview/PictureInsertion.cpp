#include "PictureInsertion.h"

#include <algorithm>

#include "common/Codec.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"

namespace pictra::preview {

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string fileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// `folder` with its last `levels` folders dropped (trailing "/" kept); empty when there are not so many.
std::string upwards(const std::string& folder, int levels) {
    std::string f = folder;
    for (int i = 0; i < levels; ++i) {
        if (f.size() <= 1) return {};
        const auto slash = f.rfind('/', f.size() - 2);
        if (slash == std::string::npos) return {};
        f.resize(slash + 1);
    }
    return f;
}

bool startsWithIgnoringCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && text::toLowerAscii(s.substr(0, prefix.size())) == text::toLowerAscii(prefix);
}

std::string text1252(const std::string& utf8) { return codec::utf8ToCp1252(utf8); }

// The `src`/`href` of a file seen from the document: relative where possible, else the full path.
std::string sourceFor(const std::string& documentFolder, const std::string& path) {
    const auto relative = relativePictureFolder(documentFolder, folderOf(path));
    return relative ? *relative + fileNameOf(path) : path;
}

}  // namespace

std::optional<std::string> relativePictureFolder(const std::string& documentFolder, const std::string& pictureFolder) {
    for (int up = 0; up <= 2; ++up) {
        const std::string base = upwards(documentFolder, up);
        if (base.empty() || !startsWithIgnoringCase(pictureFolder, base)) continue;
        std::string rest = pictureFolder.substr(base.size());
        std::string prefix;
        for (int i = 0; i < up; ++i) prefix += "../";
        return prefix + rest;
    }
    return std::nullopt;
}

std::string pictureNameProposal(const std::string& fileName) {
    std::string name = fileName;
    const auto dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    if (const auto zz = name.find("zz_"); zz != std::string::npos) name.erase(zz, 3);
    if (const auto blank = name.find(' '); blank != std::string::npos && blank + 1 < name.size()) {
        name[blank + 1] = text::toUpperCp1252(name.substr(blank + 1, 1))[0];
    }
    if (!name.empty()) name[0] = text::toUpperCp1252(name.substr(0, 1))[0];
    return name;
}

std::string pictureElement(const std::string& source, const std::optional<PictureSize>& size, const std::string& name,
                           bool clearAndAlign) {
    std::string quotedName = name;
    for (std::size_t at = 0; (at = quotedName.find('"', at)) != std::string::npos; at += 6) {
        quotedName.replace(at, 1, "&quot;");
    }
    std::string e = clearAndAlign ? "<br><br clear=\"all\">\r\n" : "\r\n";
    e += "<img class=\"rr\" src=\"" + source;
    if (size) {
        e += "\" width=" + std::to_string(size->width) + " height=" + std::to_string(size->height);
    } else {
        e += "\" ?width= ?height=";
    }
    e += " alt=\"" + quotedName + "\"";
    if (clearAndAlign) e += " align=\"left\" ";
    return e + ">\r\n";
}

std::string linkedToLargePicture(const std::string& folderPart, const std::string& fileName,
                                 const std::string& element) {
    std::string large = fileName;
    if (const auto zz = large.find("zz_"); zz != std::string::npos) large.erase(zz, 3);
    return "<a href=\"" + folderPart + large + "\">\r\n  " + element + "</a>";
}

void insertPictures(EditorView& view, Dialogs& dialogs, const PictureSources& sources, bool large) {
    std::vector<std::string> files;
    for (const std::string& path : sources.explorerSelection) {
        if (pictures::isPictureFile(fileNameOf(path))) files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    if (!files.empty()) {
        std::string question = kAskExplorerPictures;
        for (const std::string& f : files) question += f + "\r";
        if (dialogs.ask(question) != Answer::Yes) files.clear();
    }
    if (files.empty()) {
        const auto chosen = dialogs.chooseOpenFile("Bild einfügen", sources.documentFolder);
        if (!chosen) return;
        files.push_back(*chosen);
    }
    insertPictureFiles(view, dialogs, sources, files, large);
}

bool insertDroppedPictures(EditorView& view, Dialogs& dialogs, const PictureSources& sources,
                           const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (pictures::isPictureFile(fileNameOf(path))) files.push_back(path);
    }
    if (files.empty()) return false;
    std::sort(files.begin(), files.end());
    insertPictureFiles(view, dialogs, sources, files, false);
    return true;
}

void insertPictureFiles(EditorView& view, Dialogs& dialogs, const PictureSources& sources,
                        const std::vector<std::string>& files, bool large) {
    std::string inserted;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& path = files[i];
        const std::string fileName = fileNameOf(path);
        std::optional<PictureSize> size;
        if (!pictures::isPictureFile(fileName)) {
            dialogs.inform(kMsgNoPicture);
        } else {
            size = sources.size(path);
        }
        // An untitled document has no folder: nothing to be relative to, nowhere to copy to.
        std::optional<std::string> folderPart;
        if (!sources.documentFolder.empty()) {
            folderPart = relativePictureFolder(sources.documentFolder, folderOf(path));
            if (!folderPart) {
                const Answer copy =
                    dialogs.ask("Soll das Bild in den Ordner \"" + sources.documentFolder + "\"kopiert werden?");
                if (copy == Answer::Cancel) return;
                if (copy == Answer::Yes && sources.copy(path, sources.documentFolder + fileName)) {
                    folderPart = std::string();
                }
            }
        }
        const std::string source = folderPart ? *folderPart + fileName : path;
        const std::string proposal = codec::cp1252ToUtf8(pictureNameProposal(text1252(fileName)));
        const auto name = dialogs.askText(kAskPictureName, kAskPictureNamePrompt, proposal);
        if (!name) return;
        const Answer align = dialogs.ask(kAskClearAlign);
        if (align == Answer::Cancel) return;
        if (size && large) size = PictureSize{size->width * 3 / 2, size->height * 3 / 2};
        std::string element = pictureElement(text1252(source), size, text1252(*name), align == Answer::Yes);
        if (!size) dialogs.inform(kMsgUnknownSize);
        if (fileName.find("zz_") != std::string::npos) {
            element = linkedToLargePicture(text1252(folderPart ? *folderPart : folderOf(path)), text1252(fileName),
                                           element);
        }
        if (i + 1 < files.size()) element += "<br>\r\n";
        inserted += element;
    }
    view.replaceSelection(view.selectedText() + inserted);
}

void insertLink(EditorView& view, Dialogs& dialogs, const std::string& documentFolder) {
    const auto chosen = dialogs.chooseOpenFile("Link einfügen", documentFolder);
    if (!chosen) return;
    const std::string target = text1252(sourceFor(documentFolder, *chosen));
    const std::string selected = view.selectedText();
    view.replaceSelection("<a href=\"" + target + "\">" + (selected.empty() ? target : selected) + "</a>");
}

namespace {

// "a/../b/./c" without the dots.
std::string normalised(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t from = 1;
    while (from <= path.size()) {
        const auto slash = std::min(path.find('/', from), path.size());
        const std::string part = path.substr(from, slash - from);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        from = slash + 1;
    }
    std::string out;
    for (const auto& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
}

std::string pathOfSource(std::string source, const std::string& documentFolder) {
    if (text::toLowerAscii(source.substr(0, 8)) == "file:///") source.erase(0, 7);
    if (source.find("://") != std::string::npos) return source;
    if (!source.empty() && source.front() == '/') return normalised(source);
    return normalised(documentFolder + source);
}

// The value behind `at` (the position of "src=" or "url("): quoted, or up to a blank or ">" / ")".
std::string valueAt(const std::string& text, std::size_t at, char stop) {
    std::size_t from = at;
    while (from < text.size() && text[from] == ' ') ++from;
    if (from < text.size() && (text[from] == '"' || text[from] == '\'')) {
        const char quote = text[from];
        const auto end = text.find(quote, from + 1);
        return end == std::string::npos ? std::string() : text.substr(from + 1, end - from - 1);
    }
    std::size_t end = from;
    while (end < text.size() && text[end] != ' ' && text[end] != '>' && text[end] != stop) ++end;
    return text.substr(from, end - from);
}

PictureReference imgAt(const std::string& text, std::size_t img, const std::string& documentFolder) {
    const std::string lower = text::toLowerCp1252(text);
    const auto close = lower.find('>', img);
    const auto src = lower.find("src=", img);
    if (src == std::string::npos || (close != std::string::npos && src > close)) return {{}, kMsgNoSrc};
    const std::string value = valueAt(text, src + 4, '>');
    if (value.empty()) return {{}, kMsgEmptySrc};
    return {pathOfSource(value, documentFolder), {}};
}

}  // namespace

PictureReference firstPictureOfPage(const std::string& text, const std::string& documentFolder) {
    const auto img = text::toLowerCp1252(text).find("<img");
    if (img == std::string::npos) return {{}, kMsgNoImg};
    return imgAt(text, img, documentFolder);
}

PictureReference pictureOfLine(const std::string& line, const std::string& documentFolder) {
    const std::string lower = text::toLowerCp1252(line);
    if (const auto img = lower.find("<img"); img != std::string::npos) return imgAt(line, img, documentFolder);
    if (const auto url = lower.find("url("); url != std::string::npos) {
        const std::string value = valueAt(line, url + 4, ')');
        if (value.empty()) return {{}, kMsgEmptySrc};
        return {pathOfSource(value, documentFolder), {}};
    }
    return {{}, kMsgNoImg};
}

std::string pictureHtmlName(const std::string& picturePath) {
    const std::string name = fileNameOf(picturePath);
    const auto dot = name.rfind('.');
    const std::string base = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    return folderOf(picturePath) + base + "_h.html";
}

std::string picturePage(const std::string& picturePath, const std::optional<PictureSize>& size,
                        const std::string& skeleton) {
    const std::string file = text1252(fileNameOf(picturePath));
    return skeleton + "\r\n" + pictureElement(file, size, pictureNameProposal(file), false) +
           "\r\n</body>\r\n</html>\r\n";
}

}  // namespace pictra::preview
