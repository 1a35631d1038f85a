#include "explorer/search/ResultCommands.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_map>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/OpenDispatch.h"
#include "explorer/fileops/Rename.h"
#include "explorer/fileops/RenamePlan.h"
#include "explorer/search/ContentMatcher.h"
#include "explorer/search/SearchRun.h"

namespace fs = std::filesystem;

namespace pictra::filesearch {

namespace {

std::string sizePart(const std::string& line) {
    const auto first = line.find('|');
    if (first == std::string::npos) return {};
    const auto second = line.find('|', first + 1);
    return line.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

std::string withoutExtension(const std::string& path) {
    const std::string ext = pathnames::extensionOf(path);
    return path.substr(0, path.size() - ext.size());
}

}  // namespace

bool sameContent(const std::string& a, const std::string& b) {
    std::error_code ec;
    if (fs::file_size(a, ec) != fs::file_size(b, ec) || ec) return false;
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    std::string ba(1 << 16, '\0'), bb(1 << 16, '\0');
    for (;;) {
        fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
        fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
        const auto na = fa.gcount(), nb = fb.gcount();
        if (na != nb || std::char_traits<char>::compare(ba.data(), bb.data(), static_cast<std::size_t>(na)) != 0)
            return false;
        if (na == 0) return !fa.bad() && !fb.bad();
    }
}

Duplicates findDuplicates(const std::vector<std::string>& lines, Dialogs& dialogs) {
    Duplicates out;
    dialogs.beginCancelWindow("Sortieren");
    std::unordered_map<std::string, std::vector<std::size_t>> groups;
    std::vector<std::string> order;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (dialogs.stepCancelWindow(lines[i])) {
            out.stopped = true;
            break;
        }
        if (lines[i].find('|') == std::string::npos) continue;
        const std::string key = pathnames::fileNamePart(pathOfResultLine(lines[i])) + '|' + sizePart(lines[i]);
        auto& group = groups[key];
        if (group.empty()) order.push_back(key);
        group.push_back(i);
    }
    dialogs.endCancelWindow();
    // Pairs in the order of their first line, as the pair loop over the list would give them.
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (const auto& key : order) {
        const auto& group = groups[key];
        for (std::size_t a = 0; a < group.size(); ++a)
            for (std::size_t b = a + 1; b < group.size(); ++b) pairs.emplace_back(group[a], group[b]);
    }
    std::sort(pairs.begin(), pairs.end());
    for (const auto& [i, j] : pairs) {
        const std::string& first = lines[i].size() <= lines[j].size() ? lines[i] : lines[j];
        const std::string& second = lines[i].size() <= lines[j].size() ? lines[j] : lines[i];
        out.lines.push_back(first);
        out.lines.push_back(second);
        out.lines.emplace_back();
        if (sameContent(pathOfResultLine(first), pathOfResultLine(second)))
            out.selected.push_back(static_cast<int>(out.lines.size()) - 2);
    }
    return out;
}

std::optional<std::string> firstMatchingLine(std::string_view bytes, const std::string& text, bool matchCase) {
    const auto at = firstOccurrence(bytes, text, matchCase);
    if (!at) return std::nullopt;
    const auto before = bytes.substr(0, at->offset).find_last_of("\r\n");
    const std::size_t begin = before == std::string_view::npos ? 0 : before + 1;
    const auto after = bytes.find_first_of("\r\n", at->offset + at->length);
    const std::string_view line = bytes.substr(begin, after == std::string_view::npos ? std::string_view::npos : after - begin);
    // A file is taken as UTF-8 when the line reads as UTF-8, else as Windows-1252.
    return codec::isValidUtf8(line) ? std::string(line) : codec::cp1252ToUtf8(line);
}

std::vector<std::string> wrongLinks(const std::string& path, const std::string& text) {
    std::vector<std::string> found;
    if (text.size() <= 9) return found;
    static const std::string kStart = "href=\"";
    for (auto at = text.find(kStart); at != std::string::npos; at = text.find(kStart, at + 1)) {
        const std::size_t begin = at + kStart.size();
        const auto end = text.find('"', begin);
        if (end == std::string::npos || end - begin > 500) continue;
        const std::string link = text.substr(begin, end - begin);
        if (link.find('\\') != std::string::npos) found.push_back(path + " | " + codec::cp1252ToUtf8(link));
    }
    return found;
}

std::string numberedPath(const std::string& path, const std::string& name, int row) {
    std::string number = std::to_string(row + 1);
    if (number.size() < 3) number.insert(0, 3 - number.size(), '0');
    std::string folder = pathnames::folderOf(path);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder + name + number + pathnames::extensionOf(path);
}

bool renameNumbered(const std::vector<std::string>& paths, const std::vector<int>& rows, Dialogs& dialogs,
                    const std::string& journalFolder) {
    if (paths.empty()) return false;
    auto name = dialogs.askText("Z.B. xyz ergibt xyz001, xyz002,xyz003 ...", "Mit welchem Namen?", "");
    if (!name) return false;
    std::vector<fileops::PlannedRename> plan;
    std::string question = "So korrekt?\r\n";
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::string target = numberedPath(paths[i], *name, rows[i]);
        plan.push_back({paths[i], target});
        question += withoutExtension(paths[i]) + " wird umbenannt in " + withoutExtension(pathnames::fileNamePart(target)) + "\r\n";
    }
    if (dialogs.ask(question) != Answer::Yes) return false;
    const auto outcome = fileops::runPlan(plan, journalFolder);
    std::string failures;
    for (std::size_t i = 0; i < plan.size(); ++i)
        if (!outcome.results[i].ok()) failures += "\r" + plan[i].from + " wurde nicht umbenannt!";
    if (!failures.empty()) dialogs.inform(failures);
    return true;
}

