#include "explorer/folders/PictureRenaming.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>

#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/fileops/RenamePlan.h"
#include "pictures/PictureNames.h"

namespace pictra::folders {

namespace {

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string baseOf(const std::string& name) {
    const std::string ext = pathnames::extensionOf(name);
    return name.substr(0, name.size() - ext.size());
}

bool sameName(const std::string& a, const std::string& b) { return text::toLowerAscii(a) == text::toLowerAscii(b); }

std::string firstBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char buffer[16] = {};
    in.read(buffer, sizeof buffer);
    return std::string(buffer, static_cast<std::size_t>(in.gcount()));
}

std::string numberingFailure(const std::string& from, const std::string&) {
    return "Datei \"" + from + "\" konnte nicht umbenannt werden";
}

std::string plannedFailure(const std::string& from, const std::string& to) {
    return "Konnte \"" + from + "\" nicht umbenennen in \"" + to + "\"";
}

std::string lineFailure(const std::string& from, const std::string&) { return "\"" + from + "\" konnte nicht umbenannt werden."; }

const std::string kArrow = "->";

}  // namespace

std::vector<std::string> pictureNames(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == ".." || !pictures::isPictureFile(text::toLowerAscii(name))) continue;
        struct stat st {};
        if (::stat(joined(folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string la = text::toLowerAscii(a);
        const std::string lb = text::toLowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

int numberDigits(std::size_t count) {
    const std::size_t n = count + 1;
    if (n <= 9) return 2;
    if (n <= 99) return 3;
    if (n <= 999) return 4;
    if (n <= 9999) return 5;
    return 7;
}

std::size_t renameInFolder(const std::string& folder, const std::vector<NameChange>& changes,
                           const std::string& journalFolder, Dialogs& dialogs,
                           std::string (*failure)(const std::string&, const std::string&)) {
    std::vector<fileops::PlannedRename> plan;
    std::vector<const NameChange*> planned;
    for (const auto& change : changes) {
        if (change.from == change.to) continue;
        plan.push_back({joined(folder, change.from), joined(folder, change.to)});
        planned.push_back(&change);
    }
    if (plan.empty()) return 0;
    const fileops::PlanOutcome outcome = fileops::runPlan(plan, journalFolder);
    std::size_t done = 0;
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (outcome.results[i].ok()) {
            ++done;
            continue;
        }
        dialogs.inform(failure(planned[i]->from, planned[i]->to));
    }
    for (const auto& left : outcome.leftTemporary) {
        dialogs.inform("Die Datei \"" + left + "\" konnte weder den neuen noch ihren alten Namen erhalten.");
    }
    return done;
}

std::vector<NameChange> numberingPlan(const std::vector<std::string>& names, const std::string& prefix) {
    const int digits = numberDigits(names.size());
    std::vector<NameChange> changes;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string number = std::to_string((i + 1) * 10);
        if (number.size() < static_cast<std::size_t>(digits)) number.insert(0, digits - number.size(), '0');
        changes.push_back({names[i], prefix + number + pathnames::extensionOf(names[i])});
    }
    return changes;
}

void numberPictures(const std::string& folder, const std::vector<std::string>& names, const std::string& journalFolder,
                    Dialogs& dialogs) {
    if (names.empty()) return;
    const auto prefix = dialogs.askText("Nummeríerung in 10-er-Schritten", "Name vor den Ziffern?", "");
    if (!prefix) return;
    if (prefix->find('/') != std::string::npos) {
        dialogs.inform("Bitte kein \"/\" im Namen.");
        return;
    }
    renameInFolder(folder, numberingPlan(names, *prefix), journalFolder, dialogs, numberingFailure);
}

std::string plannedLine(const PlannedName& entry) {
    return entry.planned == entry.name ? entry.name : entry.planned + " <-" + entry.name;
}

bool planName(std::vector<PlannedName>& entries, std::size_t index, const std::string& typed, Dialogs& dialogs) {
    if (index >= entries.size() || typed.empty()) return false;
    const std::string ext = pathnames::extensionOf(entries[index].name);
    if (typed.find('.') != std::string::npos) {
        dialogs.inform("Bitte keinen Punkt im Dateinamen. Der Extender \"" + ext + "\" wird automatisch zangehängt.");
        return false;
    }
    if (typed.find('/') != std::string::npos) {
        dialogs.inform("Bitte kein \"/\" im Namen.");
        return false;
    }
    const std::string wanted = typed + ext;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // A name another file has now is taken unless that file is planned away from it.
        const bool held = sameName(entries[i].name, wanted) && entries[i].planned == entries[i].name && i != index;
        if (held || (i != index && sameName(entries[i].planned, wanted))) {
            dialogs.inform("Name ist schon vorhanden oder neu vergeben");
            return false;
        }
    }
    entries[index].planned = wanted;
    return true;
}

