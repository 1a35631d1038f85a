#include "FileCommands.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "NameRules.h"
#include "Rename.h"
#include "common/FileIo.h"
#include "common/PathNames.h"
#include "common/Text.h"
#include "explorer/BinBackup.h"
#include "explorer/MarkedFiles.h"
#include "tools/Tones.h"

namespace pictra::fileops {

namespace {

std::size_t g_block = std::size_t{8} << 20;

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder == "/" ? folder + name : folder + "/" + name;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// Asks the cancel window about ten times a second, whatever the block size.
class CancelPoll {
public:
    CancelPoll(Dialogs& dialogs, std::string text) : m_dialogs(dialogs), m_text(std::move(text)) {}
    void setText(std::string text) { m_text = std::move(text); }
    bool stop(bool now = false) {
        const auto t = std::chrono::steady_clock::now();
        if (!now && t - m_last < std::chrono::milliseconds(100)) return false;
        m_last = t;
        return m_dialogs.stepCancelWindow(m_text);
    }

private:
    Dialogs& m_dialogs;
    std::string m_text;
    std::chrono::steady_clock::time_point m_last{};
};

enum class CopyEnd { Done, Cancelled, Failed };

// Copies `length` bytes from `in` at `offset` to the end of `out`, in the kernel
// where the file systems allow it. `error` gets the system's reason of a failure.
CopyEnd copyRange(int in, off_t offset, int out, std::uintmax_t length, CancelPoll& poll, int& error) {
    bool kernel = true;
    std::string buffer;
    while (length > 0) {
        if (poll.stop()) return CopyEnd::Cancelled;
        const size_t chunk = static_cast<size_t>(std::min<std::uintmax_t>(length, g_block));
        ssize_t done = -1;
        if (kernel) {
            loff_t from = offset;
            done = ::copy_file_range(in, &from, out, nullptr, chunk, 0);
            if (done < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                kernel = false;
                continue;
            }
        } else {
            buffer.resize(std::min<size_t>(chunk, size_t{1} << 20));
            done = ::pread(in, buffer.data(), buffer.size(), offset);
            if (done > 0) {
                ssize_t written = 0;
                while (written < done) {
                    const ssize_t w = ::write(out, buffer.data() + written, static_cast<size_t>(done - written));
                    if (w < 0 && errno == EINTR) continue;
                    if (w <= 0) {
                        error = w < 0 ? errno : ENOSPC;
                        return CopyEnd::Failed;
                    }
                    written += w;
                }
            }
        }
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) {
            error = errno;
            return CopyEnd::Failed;
        }
        if (done == 0) {
            // The file became shorter while it was read.
            error = EIO;
            return CopyEnd::Failed;
        }
        offset += done;
        length -= static_cast<std::uintmax_t>(done);
    }
    return CopyEnd::Done;
}

std::string writeFailure(const std::string& path, int error) {
    return fileio::isDiskFull(error) ? fullVolumeText(path) : "Konnte \"" + path + "\" nicht schreiben.";
}

long long trailingNumber(const std::string& path) {
    const std::string base = baseNameOf(pathnames::fileNamePart(path));
    size_t start = base.size();
    while (start > 0 && base[start - 1] >= '0' && base[start - 1] <= '9') --start;
    long long value = -1;
    std::from_chars(base.data() + start, base.data() + base.size(), value);
    return value;
}

// A file that must not lose its data, opened only when it is new.
int createNew(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644); }

}  // namespace

void setCopyBlock(std::size_t bytes) { g_block = bytes; }

std::optional<std::int64_t> localMidnight(long long year, long long month, long long day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return std::nullopt;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
    if (day > last) return std::nullopt;
    std::tm tm{};
    tm.tm_year = static_cast<int>(year - 1900);
    tm.tm_mon = static_cast<int>(month - 1);
    tm.tm_mday = static_cast<int>(day);
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == static_cast<std::time_t>(-1) && !(tm.tm_year == 69 && tm.tm_mon == 11 && tm.tm_mday == 31)) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(t);
}

void changeFileDate(const std::vector<std::string>& selected, DateEntry& last, Dialogs& dialogs) {
    if (selected.size() != 1) {
        dialogs.inform("Sie müssen genau eine Datei auswählen");
        return;
    }
    if (!dialogs.askNumber("Jahr", "zum Beispiel 2010", last.year)) return;
    if (!dialogs.askNumber("Monat", "zum Beispiel 5 für Mai", last.month)) return;
    if (!dialogs.askNumber("Tag", "zum Beispiel 12 für 12. Mai 2010", last.day)) return;
    const auto when = localMidnight(last.year, last.month, last.day);
    bool ok = false;
    if (when) {
        struct timespec times[2] {};
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = static_cast<time_t>(*when);
        ok = ::utimensat(AT_FDCWD, selected.front().c_str(), times, 0) == 0;
    }
    dialogs.inform(ok ? "OK" : "Fehler");
}

