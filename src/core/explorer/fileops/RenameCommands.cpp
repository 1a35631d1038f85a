#include "RenameCommands.h"


#include "NameRules.h"
#include "RenamePlan.h"
#include "common/FileIo.h"
#include "common/LargeBuffer.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/OpenDispatch.h"

namespace pictra::fileops {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder == "/" ? folder + name : folder + "/" + name;
}

// The cancel window is asked every few hundred renames: asking it pumps the
// windows, which would cost more than the renames themselves.
PlanOutcome runWithCancel(const std::vector<PlannedRename>& plan, RenameContext& context, const std::string& text,
                          const std::string& marker = "~~") {
    context.dialogs.beginCancelWindow(text);
    size_t asked = 0;
    const auto cancelled = [&] { return ++asked % 256 == 0 && context.dialogs.stepCancelWindow(text); };
    PlanOutcome outcome = runPlan(plan, context.journalFolder, cancelled, marker);
    context.dialogs.endCancelWindow();
    for (const auto& left : outcome.leftTemporary) {
        context.dialogs.inform("Die Datei \"" + left + "\" konnte weder den neuen noch ihren alten Namen erhalten.");
    }
    if (outcome.cancelled) context.dialogs.inform("Abbruch");
    return outcome;
}

bool cancelledStep(const RenameResult& result) { return result.status == RenameStatus::Failed && result.error == ECANCELED; }

std::string joinedFroms(const std::vector<PlannedRename>& plan) {
    std::vector<std::string> lines;
    for (const auto& step : plan) lines.push_back(step.from);
    return text::joinLines(lines);
}

std::string joinedTargets(const std::vector<PlannedRename>& plan) {
    std::vector<std::string> lines;
    for (const auto& step : plan) lines.push_back(step.to);
    return text::joinLines(lines);
}

// Runs a plan and reports each failed file with the command's own message.
PlanOutcome runReporting(const std::vector<PlannedRename>& plan, RenameContext& context, const std::string& text,
                         const std::function<std::string(const PlannedRename&, const RenameResult&)>& message,
                         const std::string& marker = "~~") {
    PlanOutcome outcome = runWithCancel(plan, context, text, marker);
    for (size_t i = 0; i < plan.size(); ++i) {
        if (!outcome.results[i].ok() && !cancelledStep(outcome.results[i])) {
            context.dialogs.inform(message(plan[i], outcome.results[i]));
        }
    }
    return outcome;
}

std::string renameFailure(const PlannedRename& step, const RenameResult&) {
    return "Fehler beim Umbenennen der Datei \"" + step.from;
}

// "0" before the extension of the file name.
std::string withZero(const std::string& path) {
    const std::string name = pathnames::fileNamePart(path);
    return inFolder(pathnames::folderOf(path), baseNameOf(name) + "0" + extensionOfName(name));
}

constexpr const char* kSeveralInstructions =
    "     Folgende Dateien können umbenannt werden, indem Sie unten die Namen (ohne Extension) ändern.\r"
    "Eine Zeile gehört zu einer Datei. Leere Zeilen werden fortlaufend weiternummeriert, z.B. \"urlaub01\", "
    "\"urlaub02\" ...\r"
    "Die Schrittweite ergibt sich aus den letzten Ziffern der beiden ersten Zeilen (z.B. 10 oder 100).\r"
    "Steht unten nur eine Zeile ohne Ziffern am Ende, wird \"01\" angehängt.\r"
    "Mit einem Punkt und Typ (z.B. \"brief.txt\") ändern Sie auch die Extension.\r"
    "Eine unveränderte Zeile lässt ihre Datei unverändert. Neue Namen werden klein geschrieben.";

}  // namespace

std::vector<std::string> changeCase(const std::vector<std::string>& paths, bool upper, RenameContext& context) {
    std::vector<PlannedRename> plan;
    std::vector<size_t> index;
    for (size_t i = 0; i < paths.size(); ++i) {
        const std::string name = pathnames::fileNamePart(paths[i]);
        const std::string converted = caseConverted(name, upper);
        if (converted == name) continue;
        plan.push_back({paths[i], inFolder(pathnames::folderOf(paths[i]), converted)});
        index.push_back(i);
    }
    std::vector<std::string> result = paths;
    if (plan.empty()) return result;
    const PlanOutcome outcome = runReporting(plan, context, "Umbenennen", [](const PlannedRename& step, const RenameResult&) {
        return pathnames::fileNamePart(step.from) + " nicht umbenannt";
    });
    for (size_t k = 0; k < plan.size(); ++k) {
        if (outcome.results[k].ok()) result[index[k]] = plan[k].to;
    }
    return result;
}

