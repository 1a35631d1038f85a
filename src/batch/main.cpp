// pictra-batch: the explorer's batch picture commands from a shell, over SSH or in cron.
// Links core and platform only: no windows, no settings, no instance lock, no browser engine,
// and never a display.
#include <QGuiApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unistd.h>

#include "CommandLineDialogs.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "pictures/ExifGps.h"
#include "pictures/batch/BatchCommandLine.h"
#include "pictures/batch/GalleryCommand.h"
#include "platform/pictures/BatchPictureFiles.h"
#include "platform/pictures/GalleryPictureFiles.h"

namespace {

namespace fs = std::filesystem;
namespace pathnames = pictra::pathnames;
namespace fileio = pictra::fileio;
namespace batch = pictra::pictures::batch;
namespace cli = pictra::pictures::batch::cli;
using pictra::batchtool::CommandLineDialogs;
using pictra::batchtool::stopSignal;

void onSignal(int signal) { stopSignal().store(signal); }

void installSignals() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed stdout shows as a failed write, and the run stops after the files in hand.
    std::signal(SIGPIPE, SIG_IGN);
}

bool isJpegName(const std::string& path) {
    const std::string ext = pathnames::lowerExtension(path);
    return ext == ".jpg" || ext == ".jpeg" || ext == ".jpe";
}

// The shared picture files with what only the command line asks for: a JPEG quality for
// resized JPEGs (the explorer's command writes them at the window's 91) and no metadata.
class CommandLinePictures : public batch::PictureIo {
public:
    explicit CommandLinePictures(const cli::Options& options) : m_options(options) {}
    batch::Picture load(const std::string& path) override { return stripped(m_files.load(path)); }
    batch::Picture load(const std::string& path, const batch::SizeHint& hint) override {
        return stripped(m_files.load(path, hint));
    }
    void save(const std::string& path, const pictra::pictures::Bitmap32& bitmap, const batch::Encoding& how,
              const std::string& exif) override {
        batch::Encoding encoding = how;
        if (m_options.job == cli::Job::Resize && m_options.quality > 0 && isJpegName(path)) {
            encoding.jpeg = true;
            encoding.quality = m_options.quality;
        }
        m_files.save(path, bitmap, encoding, m_options.strip ? std::string() : exif);
    }

    void drawCaption(pictra::pictures::Bitmap32& result, const std::string& picturePath) override {
        m_files.drawCaption(result, picturePath);
    }

private:
    batch::Picture stripped(batch::Picture picture) const {
        if (m_options.strip)
            picture.exif.clear();
        else if (m_options.stripGps)
            picture.exif = pictra::pictures::exifWithoutGps(picture.exif);
        return picture;
    }

    const cli::Options& m_options;
    pictra::platform::pictures::BatchPictureFiles m_files;
};

std::string oneLine(std::string message) {
    for (std::size_t i = 0; (i = message.find('\r', i)) != std::string::npos;) message.replace(i, 1, ": ");
    return message;
}

void complain(const std::string& path, const std::string& message) {
    std::cerr << "pictra-batch: " << path << ": " << oneLine(message) << "\n" << std::flush;
}

struct Outcome {
    bool done = false;
    bool written = false;
    std::string message;
};

class Output {
public:
    explicit Output(const cli::Options& options) : m_options(options) {
        m_terminal = isatty(STDERR_FILENO) != 0;
        m_progress = (m_terminal && !options.quiet) || options.progress;
        m_sharedScreen = m_terminal && isatty(STDOUT_FILENO) != 0;
    }
    // False once stdout is closed.
    bool path(const std::string& path) {
        // On one screen with the progress line, a path takes that line's place; the
        // progress is drawn again below it.
        if (m_sharedScreen)
            clearLine();
        std::fwrite(path.data(), 1, path.size(), stdout);
        std::fputc(m_options.nul ? '\0' : '\n', stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout);
    }
    void progress(std::size_t done, std::size_t total, const std::string& name,
                  std::chrono::steady_clock::duration elapsed) {
        if (!m_progress)
            return;
        const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
        const long long left = done == 0 ? -1 : seconds * static_cast<long long>(total - done) / static_cast<long long>(done);
        const std::string line = cli::progressLine(done, total, name, left);
        std::cerr << (m_terminal ? "\r" + line + "\033[K" : line + "\n") << std::flush;
    }
    void summary(const std::string& line) {
        if (m_progress && m_terminal)
            std::cerr << "\r\033[K";
        if ((m_terminal && !m_options.quiet) || m_options.progress)
            std::cerr << line << "\n";
        std::cerr << std::flush;
    }
    void clearLine() {
        if (m_progress && m_terminal)
            std::cerr << "\r\033[K" << std::flush;
    }

private:
    const cli::Options& m_options;
    bool m_terminal = false;
    bool m_progress = false;
    bool m_sharedScreen = false;
};

