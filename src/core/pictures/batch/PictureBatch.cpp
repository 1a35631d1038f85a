#include "pictures/batch/PictureBatch.h"

#include <chrono>
#include <filesystem>
#include <new>
#include <set>

#include "common/PathNames.h"
#include "common/Text.h"
#include "pictures/PictureNames.h"
#include "pictures/Resampler.h"
#include "pictures/batch/TwoInHand.h"
#include "pictures/editing/Cuts.h"

namespace pictra::pictures::batch {

namespace {

namespace ed = pictra::pictures::editing;

const char* const kKeptNote =
    "im selben Ordner als \"_\"- Dateien abgespeichert:\r(\"Umbenennen\" und \"löschen\" möglich!)\rDie ursrünglichen "
    "Dateien bleiben erhalten.";

std::string failureText(Kind kind, const std::string& path) {
    if (kind == Kind::Resize)
        return "Fehler beim Datei-verkleinern \"" + path + "\"";
    return "Fehler beim Datei-komprimieren\"" + path;
}

std::string stepText(Kind kind, const std::string& path) {
    return path + (kind == Kind::Resize ? " wird verkleinert." : " wird komprimiert.");
}

struct Done {
    bool written = false;
    std::string message;
};

// The size before the limits: percent and height as typed, the working size as the expert window fits.
std::pair<long long, long long> wantedSize(const Request& request, int width, int height) {
    if (request.kind == Kind::Resize) {
        if (request.fitWidth > 0 && request.fitHeight > 0) {
            const Size s = sizeInBox(width, height, request.fitWidth, request.fitHeight);
            return {s.width, s.height};
        }
        if (request.height > 0)
            return {static_cast<long long>(width) * request.height / height, request.height};
        return {static_cast<long long>(width) * request.percent / 100,
                static_cast<long long>(height) * request.percent / 100};
    }
    if (request.workWidth > 0 && request.workHeight > 0) {
        const auto f = ed::fitFactor(width, height, request.workWidth, request.workHeight);
        if (f && *f < 1) {
            const ed::Scaled s = ed::scaledSize(width, height, *f);
            return {s.width, s.height};
        }
    }
    return {width, height};
}

Done makeOne(const Item& item, const Request& request, PictureIo& io) {
    const std::string failed = failureText(request.kind, item.source);
    try {
        // Only a smoothed result may come from a smaller decode: the dropped rows are the
        // window's, taken from the whole picture.
        Picture picture = request.smooth ? io.load(item.source,
                                                   [&request](int w, int h) -> std::optional<Size> {
                                                       const auto size = resultSize(request, w, h);
                                                       if (size && size->width <= w && size->height <= h)
                                                           return size;
                                                       return std::nullopt;
                                                   })
                                         : io.load(item.source);
        if (picture.damaged)
            return {false, failed + "\rDie Datei ist unvollständig."};
        const bool scaled = picture.fullWidth > 0 && picture.fullHeight > 0;
        const int width = scaled ? picture.fullWidth : picture.bitmap.width();
        const int height = scaled ? picture.fullHeight : picture.bitmap.height();
        const int heldWidth = picture.bitmap.width();
        const int heldHeight = picture.bitmap.height();
        if (width <= 0 || height <= 0)
            return {false, failed + "\rDas Bild ist leer."};
        const auto size = resultSize(request, width, height);
        if (!size) {
            const auto [w, h] = wantedSize(request, width, height);
            return {false, failed + "\rDas Ergebnis wäre zu groß (" + std::to_string(w) + " × " + std::to_string(h) +
                               " Bildpunkte)."};
        }
        Bitmap32 result;
        if (size->width == heldWidth && size->height == heldHeight) {
            result = std::move(picture.bitmap);
        } else if (request.smooth && size->width <= heldWidth && size->height <= heldHeight) {
            result = resized(picture.bitmap, size->width, size->height, StretchFilter::Lanczos);
        } else {
            result = ed::stretched(picture.bitmap, size->width, size->height);
        }
        picture.bitmap = Bitmap32();  // the source goes before the encoder takes its share
        // Drawn at the result's size, so that a caption stays as readable as on the screen
        // however far the photo was made smaller.
        if (request.withCaption)
            io.drawCaption(result, item.source);
        Encoding how;
        how.jpeg = request.kind != Kind::Resize;
        how.quality = request.kind == Kind::Compress ? request.quality : 0;
        how.grey = request.kind == Kind::Grey;
        io.save(item.target, result, how, picture.exif);
        return {true, {}};
    } catch (const std::bad_alloc&) {
        return {false, failed + "\rZu wenig Arbeitsspeicher für dieses Bild."};
    } catch (const std::exception& e) {
        return {false, failed + "\r" + e.what()};
    }
}

bool exists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace

std::string resultPath(Kind kind, const std::string& path) {
    const std::string folder = pathnames::folderOf(path);
    const std::string name = pathnames::fileNamePart(path);
    const std::string prefix = folder.empty() ? "" : (folder == "/" ? "/" : folder + "/");
    // A phone photo is read but cannot be written in its own format: its smaller copy is a JPEG.
    if (kind == Kind::Resize && !isReadOnlyPicture(name))
        return prefix + "_" + name;
    return prefix + "_" + name.substr(0, name.size() - pathnames::extensionOf(name).size()) + ".jpg";
}

std::optional<Size> resultSize(const Request& request, int width, int height) {
    if (width <= 0 || height <= 0)
        return std::nullopt;
    const auto [w, h] = wantedSize(request, width, height);
    if (w > kMaxSide || h > kMaxSide)
        return std::nullopt;
    return Size{std::max(1, static_cast<int>(w)), std::max(1, static_cast<int>(h))};
}

Size sizeInBox(int width, int height, int boxWidth, int boxHeight) {
    if (width <= 0 || height <= 0)
        return {1, 1};
    if (width <= boxWidth && height <= boxHeight)
        return {width, height};
    // The side that reaches the box first takes its whole length, the other follows rounded down.
    if (static_cast<long long>(width) * boxHeight >= static_cast<long long>(height) * boxWidth)
        return {boxWidth, static_cast<int>(std::max<long long>(1, static_cast<long long>(height) * boxWidth / width))};
    return {static_cast<int>(std::max<long long>(1, static_cast<long long>(width) * boxHeight / height)), boxHeight};
}

int proposedPercent(int screenHeight, int heldPictureHeight) {
    if (heldPictureHeight > screenHeight && screenHeight > 0) {
        return static_cast<int>(static_cast<long long>(screenHeight) * 100 / heldPictureHeight);
    }
    return 50;
}

std::vector<Item> planItems(Kind kind, const std::vector<std::string>& selected) {
    std::vector<Item> items;
    std::set<std::string> inputs;
    for (const auto& path : selected) {
        if (isPictureFile(pathnames::fileNamePart(path)))
            inputs.insert(path);
    }
    std::set<std::string> targets;
    std::vector<std::pair<std::string, std::string>> owners;  // target, first source
    for (const auto& path : selected) {
        if (!isPictureFile(pathnames::fileNamePart(path)))
            continue;
        Item item{path, resultPath(kind, path), {}};
        const std::string shown = pathnames::fileNamePart(item.target);
        if (inputs.count(item.target) != 0) {
            item.refusal = "\"" + shown + "\" wird nicht geschrieben, denn diese Datei ist selbst ausgewählt.";
        } else if (!targets.insert(item.target).second) {
            std::string first;
            for (const auto& [target, source] : owners) {
                if (target == item.target)
                    first = source;
            }
            item.refusal = "\"" + shown + "\" wird für \"" + pathnames::fileNamePart(path) +
                           "\" nicht geschrieben, denn \"" + pathnames::fileNamePart(first) +
                           "\" ergibt denselben Namen.";
        } else {
            owners.emplace_back(item.target, path);
        }
        items.push_back(std::move(item));
    }
    return items;
}

Report run(const std::vector<Item>& items, const Request& request, Context& context) {
    Report report;
    TwoInHandSteps<Done> steps;
    steps.settled = [&items, &context](std::size_t i) -> std::optional<Done> {
        const Item& item = items[i];
        if (!item.refusal.empty())
            return Done{false, item.refusal};
        if (exists(item.target) && context.keepExisting) {
            if (std::string kept = context.keepExisting(item.target); !kept.empty())
                return Done{false, kept};
        }
        return std::nullopt;
    };
    steps.make = [&items, &request, &context](std::size_t i) { return makeOne(items[i], request, context.io); };
    steps.poll = [&items, &request, &context](std::size_t i) {
        return context.dialogs.stepCancelWindow(stepText(request.kind, items[i].source));
    };
    steps.done = [&items, &report](std::size_t i, Done done) {
        if (done.written) {
            report.written.push_back(items[i].target);
        } else {
            report.failures.push_back(std::move(done.message));
        }
    };
    report.stopped = runTwoInHand(items.size(), steps);
    return report;
}

void showFailures(const std::vector<std::string>& failures, Dialogs& dialogs) {
    if (failures.empty())
        return;
    if (failures.size() <= 8) {
        dialogs.inform(text::joinLines(failures, "\r\r"));
        return;
    }
    std::vector<std::string> lines;
    for (const auto& failure : failures) {
        std::string line = failure;
        for (char& c : line) {
            if (c == '\r')
                c = ' ';
        }
        lines.push_back(std::move(line));
    }
    dialogs.showText(std::to_string(failures.size()) + " Bilder nicht gespeichert", text::joinLines(lines));
}

namespace {

// The selection, the confirmation and the run, inside an open cancel window.
Outcome confirmAndRun(const std::vector<Item>& items, const std::string& caption, const std::string& upper,
                      const Request& request, Context& context, const char* cancelWindowAfter = nullptr) {
    std::vector<std::string> paths;
    for (const auto& item : items) paths.push_back(item.source);
    if (!context.dialogs.confirmText(caption, upper, text::joinLines(paths))) {
        context.dialogs.endCancelWindow();
        context.dialogs.inform("Abbruch");
        return Outcome::Cancelled;
    }
    if (cancelWindowAfter)
        context.dialogs.beginCancelWindow(cancelWindowAfter);
    const Report report = run(items, request, context);
    context.dialogs.endCancelWindow();
    showFailures(report.failures, context.dialogs);
    return Outcome::Done;
}

}  // namespace

Outcome resizeCommand(const std::vector<std::string>& selected, bool byHeight, int percentProposal, Request request,
                      Context& context) {
    Dialogs& dialogs = context.dialogs;
    long long number = byHeight ? 700 : percentProposal;
    const bool answered =
        byHeight ? dialogs.askNumber("Immer gleiche Höhe", "Zum Beispiel 700 => Höhe = 700 Pixel", number)
                 : dialogs.askNumber("Größenänderung in %", "Zum Beispiel 50%: Halbe Breite, Halbe Höhe = 50", number);
    if (!answered)
        return Outcome::Cancelled;
    if (byHeight && (number < 1 || number > kMaxSide)) {
        dialogs.inform("Die Höhe muss zwischen 1 und " + std::to_string(kMaxSide) + " Pixel liegen.");
        return Outcome::Cancelled;
    }
    if (!byHeight && (number < 1 || number > 1000000)) {
        dialogs.inform("Bitte eine Prozentzahl von 1 bis 1000000 eingeben.");
        return Outcome::Cancelled;
    }
    request.kind = Kind::Resize;
    request.height = byHeight ? static_cast<int>(number) : 0;
    request.percent = byHeight ? 0 : static_cast<int>(number);
    const auto items = planItems(Kind::Resize, selected);
    if (items.empty()) {
        dialogs.inform("Keine Datei ausgewählt!");
        return Outcome::NothingSelected;
    }
    return confirmAndRun(items, "Dateien verkleinert abspeichern.",
                         std::string("Folgende Bilder werden verkleinert\r") + kKeptNote, request, context, "Kleiner");
}

Outcome compressCommand(const std::vector<std::string>& selected, Request request, Context& context) {
    Dialogs& dialogs = context.dialogs;
    dialogs.beginCancelWindow("Komprimieren");
    const auto items = planItems(Kind::Compress, selected);
    if (items.empty()) {
        dialogs.endCancelWindow();
        dialogs.inform("Keine Datei ausgewählt!");
        return Outcome::NothingSelected;
    }
    long long quality = 50;
    if (!dialogs.askNumber("Kompressionsrate", "1%-100%", quality)) {
        dialogs.endCancelWindow();
        return Outcome::Cancelled;
    }
    if (quality < 1 || quality > 100) {
        dialogs.endCancelWindow();
        dialogs.inform("Die Kompressionsrate muss zwischen 1 und 100 liegen.");
        return Outcome::Cancelled;
    }
    request.kind = Kind::Compress;
    request.quality = static_cast<int>(quality);
    return confirmAndRun(items, "Dateien komprimieren.",
                         std::string("Folgende Dateien werden komprimiert \rund ") + kKeptNote, request, context);
}

Outcome greyCommand(const std::vector<std::string>& selected, Request request, Context& context) {
    Dialogs& dialogs = context.dialogs;
    dialogs.beginCancelWindow("Schwarzweiß");
    const auto items = planItems(Kind::Grey, selected);
    if (items.empty()) {
        dialogs.endCancelWindow();
        dialogs.inform("Keine Datei ausgewählt!");
        return Outcome::NothingSelected;
    }
    request.kind = Kind::Grey;
    request.quality = 0;
    return confirmAndRun(items, "Bilder schwarz-weiß", std::string("Folgende Bilder werden schwarz-weiß\r") + kKeptNote,
                         request, context);
}

}  // namespace pictra::pictures::batch