void renameUmlauts(const std::vector<std::string>& paths, RenameContext& context) {
    const std::vector<std::string> lowered = changeCase(paths, false, context);
    std::vector<PlannedRename> plan;
    for (const auto& path : lowered) {
        const std::string name = pathnames::fileNamePart(path);
        const std::string base = baseNameOf(name);
        if (!hasUmlautOrBlank(base)) continue;
        plan.push_back({path, inFolder(pathnames::folderOf(path), umlautMapped(base) + validName(extensionOfName(name)))});
    }
    if (plan.empty()) {
        context.dialogs.inform("Keine Dateinamen mit ä ö ü ß gefunden");
        return;
    }
    runReporting(plan, context, "Umbenennen", renameFailure);
    context.dialogs.inform("In " + std::to_string(plan.size()) + " Dateien Umlaute geändert");
    context.dialogs.confirmText("Geändert", joinedFroms(plan), joinedTargets(plan));
}

void padNumbers(const std::vector<std::string>& paths, RenameContext& context) {
    std::vector<PlannedRename> plan;
    // One question per file: in a large folder "Abbrechen" must end the questions.
    CancelModeScope cancelMode(context.dialogs);
    for (const auto& path : paths) {
        const std::string name = pathnames::fileNamePart(path);
        const auto padded = paddedNumber(baseNameOf(name));
        if (!padded) continue;
        const std::string target = inFolder(pathnames::folderOf(path), *padded + extensionOfName(name));
        const Answer answer = context.dialogs.ask(path + "\r" + target);
        if (answer == Answer::Cancel) {
            context.dialogs.inform("Abbruch");
            return;
        }
        if (answer == Answer::Yes) plan.push_back({path, target});
    }
    if (plan.empty()) return;
    runReporting(plan, context, "Umbenennen", renameFailure);
    context.dialogs.confirmText("Geändert", joinedFroms(plan), joinedTargets(plan));
}

void removeTildes(const std::vector<std::string>& paths, RenameContext& context) {
    std::vector<PlannedRename> plan;
    const auto refused = [](const PlannedRename& step, const RenameResult&) {
        return "\"" + step.from + "\"  konnte nicht ohne Tilde umbenannt werden, da schon vorhanden!";
    };
    for (const auto& path : paths) {
        const std::string name = pathnames::fileNamePart(path);
        if (name.find('~') == std::string::npos) continue;
        const std::string plain = text::replaceAll(name, "~", "");
        if (plain.empty()) {
            context.dialogs.inform(refused({path, path}, {}));
            continue;
        }
        plan.push_back({path, inFolder(pathnames::folderOf(path), plain)});
    }
    if (!plan.empty()) runReporting(plan, context, "Umbenennen", refused);
}

void numberConsecutively(const std::vector<std::string>& paths, RenameContext& context) {
    const int width = numberWidth(paths.size());
    std::vector<PlannedRename> plan;
    plan.reserve(paths.size());
    long long number = 0;
    for (const auto& path : paths) {
        number += 10;
        const std::string name = pathnames::fileNamePart(path);
        const std::string target =
            inFolder(pathnames::folderOf(path), numberedBaseName(baseNameOf(name), number, width) + extensionOfName(name));
        if (target != path) plan.push_back({path, target});
    }
    if (!plan.empty()) runReporting(plan, context, "Durchnummerieren", renameFailure, "~_~");
}