int exitFor(bool allGood) {
    const int signal = stopSignal().load();
    if (signal == SIGINT)
        return cli::kExitInterrupted;
    if (signal == SIGTERM)
        return cli::kExitTerminated;
    if (signal == SIGPIPE)
        return 128 + SIGPIPE;
    return allGood ? cli::kExitDone : cli::kExitSomeFailed;
}

std::vector<std::string> namesOf(const cli::Options& options, bool& readError) {
    std::vector<std::string> names = options.inputs;
    if (options.filesFrom.empty())
        return names;
    std::string bytes;
    if (options.filesFrom == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    } else {
        const auto read = fileio::readFile(options.filesFrom);
        if (!read) {
            complain(options.filesFrom, "Die Namensliste kann nicht gelesen werden.");
            readError = true;
            return names;
        }
        bytes = *read;
    }
    for (auto& name : cli::splitNames(bytes, options.nul)) names.push_back(std::move(name));
    return names;
}

// Qt's writers of PNG, BMP and TIFF store the screen's dots per inch: the offscreen platform
// gives them the 96 the explorer's pictures get (a bare core application would write 100),
// and captions need its fonts. JPEG-only runs start without it, in a few milliseconds.
// Never a display either way.
std::unique_ptr<QCoreApplication> startQt(const cli::Options& options, const cli::Plan& plan, int& argc, char** argv) {
    for (const auto& file : plan.files) {
        if (file.state == cli::PlannedFile::State::Make && (options.withCaption || !isJpegName(file.target))) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int runFiles(const cli::Options& options, int& argc, char** argv) {
    bool allGood = true;
    bool readError = false;
    const auto names = namesOf(options, readError);
    if (readError)
        return cli::kExitUsage;
    const cli::Plan plan = cli::makePlan(options, names);
    if (!plan.usageError.empty()) {
        std::cerr << cli::usageText(plan.usageError);
        return cli::kExitUsage;
    }
    for (const auto& [path, reason] : plan.problems) {
        complain(path, reason);
        allGood = false;
    }
    std::vector<std::size_t> work;
    std::size_t upToDate = 0;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const auto& file = plan.files[i];
        if (file.state == cli::PlannedFile::State::Make)
            work.push_back(i);
        else if (file.state == cli::PlannedFile::State::UpToDate)
            ++upToDate;
    }
    const auto qt = startQt(options, plan, argc, argv);
    Output out(options);
    if (options.dryRun) {
        for (const auto& file : plan.files) {
            if (file.state == cli::PlannedFile::State::LeftOut) {
                complain(file.source, file.message);
                allGood = false;
            } else if (file.state == cli::PlannedFile::State::Make && !out.path(file.target)) {
                break;
            }
        }
        return allGood ? cli::kExitDone : cli::kExitSomeFailed;
    }
    if (!options.outputDir.empty() && !work.empty()) {
        std::error_code ec;
        fs::create_directories(options.outputDir, ec);
        if (!fs::is_directory(options.outputDir, ec)) {
            complain(options.outputDir, "Der Ausgabeordner kann nicht angelegt werden.");
            return cli::kExitSomeFailed;
        }
    }

    // Workers take the files in order; the results are reported in input order.
    std::vector<Outcome> outcomes(plan.files.size());
    std::mutex lock;
    std::condition_variable changed;
    std::atomic<std::size_t> next{0};
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const std::size_t workers = std::min<std::size_t>(options.jobs > 0 ? static_cast<std::size_t>(options.jobs) : cores,
                                                      std::max<std::size_t>(1, work.size()));
    std::size_t active = workers;
    std::vector<std::thread> threads;
    const batch::Request request = cli::requestFor(options);
    for (std::size_t w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            CommandLinePictures io(options);
            CommandLineDialogs dialogs;
            batch::Context context{io, dialogs, [](const std::string&) { return std::string(); }};
            for (;;) {
                if (stopSignal().load() != 0)
                    break;
                const std::size_t k = next.fetch_add(1);
                if (k >= work.size())
                    break;
                const auto& file = plan.files[work[k]];
                const batch::Item item{file.source, file.target, {}};
                const batch::Report report = batch::run({item}, request, context);
                Outcome outcome;
                outcome.written = !report.written.empty();
                outcome.message = report.failures.empty() ? std::string() : report.failures.front();
                if (outcome.written && options.inPlace && file.target != file.source) {
                    std::error_code ec;
                    fs::remove(file.source, ec);  // the new picture is complete on disk
                }
                outcome.done = outcome.written || !outcome.message.empty();
                {
                    const std::lock_guard<std::mutex> guard(lock);
                    outcomes[work[k]] = std::move(outcome);
                }
                changed.notify_all();
            }
            {
                const std::lock_guard<std::mutex> guard(lock);
                --active;
            }
            changed.notify_all();
        });
    }

    const auto started = std::chrono::steady_clock::now();
    std::size_t written = 0;
    std::size_t failed = 0;
    std::size_t finished = 0;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const auto& file = plan.files[i];
        if (file.state == cli::PlannedFile::State::LeftOut) {
            out.clearLine();
            complain(file.source, file.message);
            ++failed;
            continue;
        }
        if (file.state != cli::PlannedFile::State::Make)
            continue;
        Outcome outcome;
        {
            std::unique_lock<std::mutex> guard(lock);
            // All workers gone and the file not done: the run was stopped before it.
            changed.wait(guard, [&] { return outcomes[i].done || active == 0; });
            outcome = outcomes[i];
        }
        if (!outcome.done)
            break;  // stopped before this file was begun
        ++finished;
        if (outcome.written) {
            ++written;
            if (!out.path(file.target))
                stopSignal().store(SIGPIPE);
        } else {
            out.clearLine();
            complain(file.source, outcome.message);
            ++failed;
        }
        out.progress(finished, work.size(), pathnames::fileNamePart(file.source),
                     std::chrono::steady_clock::now() - started);
    }
    for (auto& thread : threads) thread.join();
    if (written < work.size() || failed > 0)
        allGood = false;
    out.summary(cli::summaryLine(written, upToDate, failed + plan.problems.size(), stopSignal().load() != 0));
    return exitFor(allGood);
}

