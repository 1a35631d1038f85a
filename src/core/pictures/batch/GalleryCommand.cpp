#include "pictures/batch/GalleryCommand.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <new>

#include "common/Codec.h"
#include "common/FileIo.h"
#include "explorer/MarkedFiles.h"
#include "explorer/fileops/RenamePlan.h"
#include "pictures/PictureNames.h"
#include "pictures/batch/TwoInHand.h"
#include "pictures/captions/Captions.h"

namespace pictra::pictures::batch {

namespace {

namespace fs = std::filesystem;

std::vector<std::string> sortedNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void renamePictures(const GalleryRequest& request, std::vector<std::string>& failures) {
    std::vector<fileops::PlannedRename> plan;
    for (const auto& name : sortedNames(request.folder)) {
        if (!isPictureFile(name) || name.rfind("zzzweiter_", 0) == 0)
            continue;
        const std::string wanted = galleryName(name);
        if (wanted != name)
            plan.push_back({request.folder + "/" + name, request.folder + "/" + wanted});
    }
    if (plan.empty())
        return;
    const fileops::PlanOutcome outcome = fileops::runPlan(plan, request.journalFolder);
    for (std::size_t i = 0; i < plan.size() && i < outcome.results.size(); ++i) {
        if (outcome.results[i].ok())
            continue;
        const bool taken = outcome.results[i].error == EEXIST;
        failures.push_back("\"" + plan[i].from + "\" wurde nicht in \"" + fs::path(plan[i].to).filename().string() +
                           "\" umbenannt" + (taken ? ": diesen Namen hat schon eine andere Datei." : "."));
    }
}

bool writePage(const std::string& path, const std::string& bytes, std::vector<std::string>& failures) {
    if (fileio::writeFileAtomic(path, bytes))
        return true;
    failures.push_back("\"" + path + "\" konnte nicht gespeichert werden.");
    return false;
}

}  // namespace

std::string captionHeading(const std::string& captionBytes) {
    std::string heading;
    for (const auto& line : captions::splitCaptionLines(captionBytes)) {
        const std::string text = captions::parseCaptionLine(line, {}).text;
        // "_" only asks for a transparent background; a caption of several lines reads as one heading line.
        const auto first = text.find_first_not_of(" \t_");
        if (first == std::string::npos)
            continue;
        const auto last = text.find_last_not_of(" \t");
        if (!heading.empty())
            heading += ' ';
        heading.append(text, first, last + 1 - first);
    }
    return codec::cp1252ToUtf8(heading);
}

std::string headingFor(const std::string& folder, const std::string& largeName) {
    if (const auto bytes = fileio::readFile(captions::captionPathFor(folder + "/" + largeName))) {
        std::string heading = captionHeading(*bytes);
        if (!heading.empty())
            return heading;
    }
    return proposedHeading(largeName);
}

std::string galleryName(const std::string& name) {
    return explorer::pasteName(name);
}

GalleryResult makeGallery(const GalleryRequest& request, GalleryIo& io, Dialogs& dialogs) {
    std::vector<std::string> failures;
    renamePictures(request, failures);

    std::vector<std::string> originals;
    for (const auto& name : sortedNames(request.folder)) {
        if (isGalleryOriginal(name))
            originals.push_back(name);
    }
    dialogs.beginCancelWindow("Kleine Bilder");
    TwoInHandSteps<std::string> steps;  // a file's failure, "" when its small picture was written
    steps.settled = [](std::size_t) { return std::optional<std::string>(); };
    steps.make = [&request, &originals, &io](std::size_t i) -> std::string {
        const std::string path = request.folder + "/" + originals[i];
        const std::string failed = "Fehler beim Verkleinern \"" + path + "\"\r";
        try {
            io.makeSmall(path, request.folder + "/" + smallNameOf(originals[i]), request.smallHeight, request.quality);
            return {};
        } catch (const std::bad_alloc&) {
            return failed + "Zu wenig Arbeitsspeicher für dieses Bild.";
        } catch (const std::exception& e) {
            return failed + e.what();
        }
    };
    steps.poll = [&request, &originals, &dialogs](std::size_t i) {
        return dialogs.stepCancelWindow("Verkleinern und komprimiert abgespeichern:" + request.folder + "/" +
                                        originals[i]);
    };
    steps.done = [&failures](std::size_t, std::string failure) {
        if (!failure.empty())
            failures.push_back(std::move(failure));
    };
    if (runTwoInHand(originals.size(), steps)) {
        dialogs.endCancelWindow();
        showFailures(failures, dialogs);
        return {};
    }
    dialogs.endCancelWindow();

    GalleryOptions options = request.options;
    options.name = galleryName(options.name);
    std::error_code ec;
    options.logo = fs::exists(fs::path(request.folder).parent_path() / kLogoName, ec);
    std::vector<std::string> names;
    for (const auto& name : sortedNames(request.folder)) {
        if (name.rfind("zzzweiter_", 0) != 0)
            names.push_back(name);
    }
    const auto entries =
        galleryEntries(names, [&](const std::string& name) { return io.sizeOf(request.folder + "/" + name); });
    if (options.navigation) {
        try {
            io.writeArrows(request.folder);
        } catch (const std::exception& e) {
            failures.push_back(e.what());
        }
        writePage(request.folder + "/zzzz.html", instructionPage(), failures);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::string proposal = headingFor(request.folder, entries[i].large);
            const auto heading =
                request.headingsForAll
                    ? std::optional<std::string>(proposal)
                    : dialogs.askText("Überschrift bei großem Bild", "Falls keine Überschrift: Esc-Taste", proposal);
            writePage(request.folder + "/" + entries[i].page, picturePage(entries, i, options, heading.value_or("")),
                      failures);
        }
    }
    GalleryResult result;
    result.overviewText = overviewPage(entries, options, request.date);
    const std::string path = request.folder + "/" + options.name + ".html";
    if (writePage(path, result.overviewText, failures))
        result.overviewPath = path;
    showFailures(failures, dialogs);
    return result;
}

}  // namespace pictra::pictures::batch
