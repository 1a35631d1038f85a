#include "LocalPaths.h"

#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>

namespace pictra::platform {

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

// The entry of `folder` whose name Qt shows as `shown`, as bytes; empty when none.
std::string entryShownAs(const std::string& folder, const QString& shown) {
    DIR* d = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!d) return {};
    std::string found;
    while (const dirent* e = ::readdir(d)) {
        if (QFile::decodeName(e->d_name) == shown) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

}  // namespace

std::string localPath(const QString& path) {
    const std::string direct = QFile::encodeName(path).toStdString();
    if (!path.contains(QChar::ReplacementCharacter) || exists(direct)) return direct;
    const QStringList parts = path.split('/');
    std::string result;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) result += '/';
        const QString& part = parts[i];
        std::string bytes = QFile::encodeName(part).toStdString();
        if (part.contains(QChar::ReplacementCharacter)) {
            const std::string folder = result.size() > 1 ? result.substr(0, result.size() - 1) : result;
            if (std::string match = entryShownAs(folder, part); !match.empty()) bytes = match;
        }
        result += bytes;
    }
    return result;
}

QString displayPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

}  // namespace pictra::platform
