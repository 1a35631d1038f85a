#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Names and the start-up purge of the program's own recycle bin "papierkorb",
// which also holds the day backups made before a save.
namespace pictra::bin {

struct Date {
    int year;
    int month;
    int day;
};

// Path without extension with ":" → "_d_", "." → "_p_", "/" → "_b_", then "_",
// "yymmdd", "_", the size ("00" when unknown) and the extension. A name beyond
// the file system's limit of 255 bytes keeps the start of its stem, then "_h_" and
// a hash of the whole stem, then the date, size and extension; its original path
// is kept in a companion file of the same name + ".pfad" (writeCompanion).
std::string binName(const std::string& path, const Date& today, std::optional<std::uintmax_t> size);
bool isShortened(const std::string& binFileName);
inline constexpr const char* kCompanionExtension = ".pfad";
bool writeCompanion(const std::string& binFolder, const std::string& binFileName, const std::string& originalPath);

// The entry the bin window shows for a bin file: the original path with "_",
// the date, "_" and the size before the extension (the companion's path for a
// shortened name). Empty for companions themselves and names beginning with ".".
std::string shownEntry(const std::string& binFolder, const std::string& binFileName);
// Every bin file with its entry, sorted by entry ignoring case.
struct BinEntry {
    std::string shown;
    std::string fileName;
};
std::vector<BinEntry> binEntries(const std::string& binFolder);

// The day of deletion a bin name carries ("_yymmdd_" + digits before the
// extension); nullopt for names without it.
std::optional<Date> deletionDate(const std::string& fileName);

// Days from `from` to `to` (civil calendar).
long daysBetween(const Date& from, const Date& to);

// Deletes every file of the bin older than ten days. The age counts from the day
// of deletion in the name: a bin copy keeps the original's last-write time, which
// would make a file deleted today look as old as its last change. Names without
// that date fall back to their last-write time. Names beginning with "." are
// skipped, except the temporary files of earlier runs that were killed while they
// moved a file into the bin; the first error ends the cleaning silently. Returns
// the number of bin files deleted.
int purge(const std::string& binFolder, const Date& today, std::chrono::system_clock::time_point now);

}  // namespace pictra::bin