bool renameOne(const std::string& path, Dialogs& dialogs) {
    const std::string name = pathnames::fileNamePart(path);
    const std::string ext = pathnames::extensionOf(name);
    auto answer = dialogs.askText("Neuer Name?", name, name.substr(0, name.size() - ext.size()));
    if (!answer) {
        dialogs.inform("Abbruch");
        return false;
    }
    std::string newName = *answer;
    if (pathnames::extensionOf(newName).empty()) newName += ext;
    if (newName == name) {
        dialogs.inform("Name nicht geändert!");
        return false;
    }
    std::string folder = pathnames::folderOf(path);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    if (newName.find('/') != std::string::npos || !fileops::renameNoReplace(path, folder + newName).ok()) {
        dialogs.inform("Nicht umbenannt");
        return false;
    }
    return true;
}

bool extensionsFromHeader(const std::vector<std::string>& paths, Dialogs& dialogs, const std::function<void()>& tone) {
    bool any = false;
    for (const auto& path : paths) {
        if (!pathnames::extensionOf(pathnames::fileNamePart(path)).empty()) continue;
        std::string head(1024, '\0');
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        in.read(head.data(), static_cast<std::streamsize>(head.size()));
        head.resize(static_cast<std::size_t>(in.gcount()));
        const std::string ext = explorer::extensionFromHeader(path, head);
        if (ext.empty()) continue;
        tone();
        const std::string target = path + ext;
        if (!fileops::renameNoReplace(path, target).ok()) {
            dialogs.inform("Konnte Datei nicht umbenennen in: " + target);
            continue;
        }
        any = true;
    }
    return any;
}

bool replaceSkipsName(const std::string& path) {
    const std::string lower = text::toLowerAscii(path);
    static const char* const kKept[] = {".bmp", ".gif", ".ico", ".exe", ".dll", ".zip", ".rar"};
    const std::string ext = pathnames::lowerExtension(path);
    for (const char* k : kKept)
        if (ext == k) return true;
    return lower.find(".jp") != std::string::npos;
}

bool looksBinary(const std::string& bytes) {
    return bytes.substr(0, 1024).find('\0') != std::string::npos;
}