std::string programFolder() {
    if (const char* home = std::getenv("PICTRA_HOME"); home && *home)
        return home;
    std::string base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        base = data;
    else if (const char* user = std::getenv("HOME"); user && *user)
        base = std::string(user) + "/.local/share";
    else
        base = "/tmp";
    const std::string folder = base + "/pictra";
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

int runGallery(const cli::Options& options) {
    std::string folder = options.inputs.front();
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        complain(folder, "Kein Ordner.");
        return cli::kExitSomeFailed;
    }
    batch::GalleryRequest request;
    request.folder = folder;
    if (!options.title.empty())
        request.options.heading = options.title;
    if (!options.name.empty())
        request.options.name = options.name;
    request.options.labels = options.perRow > 0;
    if (options.perRow > 0)
        request.options.perRow = options.perRow;
    request.options.border = options.border;
    request.options.navigation = options.navigation;
    request.options.navigationHeight = options.navigationHeight;
    request.quality = options.quality > 0 ? options.quality : 65;
    request.smallHeight = options.smallHeight;
    request.headingsForAll = true;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    request.date = batch::germanShortDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    request.journalFolder = programFolder();

    pictra::platform::pictures::GalleryPictureFiles files;
    CommandLineDialogs dialogs(folder);
    const batch::GalleryResult result = batch::makeGallery(request, files, dialogs);
    Output out(options);
    if (!result.overviewPath.empty())
        out.path(result.overviewPath);
    return exitFor(!result.overviewPath.empty() && !dialogs.reported());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    const cli::Parsed parsed = cli::parseCommandLine(args);
    switch (parsed.what) {
    case cli::Parsed::What::Usage:
        std::cerr << cli::usageText(parsed.message);
        return cli::kExitUsage;
    case cli::Parsed::What::Help:
        std::cout << cli::helpText();
        return cli::kExitDone;
    case cli::Parsed::What::Version:
        std::cout << cli::versionText(PICTRA_VERSION);
        return cli::kExitDone;
    case cli::Parsed::What::Run:
        break;
    }
    installSignals();
    // Qt's notes (in English, about its own set-up) are no messages for the user.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << "pictra-batch: " << text.toStdString() << "\n";
    });
    if (parsed.options.job == cli::Job::Gallery) {
        QCoreApplication app(argc, argv);
        return runGallery(parsed.options);
    }
    return runFiles(parsed.options, argc, argv);
}