void renameSeveral(const std::vector<std::string>& paths, RenameContext& context) {
    std::vector<std::string> bases;
    bases.reserve(paths.size());
    for (const auto& path : paths) bases.push_back(baseNameOf(pathnames::fileNamePart(path)));
    std::string edited;
    if (!context.dialogs.confirmTextEdited("Dateien umbenennen", kSeveralInstructions, text::joinLines(bases), edited)) {
        context.dialogs.inform("Abbruch");
        return;
    }
    const std::vector<std::string> lines = text::splitLines(edited);
    const std::vector<std::string> names = seriesNames(lines, paths.size());
    std::vector<PlannedRename> plan;
    plan.reserve(paths.size());
    // The report of thousands of files is written straight into one text: a
    // line string each, joined afterwards, touched three times the memory, and
    // fresh pages cost more here than the renames themselves.
    std::string report;
    size_t reportSize = 0;
    for (const auto& path : paths) reportSize += 2 * path.size() + 24;
    common::reserveLarge(report, reportSize);
    for (size_t i = 0; i < paths.size(); ++i) {
        if (i) report += "\r\n";
        const std::string name = pathnames::fileNamePart(paths[i]);
        const bool unchanged = i < lines.size() && lines[i] == bases[i];
        std::string target =
            inFolder(pathnames::folderOf(paths[i]), toLowerUtf8(nameWithExtension(names[i], extensionOfName(name))));
        report += paths[i];
        if (unchanged || target == paths[i]) {
            report += " wird nicht umbenannt";
            continue;
        }
        report += " wird umbenannt in ";
        report += target;
        plan.push_back({paths[i], std::move(target)});
    }
    if (!context.dialogs.confirmText("Dateien umbenennen", "So in Ordnung?", report)) {
        context.dialogs.inform("Abbruch");
        return;
    }
    const PlanOutcome outcome = runWithCancel(plan, context, "Umbenennen");
    // A new name taken by another file gets a "0" before its extension, at most 20
    // times; then the file keeps its old name.
    for (size_t k = 0; k < plan.size(); ++k) {
        RenameResult result = outcome.results[k];
        if (result.ok() || cancelledStep(result)) continue;
        const std::string line = plan[k].from + " wird umbenannt in " + plan[k].to;
        std::string target = plan[k].to;
        for (int zeros = 0; result.status == RenameStatus::TargetExists && zeros < 20; ++zeros) {
            const std::string previous = target;
            target = withZero(target);
            context.dialogs.inform("Da die Datei \"" + previous + "\"schon vorhanden ist, wird die Datei \"" +
                                   plan[k].from + "\"  umbenannt in \"" + target + "\"");
            result = renameNoReplace(plan[k].from, target);
        }
        if (!result.ok()) {
            context.dialogs.inform("Fehler beim Umbenennen der Datei \"" + line + ": " + "\r" + renameErrorText(result));
        }
    }
}

void changeExtension(const std::vector<std::string>& paths, RenameContext& context) {
    if (paths.empty()) {
        context.dialogs.inform("Keine Datei vorhanden");
        return;
    }
    auto extension = context.dialogs.askText("Extension ändern", "Wie soll die neue Extension lauten?",
                                             extensionOfName(pathnames::fileNamePart(paths.front())));
    if (!extension) return;
    if (extension->find('.') == std::string::npos) *extension = "." + *extension;
    std::vector<PlannedRename> plan;
    for (const auto& path : paths) {
        const std::string base = baseNameOf(pathnames::fileNamePart(path));
        const std::string target = inFolder(pathnames::folderOf(path), base + *extension);
        if (target != path) plan.push_back({path, target});
    }
    runReporting(plan, context, "Umbenennen", [](const PlannedRename& step, const RenameResult&) {
        return "Datei \"" + baseNameOf(pathnames::fileNamePart(step.from)) + "\" nicht umbenannt!";
    });
}

void typeFromHeader(const std::string& path, RenameContext& context) {
    const auto bytes = fileio::readFile(path);
    const std::string type = headerType(bytes ? std::string_view(*bytes).substr(0, 4) : std::string_view());
    if (type.empty()) {
        context.dialogs.inform("Konnte Dateityp nicht ermitteln.");
        return;
    }
    const std::string name = pathnames::fileNamePart(path);
    const std::string target = inFolder(pathnames::folderOf(path), baseNameOf(name) + type);
    if (target != path && !renameNoReplace(path, target).ok()) {
        context.dialogs.inform("Konnte Datei nicht umbenennen in: " + target);
        return;
    }
    context.dialogs.inform("Datei ist vom Typ: " + type + "\r" +
                           "und wurde - falls noch nicht geschehen - entsprechend umbenannt.");
}

void offerInterruptedRenames(const std::string& journalFolder, Dialogs& dialogs) {
    for (const InterruptedPlan& plan : interruptedPlans(journalFolder)) {
        std::vector<std::string> failed;
        const size_t open = plan.unfinished();
        bool forward = true;
        if (open > 0) {
            forward = dialogs.ask("Das Umbenennen von " + std::to_string(plan.files.size()) +
                                  " Dateien wurde unterbrochen (Absturz oder Stromausfall).\r" + std::to_string(open) +
                                  " Dateien tragen noch ihren alten oder einen vorläufigen Namen.\r\r"
                                  "Umbenennen jetzt abschließen?\r(Nein: alle Dateien erhalten wieder ihren alten "
                                  "Namen.)") == Answer::Yes;
        }
        finishInterruptedPlan(plan, forward, journalFolder, failed);
        if (!failed.empty()) dialogs.showText("Nicht umbenannt", text::joinLines(failed));
    }
}

}  // namespace pictra::fileops