void applyPlannedNames(const std::string& folder, const std::vector<PlannedName>& entries,
                       const std::string& journalFolder, Dialogs& dialogs) {
    std::vector<NameChange> changes;
    for (const auto& entry : entries) changes.push_back({entry.name, entry.planned});
    renameInFolder(folder, changes, journalFolder, dialogs, plannedFailure);
}

std::vector<std::string> fineTuneLines(const std::vector<std::string>& names, const std::string& stem) {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::string counter = std::to_string(i + 1);
        if (counter.size() < 2) counter.insert(0, "0");
        lines.push_back(names[i] + kArrow + stem + counter);
    }
    return lines;
}

std::string newNameOfLine(const std::string& line) {
    const auto arrow = line.find(kArrow);
    if (arrow == std::string::npos) return line;
    return line.substr(arrow + kArrow.size()) + pathnames::extensionOf(line.substr(0, arrow));
}

std::string duplicateReport(const std::vector<std::string>& lines) {
    std::string pairs;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (std::size_t j = i + 1; j < lines.size(); ++j) {
            const std::string name = newNameOfLine(lines[i]);
            if (!sameName(name, newNameOfLine(lines[j]))) continue;
            pairs += "\rNr. " + std::to_string(i + 1) + " = Nr. " + std::to_string(j + 1) + " : " + name;
        }
    }
    return pairs.empty() ? std::string() : "Wichtig: Folgende Dateien haben gleiche Namen und müssen abgeändert werden!\r" + pairs;
}

bool applyLines(const std::string& folder, const std::vector<std::string>& lines, const std::string& journalFolder,
                Dialogs& dialogs) {
    const std::string duplicates = duplicateReport(lines);
    if (!duplicates.empty()) {
        dialogs.inform(duplicates);
        return false;
    }
    std::vector<NameChange> changes;
    for (const auto& line : lines) {
        const auto arrow = line.find(kArrow);
        if (arrow == std::string::npos) continue;
        const std::string to = newNameOfLine(line);
        if (to.find('/') != std::string::npos || baseOf(to).empty()) {
            dialogs.inform("\"" + line.substr(0, arrow) + "\" konnte nicht umbenannt werden.");
            continue;
        }
        changes.push_back({line.substr(0, arrow), to});
    }
    renameInFolder(folder, changes, journalFolder, dialogs, lineFailure);
    return true;
}

void extensionsToJpg(const std::string& folder, const std::vector<std::string>& names, const std::string& journalFolder,
                     Dialogs& dialogs) {
    std::string report = "Fertig\r\n";
    std::vector<fileops::PlannedRename> plan;
    std::vector<std::string> planned;
    for (const auto& name : names) {
        const std::string to = baseOf(name) + ".jpg";
        if (to == name) continue;
        // A PNG, GIF or BMP named .jpg would lie about its content.
        if (pictures::signatureOf(firstBytes(joined(folder, name))) != pictures::Signature::Jpeg) {
            report += name + " konnte  nicht umbenannt werden\r\n";
            continue;
        }
        plan.push_back({joined(folder, name), joined(folder, to)});
        planned.push_back(name);
    }
    const fileops::PlanOutcome outcome = fileops::runPlan(plan, journalFolder);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        if (!outcome.results[i].ok()) report += planned[i] + " konnte  nicht umbenannt werden\r\n";
    }
    dialogs.inform(report);
}

}  // namespace pictra::folders