ReplaceOutcome replaceInFile(const std::string& path, const std::string& t1, const std::string& replacement,
                             bool matchCase, Dialogs& dialogs,
                             const std::function<bool(const std::string&)>& keepBackup) {
    if (replaceSkipsName(path)) return ReplaceOutcome::NoMatch;
    const auto bytes = fileio::readFile(path);
    // PNG, PDF, ODT and the like hold NUL bytes early: a replacement would corrupt them.
    if (!bytes || looksBinary(*bytes)) return ReplaceOutcome::NoMatch;
    const auto at = firstOccurrence(*bytes, t1, matchCase);
    if (!at) return ReplaceOutcome::NoMatch;
    if (dialogs.ask("In \"" + path + "\" erstes \"" + t1 + "\" ersetzten durch \"" + replacement + "\"") != Answer::Yes)
        return ReplaceOutcome::NoMatch;
    // The replacement in the spelling of what it replaces.
    std::string lost;
    const std::string cp1252 = codec::utf8ToCp1252(replacement, '?', &lost);
    const std::string found = bytes->substr(at->offset, at->length);
    const bool utf8 = codec::isValidUtf8(found) && codec::utf8ToCp1252(found) != found;
    std::string changed = *bytes;
    changed.replace(at->offset, at->length, utf8 || !lost.empty() ? replacement : cp1252);
    if (!keepBackup(path) || !fileio::writeFileAtomic(path, changed)) {
        dialogs.inform("\"" + path + "\"  wurde nicht verändert.");
        return ReplaceOutcome::NotChanged;
    }
    return ReplaceOutcome::Replaced;
}

void askReplacement(const std::string& t1, SearchSession& session, Dialogs& dialogs) {
    if (t1.empty()) {
        dialogs.inform("Zuerst den zu ersetzenden Text ins 1. Feld von \"Welchen Text\" eintragen");
        return;
    }
    auto answer = dialogs.askText("Der Ersatztext", "Ändern Sie den Text entsprechend!", t1);
    if (!answer || answer->empty()) {
        session.replacement.clear();
        dialogs.inform("Abbruch!");
        return;
    }
    session.replacement = *answer;
    dialogs.inform("Jetzt \"Start Suche\" klicken!");
}

bool isWebText(const std::string& path) {
    const std::string lower = text::toLowerAscii(path);
    if (lower.find("zzz_") != std::string::npos) return false;
    for (const char* k : {".htm", ".php", ".css", ".pas", ".dfm"})
        if (lower.find(k) != std::string::npos) return true;
    return false;
}

std::string rerooted(const std::string& path, const std::string& target, const std::string& mountPoint) {
    std::string root = mountPoint;
    if (root.empty() || root.back() != '/') root += '/';
    std::string folder = target;
    if (folder.empty() || folder.back() != '/') folder += '/';
    const std::string below = path.rfind(root, 0) == 0 ? path.substr(root.size()) : pathnames::fileNamePart(path);
    return folder + below;
}

int copyWithFolders(const std::vector<std::string>& paths, const std::string& target, const SearchSession& session,
                    CopyContext& context, const std::function<std::string(const std::string&)>& mountOf) {
    Dialogs& dialogs = context.dialogs;
    int copied = 0;
    dialogs.beginCancelWindow("Dateien mit Ordner kopieren");
    for (const auto& path : paths) {
        const std::string to = rerooted(path, target, mountOf(path));
        if (dialogs.stepCancelWindow(path + "-->" + to)) break;
        std::error_code ec;
        if (fs::equivalent(path, to, ec)) {
            dialogs.inform("Datei \"" + path + "\"kann nicht auf sich selbst kopiert werden");
            continue;
        }
        const bool exists = fs::exists(to, ec);
        if (exists && !session.copyAll && !(session.copyWebTextsAlways && isWebText(path))) continue;
        fs::create_directories(pathnames::folderOf(to), ec);
        std::string error;
        if (!fileio::copyFileAtomic(path, to, error)) {
            dialogs.inform("\"" + path + "\" konnte nicht nach \"" + to + "\" kopiert werden:\r\n   " + error);
            continue;
        }
        ++copied;
    }
    dialogs.endCancelWindow();
    return copied;
}

}  // namespace pictra::filesearch
