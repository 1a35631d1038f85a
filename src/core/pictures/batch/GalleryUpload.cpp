#include "pictures/batch/GalleryUpload.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/MarkedFiles.h"
#include "explorer/fileops/RenamePlan.h"
#include "pictures/batch/GalleryPages.h"
#include "pictures/captions/Captions.h"

namespace pictra::pictures::batch {

namespace {

std::string baseOf(const std::string& name) {
    return name.substr(0, name.size() - pathnames::extensionOf(name).size());
}

int digitsOf(std::size_t n) {
    int digits = 1;
    while (n >= 10) {
        n /= 10;
        ++digits;
    }
    return digits;
}

}  // namespace

void updatePicturePages(const std::string& folder, const std::vector<Rename>& renames,
                        std::vector<std::string>& failures) {
    if (renames.empty()) return;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (!text::startsWith(name, "zzz") || pathnames::lowerExtension(name) != ".html") continue;
        const auto page = fileio::readFile(entry.path().string());
        if (!page) continue;
        const std::string changed = replaceQuotedNames(*page, renames);
        if (changed == *page) continue;
        if (!fileio::writeFileAtomic(entry.path().string(), changed)) {
            failures.push_back("\"" + name + "\" konnte nicht angepasst werden: " + std::strerror(errno) + ".");
        }
    }
}

std::string removeEnlargementLinks(const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last)
            end = text.size();
        std::string line = text.substr(start, end - start);
        const bool cr = !line.empty() && line.back() == '\r';
        if (cr)
            line.pop_back();
        const std::size_t img = line.find("<img");
        if (img != std::string::npos) {
            const std::size_t close = line.find('>', img);
            line = "  " + line.substr(img, close == std::string::npos ? std::string::npos : close - img + 1);
        }
        out += line;
        if (cr)
            out += '\r';
        if (last)
            break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

std::vector<Rename> uploadRenames(UploadNames kind, const std::vector<std::string>& names,
                                  const std::string& pageBase) {
    std::vector<std::string> pictures;
    for (const auto& name : names) {
        if (isGalleryOriginal(name))
            pictures.push_back(name);
    }
    const std::set<std::string> present(names.begin(), names.end());
    const int width = std::max(3, digitsOf(pictures.size() * 10));
    std::vector<Rename> renames;
    for (std::size_t i = 0; i < pictures.size(); ++i) {
        const std::string& old = pictures[i];
        std::string wanted;
        if (kind == UploadNames::Umlauts) {
            wanted = explorer::mapUmlauts(old);
        } else {
            std::string number = std::to_string((i + 1) * 10);
            number.insert(0, static_cast<std::size_t>(width) - number.size(), '0');
            wanted = pageBase + number + pathnames::extensionOf(old);
        }
        if (wanted == old)
            continue;
        renames.push_back({old, wanted});
        // The gallery's small picture, a small picture named after the whole old name, and the
        // picture's caption, which would otherwise no longer find its picture.
        for (const auto& companion :
             {std::pair{smallNameOf(old), smallNameOf(wanted)}, std::pair{"zz_" + old, "zz_" + wanted},
              std::pair{captions::captionPathFor(old), captions::captionPathFor(wanted)}}) {
            // Plain references, not a structured binding: clang 14 cannot capture one in the lambda below.
            const std::string& small = companion.first;
            const std::string& newSmall = companion.second;
            const bool planned =
                std::any_of(renames.begin(), renames.end(), [&](const Rename& r) { return r.from == small; });
            if (present.count(small) != 0 && !planned && small != newSmall)
                renames.push_back({small, newSmall});
        }
    }
    return renames;
}

std::string replaceQuotedNames(const std::string& text, const std::vector<Rename>& renames) {
    std::map<std::string, std::string> byOld;
    for (const auto& r : renames) {
        byOld.emplace(codec::utf8ToCp1252(r.from), codec::utf8ToCp1252(r.to));
        byOld.emplace(codec::utf8ToCp1252(urlValue(r.from)), codec::utf8ToCp1252(urlValue(r.to)));
    }
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t open = text.find('"', i);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find('"', open + 1);
        if (close == std::string::npos)
            break;
        out.append(text, i, open + 1 - i);
        const auto found = byOld.find(text.substr(open + 1, close - open - 1));
        if (found != byOld.end()) {
            out += found->second;
        } else {
            out.append(text, open + 1, close - open - 1);
        }
        out += '"';
        i = close + 1;
    }
    out.append(text, std::min(i, text.size()), std::string::npos);
    return out;
}