void removeWriteProtection(const std::vector<std::string>& paths, Dialogs& dialogs) {
    for (const auto& path : paths) {
        struct stat st {};
        const bool ok = ::stat(path.c_str(), &st) == 0 && ((st.st_mode & S_IWUSR) != 0 ||
                                                           ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0);
        if (!ok) dialogs.inform(path + ": Schreibschutz nicht entfernt!");
    }
}

std::string percentEncoded(const std::string& name) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

void showPathsAsText(const std::string& folder, const std::vector<std::string>& lines,
                     const std::vector<std::string>& paths, Dialogs& dialogs) {
    std::vector<std::string> lower;
    for (const auto& line : lines) lower.push_back(inFolder(folder, line));
    for (const auto& path : paths) {
        const std::string name = pathnames::fileNamePart(path);
        lower.push_back("<a href=\"" + percentEncoded(name) + "\">" + name + "</a>");
    }
    dialogs.confirmText("Dateipfade", text::joinLines(paths), text::joinLines(lower));
}

std::vector<std::string> pieceNames(const std::string& path, std::uintmax_t size, std::uintmax_t pieceSize) {
    const std::uintmax_t count = std::max<std::uintmax_t>(1, (size + pieceSize - 1) / pieceSize);
    const size_t width = std::max<size_t>(3, std::to_string(count).size());
    const std::string name = pathnames::fileNamePart(path);
    const std::string folder = pathnames::folderOf(path);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(count));
    for (std::uintmax_t i = 1; i <= count; ++i) {
        std::string number = std::to_string(i);
        number.insert(0, width - number.size(), '0');
        names.push_back(inFolder(folder, baseNameOf(name) + number + extensionOfName(name)));
    }
    return names;
}

void splitFile(const std::vector<std::string>& selected, Dialogs& dialogs, const SplitVolume& volume) {
    if (selected.size() != 1) {
        dialogs.inform("Sie müssen genau eine Datei auswählen");
        return;
    }
    const std::string& path = selected.front();
    dialogs.beginCancelWindow("Splitten");
    struct Ender {
        Dialogs& d;
        ~Ender() { d.endCancelWindow(); }
    } ender{dialogs};
    long long kbytes = 50;
    if (!dialogs.askNumber("Größe der Teidateien", "in KByte", kbytes)) return;
    if (kbytes <= 0 || kbytes > (1LL << 40)) {
        dialogs.inform("Die Größe der Teildateien muss mindestens 1 KByte sein.");
        return;
    }
    const auto pieceSize = static_cast<std::uintmax_t>(kbytes) * 1000;
    dialogs.inform("Die für eine Diskette zu große Datei wird aufgeteilt\rund als Dateien \"1\", \"2\" ... mit je " +
                   std::to_string(pieceSize) + " Bytes geschrieben.\r" +
                   "Die ursprünliche Datei kann dann wieder mit \"Ausgewählte gesplittete Dateien " +
                   "zusammenfügen\" restauriert werden.");
    const int in = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (in < 0 || ::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (in >= 0) ::close(in);
        dialogs.inform("Datei \"" + path + "\"kann nicht geladen werden.");
        return;
    }
    const auto size = static_cast<std::uintmax_t>(st.st_size);
    const std::vector<std::string> pieces = pieceNames(path, size, pieceSize);
    for (const auto& piece : pieces) {
        if (exists(piece)) {
            ::close(in);
            dialogs.inform("Die Datei \"" + piece + "\" ist schon vorhanden.\rDie Datei wurde nicht geteilt.");
            return;
        }
    }
    CancelPoll poll(dialogs, "Splitten");
    std::vector<std::string> written;
    std::string failure;
    bool cancelled = false;
    for (size_t i = 0; i < pieces.size() && failure.empty() && !cancelled; ++i) {
        poll.setText(std::to_string(i + 1));
        const std::uintmax_t offset = i * pieceSize;
        const std::uintmax_t length = std::min(pieceSize, size - std::min(size, offset));
        if (volume.removable && volume.freeBytes) {
            while (!cancelled && volume.freeBytes() < length) {
                CancelModeScope cancelMode(dialogs);
                cancelled = dialogs.ask("Neue leere Diskette einlegen.") != Answer::Yes;
            }
            // The pieces on the disks taken out stay: they are what the user wanted.
            if (cancelled) {
                written.clear();
                break;
            }
        }
        const int out = createNew(pieces[i]);
        if (out < 0) {
            failure = writeFailure(pieces[i], errno);
            break;
        }
        written.push_back(pieces[i]);
        int error = 0;
        const CopyEnd end = copyRange(in, static_cast<off_t>(offset), out, length, poll, error);
        if (::close(out) != 0 && end == CopyEnd::Done) failure = writeFailure(pieces[i], errno);
        if (end == CopyEnd::Failed) failure = writeFailure(pieces[i], error);
        cancelled = end == CopyEnd::Cancelled;
    }
    ::close(in);
    if (failure.empty() && !cancelled) return;
    // Some of the pieces are worth nothing: none stays.
    for (const auto& piece : written) ::unlink(piece.c_str());
    dialogs.inform(cancelled ? std::string("Abbruch") : failure + "\rDie Teildateien wurden wieder entfernt.");
}

