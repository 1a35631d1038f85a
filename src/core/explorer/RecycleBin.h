#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

// Names and the start-up purge of the program's own recycle bin "papierkorb",
// which also holds the day backups made before a save.
namespace pictra::bin {

struct Date {
    int year;
    int month;
    int day;
};

// Path without extension with ":" → "_d_", "." → "_p_", "/" → "_b_", then "_",
// "yymmdd", "_", the size ("00" when unknown) and the extension.
std::string binName(const std::string& path, const Date& today, std::optional<std::uintmax_t> size);

// The day of deletion a bin name carries ("_yymmdd_" + digits before the
// extension); nullopt for names without it.
std::optional<Date> deletionDate(const std::string& fileName);

// Days from `from` to `to` (civil calendar).
long daysBetween(const Date& from, const Date& to);

// Deletes every file of the bin older than ten days. The age counts from the day
// of deletion in the name: a bin copy keeps the original's last-write time, which
// would make a file deleted today look as old as its last change. Names without
// that date fall back to their last-write time. Names beginning with "." are
// skipped; the first error ends the cleaning silently. Returns the number deleted.
int purge(const std::string& binFolder, const Date& today, std::chrono::system_clock::time_point now);

}  // namespace pictra::bin