void offerGpsRemoval(const std::string& folder, const std::vector<std::string>& names, GpsTags& gps,
                     Dialogs& dialogs, std::vector<std::string>& failures) {
    std::vector<std::string> located;
    for (const auto& name : names) {
        const std::string ext = pathnames::lowerExtension(name);
        const std::string path = folder + "/" + name;
        if ((ext == ".jpg" || ext == ".jpeg" || ext == ".jpe") && gps.has(path))
            located.push_back(path);
    }
    if (located.empty())
        return;
    const std::string question =
        (located.size() == 1 ? std::string("1 Bild enthält GPS-Daten, die zeigen, wo es aufgenommen wurde.")
                             : std::to_string(located.size()) +
                                   " Bilder enthalten GPS-Daten, die zeigen, wo sie aufgenommen wurden.") +
        "\rSollen diese Daten vor dem Hochladen entfernt werden?";
    if (dialogs.ask(question) != Answer::Yes)
        return;
    for (const auto& path : located) {
        try {
            gps.remove(path);
        } catch (const std::exception& e) {
            failures.push_back("Aus \"" + path + "\" wurden die GPS-Daten nicht entfernt: " + e.what());
        }
    }
}

std::optional<std::string> prepareUpload(UploadNames kind, const std::string& documentPath, const std::string& text,
                                         const std::string& folder, const std::vector<std::string>& listNames,
                                         Dialogs& dialogs, const std::string& journalFolder, GpsTags* gps) {
    const char* question =
        kind == UploadNames::Umlauts
            ? "Leerzeichen und Umlaute in Bilddateien werde umgeschrieben.\rDie entsprechende Referenzen in der "
              "HTML-Datei angepaßt.\r\rWollen Sie dies wirklich durchführen?"
            : "Sie haben zum Beispiel eine Datei \"oktoberfest.html\" eingelesen, die  eine\rBildergalerie mit den "
              "Bildern \"axy,jpg\" ... und \"zz_axy,jpg\" ... zeigt.\rNach Aufruf dieses Menüpunktes sind die "
              "Bilddateien umbenannt in \"oktoberfest010.jpg\" ... \"zz_oktoberfest010.jpg\" ...\rDie Referenzen in "
              "der Datei \"oktoberfest.html\" werden entsprechend angepasst.\r\rWollen Sie dies wirklich durchführen?";
    if (dialogs.ask(question) != Answer::Yes)
        return std::nullopt;
    const bool unnamed = documentPath.empty() || documentPath.find('?') != std::string::npos;
    if (kind == UploadNames::Numbers && unnamed) {
        dialogs.inform("Sie müssen die HTML-Datei noch einlesen!");
        return std::nullopt;
    }
    const std::string ext = pathnames::lowerExtension(documentPath);
    const bool html = kind == UploadNames::Umlauts ? ext.rfind(".htm", 0) == 0 : ext == ".html";
    if (!html &&
        dialogs.ask("Die eingelesene Datei ist keine HTML-Datei\rWollen Sie trotzdem alle Bilddateien umbenennen?") !=
            Answer::Yes) {
        return std::nullopt;
    }
    const std::string pageBase = baseOf(pathnames::fileNamePart(documentPath));
    const auto renames = uploadRenames(kind, listNames, pageBase);
    std::vector<fileops::PlannedRename> plan;
    for (const auto& r : renames) plan.push_back({folder + "/" + r.from, folder + "/" + r.to});
    const fileops::PlanOutcome outcome = fileops::runPlan(plan, journalFolder);
    std::vector<Rename> done;
    std::vector<std::string> failures;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        if (i < outcome.results.size() && outcome.results[i].ok()) {
            done.push_back(renames[i]);
        } else {
            const bool taken = i < outcome.results.size() && outcome.results[i].error == EEXIST;
            failures.push_back("\"" + renames[i].from + "\" wurde nicht in \"" + renames[i].to + "\" umbenannt" +
                               (taken ? ": diesen Namen hat schon eine andere Datei." : "."));
        }
    }
    updatePicturePages(folder, done, failures);
    if (gps) {
        std::map<std::string, std::string> newName;
        for (const auto& r : done) newName.emplace(r.from, r.to);
        std::vector<std::string> names;
        for (const auto& name : listNames) {
            const auto found = newName.find(name);
            names.push_back(found == newName.end() ? name : found->second);
        }
        offerGpsRemoval(folder, names, *gps, dialogs, failures);
    }
    showFailures(failures, dialogs);
    return replaceQuotedNames(text, done);
}

}  // namespace pictra::pictures::batch