std::vector<std::string> inPieceOrder(std::vector<std::string> pieces) {
    std::stable_sort(pieces.begin(), pieces.end(),
                     [](const std::string& a, const std::string& b) { return trailingNumber(a) < trailingNumber(b); });
    return pieces;
}

void joinFiles(const std::vector<std::string>& selected, Dialogs& dialogs,
               const std::function<void(const std::string&)>& afterFile) {
    if (selected.empty()) return;
    dialogs.beginCancelWindow("Zusammenfügen");
    struct Ender {
        Dialogs& d;
        ~Ender() { d.endCancelWindow(); }
    } ender{dialogs};
    const std::vector<std::string> pieces = inPieceOrder(selected);
    auto target = dialogs.chooseSaveFile("Speichern unter", pathnames::folderOf(pieces.front()));
    if (!target || target->empty()) return;
    if (pathnames::extensionOf(*target).empty()) {
        *target += pathnames::extensionOf(pieces.size() > 1 ? pieces[1] : pieces[0]);
    }
    if (exists(*target)) {
        dialogs.inform("Datei darf nicht existieren\rBitte neuen Dateinamen eingeben!");
        return;
    }
    const int out = createNew(*target);
    if (out < 0) {
        dialogs.inform(writeFailure(*target, errno));
        return;
    }
    CancelPoll poll(dialogs, "Zusammenfügen");
    std::string failure;
    bool cancelled = false;
    for (const auto& piece : pieces) {
        const int in = ::open(piece.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (in < 0 || ::fstat(in, &st) != 0) {
            if (in >= 0) ::close(in);
            failure = "Datei \"" + piece + "\"kann nicht geladen werden.";
            break;
        }
        poll.setText(piece + "(" + std::to_string(st.st_size) + " Byte)");
        if (poll.stop(true)) {
            ::close(in);
            cancelled = true;
            break;
        }
        int error = 0;
        const CopyEnd end = copyRange(in, 0, out, static_cast<std::uintmax_t>(st.st_size), poll, error);
        ::close(in);
        if (end == CopyEnd::Failed) failure = writeFailure(*target, error);
        if (end != CopyEnd::Done) {
            cancelled = end == CopyEnd::Cancelled;
            break;
        }
        if (afterFile) afterFile("Fertig                    ");
    }
    if (::close(out) != 0 && failure.empty() && !cancelled) failure = writeFailure(*target, errno);
    if (cancelled) {
        // The target stays as far as it was written.
        dialogs.inform("Abbruch");
        return;
    }
    if (failure.empty()) return;
    ::unlink(target->c_str());
    dialogs.inform(failure + "\r\"" + *target + "\" wurde wieder entfernt.");
}

void moveToFolderA(const std::vector<std::string>& selected, std::optional<bool>& moveMode, CopyContext& context,
                   Tones& tones, const bin::Date& today) {
    Dialogs& dialogs = context.dialogs;
    for (const auto& path : selected) {
        if (!moveMode) {
            CancelModeScope scope(dialogs);
            const Answer answer = dialogs.ask("Verschieben? (Nein = kopieren).\rwird pro Sitzung nur einmal abgefragt.");
            if (answer == Answer::Cancel) continue;
            moveMode = answer == Answer::Yes;
        }
        const std::string folder = inFolder(pathnames::folderOf(path), "a");
        const std::string target = inFolder(folder, pathnames::fileNamePart(path));
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        // The file it replaces is kept in the bin; if that fails it stays as it is.
        if (exists(target)) {
            const binbackup::Kept kept = binbackup::keepInBin(target, today, context);
            if (!kept.kept) {
                dialogs.inform(kept.message.empty() ? "Konnte \"" + target + "\" nicht schreiben." : kept.message);
                continue;
            }
        }
        bool ok = false;
        if (*moveMode && fileio::moveFile(path, target)) {
            ok = true;
        } else {
            std::string error;
            ok = fileio::copyFileAtomic(path, target, error);
            // Nothing is deleted before its copy exists.
            if (ok && *moveMode) explorer::deleteNow(path, dialogs);
        }
        if (ok) {
            tones.tone(440);
        } else {
            dialogs.inform("Konnte \"" + target + "\" nicht schreiben.");
        }
    }
}

std::string duplicateName(const std::string& path) {
    std::string name = pathnames::fileNamePart(path);
    if (text::toLowerAscii(extensionOfName(name)) == ".part") name = baseNameOf(name);
    return inFolder(pathnames::folderOf(path), baseNameOf(name) + "_" + extensionOfName(name));
}

std::vector<std::string> duplicateFiles(const std::vector<std::string>& selected, CopyContext& context) {
    std::vector<std::string> copies;
    if (selected.empty() ||
        context.dialogs.ask("Ausgewählte Dateien \"abc\" werden zu \"abc_\" dupliziert und können\rdann umbenannt "
                            "werden. Duplizieren?") != Answer::Yes) {
        return copies;
    }
    for (const auto& path : selected) {
        const std::string target = duplicateName(path);
        const CopyOutcome outcome = copyChecked(path, target, context);
        if (outcome.written) {
            copies.push_back(target);
        } else {
            context.dialogs.inform(path + " nicht dupliziert");
        }
    }
    return copies;
}

void fileAway(const std::vector<std::string>& paths, CopyContext& context) {
    Dialogs& dialogs = context.dialogs;
    if (dialogs.ask("Datein in den Unterordner \"Ablage\" veschieben?") != Answer::Yes) {
        dialogs.inform("Abbruch");
        return;
    }
    dialogs.beginCancelWindow("In den Papierkorb verschieben");
    struct Ender {
        Dialogs& d;
        ~Ender() { d.endCancelWindow(); }
    } ender{dialogs};
    for (const auto& path : paths) {
        if (dialogs.stepCancelWindow(path)) {
            dialogs.inform("Abbruch");
            return;
        }
        const std::string folder = inFolder(pathnames::folderOf(path), "ablage");
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!std::filesystem::is_directory(folder, ec)) {
            dialogs.inform("\"" + folder + "\" konnte nicht erstellt werden.");
            return;
        }
        const std::string target = inFolder(folder, pathnames::fileNamePart(path));
        const RenameResult moved = renameNoReplace(path, target);
        bool ok = moved.ok();
        if (moved.status == RenameStatus::Failed && moved.error == EXDEV && !exists(target)) {
            // Another volume: the original goes only once its copy is there.
            std::string error;
            ok = fileio::copyFileAtomic(path, target, error) && !explorer::deleteNow(path, dialogs);
        }
        if (!ok) dialogs.inform("Datei \"" + path + "\" konnte nicht verschoben werden.");
    }
}

void overwriteWithText(const std::vector<std::string>& selected, const std::string& text, Dialogs& dialogs,
                       Tones& tones) {
    if (selected.empty() || dialogs.ask("Alle ausgewählte Dateien xyz werden umbenannt in xyz_9.\r\nDie Datei xyz "
                                        "erhält den Text der aktuellen Datei (gelbes Feld). OK?") != Answer::Yes) {
        return;
    }
    for (const auto& path : selected) {
        const std::string name = pathnames::fileNamePart(path);
        const std::string kept = inFolder(pathnames::folderOf(path), baseNameOf(name) + "_9" + extensionOfName(name));
        if (!renameNoReplace(path, kept).ok()) {
            dialogs.inform("Fehler beim Umbenennen der Datei \"" + path + "\r" + "Vielleicht existiert schon eine Datei \"" +
                           kept + "\".");
            continue;
        }
        tones.tone(880);
        if (!fileio::writeFileAtomic(path, text)) dialogs.inform("Konnte \"" + path + "\" nicht schreiben.");
    }
}

}  // namespace pictra::fileops
