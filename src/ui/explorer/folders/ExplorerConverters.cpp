// The Extras items that hand the selected files to outside converters, and the
// icon made in the program itself.
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QMenu>
#include <sys/stat.h>
#include <unistd.h>

#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/MenuCommands.h"
#include "common/PathNames.h"
#include "explorer/ExplorerWindow.h"
#include "explorer/converters/Converters.h"
#include "platform/OutsidePrograms.h"

namespace pictra::ui {

namespace {

constexpr int kIconLimit = 256;  // the largest picture an ICO file holds

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

QString local(const std::string& bytes) { return QFile::decodeName(QByteArray::fromStdString(bytes)); }

}  // namespace

void ExplorerWindow::addPackerItems(QMenu* extras) {
    addMenuCommand(extras, "Upx1", "UPX (Ultimate Packer for Executabel)", [this] {
        for (const auto& path : selectedOrAsk()) runConverter(converters::packExecutable(path));
    });
    addMenuCommand(extras, "Favocon1", "FAVOCON wandelt .png in .ico", [this] {
        for (const auto& path : selectedOrAsk()) makeIcon(path);
        showFiles(m_folder);
    });
}

void ExplorerWindow::addSoundItems(QMenu* extras) {
    addMenuCommand(extras, "NachMp31", "WAV oder MP3 nach MP3", [this] {
        const auto paths = selectedOrAsk();
        if (paths.empty()) return;
        const auto parameters = m_shared.dialogs.askText("WAV oder MP3 nach MP3", "Parameter für lame", "-h -V 0");
        if (!parameters) return;
        for (const auto& path : paths)
            if (!runConverter(converters::toMp3(path, *parameters, exists))) break;
    });
    addMenuCommand(extras, "WavToOgg1", "wav to ogg", [this] {
        for (const auto& path : selectedOrAsk())
            if (!runConverter(converters::wavToOgg(path, exists))) break;
    });
    addMenuCommand(extras, "Mp3NachWav1", "MP3 nach WAV", [this] {
        for (const auto& path : selectedOrAsk())
            if (!runConverter(converters::mp3ToWav(path, exists))) break;
    });
    addMenuCommand(extras, "StueckHeraustrennen1", "Stück aus Musikdatei  heraustrennen", [this] { cutPiece(); });
}

// The selected files; without one the user is told to choose.
std::vector<std::string> ExplorerWindow::selectedOrAsk() {
    auto paths = selectedPaths();
    if (paths.empty()) m_shared.dialogs.inform("Datei auswählen");
    return paths;
}

// False when the next file need not be tried (the program is missing or the user stopped).
bool ExplorerWindow::runConverter(const converters::ProgramCall& call) {
    const std::string programFolder = pathnames::folderOf(m_shared.binFolder);
    const std::string program = platform::findOutsideProgram(call.program, programFolder);
    if (program.empty()) {
        m_shared.dialogs.inform(converters::notFoundText(programFolder + "/" + call.program, call.program));
        return false;
    }
    const std::string source = call.arguments.empty() ? std::string() : call.arguments.back();
    m_shared.dialogs.beginCancelWindow(call.program);
    const auto run = platform::runOutsideProgram(program, call.arguments, m_folder, [this, &call] {
        return !m_shared.dialogs.stepCancelWindow(call.program + " läuft ...");
    });
    m_shared.dialogs.endCancelWindow();
    const bool failed = !run.started || run.cancelled || run.exitCode != 0;
    // A half-written result is no result; the name was free before the call.
    if (failed && !call.output.empty() && exists(call.output)) ::unlink(call.output.c_str());
    showFiles(m_folder);
    if (!run.started) {
        m_shared.dialogs.inform("Programm zu öffnen unbekannt! (2)");
        return false;
    }
    if (run.cancelled) {
        m_shared.dialogs.inform("Abbruch");
        return false;
    }
    if (run.exitCode != 0) {
        const std::string errors = codec::isValidUtf8(run.errors) ? run.errors : codec::cp1252ToUtf8(run.errors);
        m_shared.dialogs.inform("\"" + call.program + "\" hat mit dem Fehlercode " + std::to_string(run.exitCode) +
                                " geendet.\r" + errors);
    }
    return true;
}

void ExplorerWindow::cutPiece() {
    const auto paths = selectedOrAsk();
    if (paths.empty()) return;
    const char* title = "Stück aus Musikdatei  heraustrennen";
    const auto start = m_shared.dialogs.askText(title, "Anfang (Minuten:Sekunden)", "0:00");
    if (!start) return;
    const auto end = m_shared.dialogs.askText(title, "Ende (Minuten:Sekunden)", *start);
    if (!end) return;
    const auto from = converters::parseTime(*start);
    const auto to = converters::parseTime(*end);
    if (!from || !to) {
        m_shared.dialogs.inform("Bitte die Zeit als Minuten:Sekunden angeben, z.B. 1:30");
        return;
    }
    if (*to <= *from) {
        m_shared.dialogs.inform("Das Ende muss nach dem Anfang liegen.");
        return;
    }
    runConverter(converters::cutPiece(paths.front(), converters::ffmpegTime(*from), converters::ffmpegTime(*to), exists));
}

void ExplorerWindow::makeIcon(const std::string& path) {
    QImage image(local(path));
    if (image.isNull()) {
        m_shared.dialogs.inform("Datei \"" + path + "\"kann nicht geladen werden.");
        return;
    }
    if (image.width() > kIconLimit || image.height() > kIconLimit)
        image = image.scaled(kIconLimit, kIconLimit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const std::string target = converters::freeName(converters::withExtension(path, ".ico"), exists);
    QImageWriter writer(local(target), "ico");
    if (!writer.write(image)) m_shared.dialogs.inform("Datei \"" + target + "\" konnte nicht geschrieben werden.");
}

}  // namespace pictra::ui
