#pragma once

#include <string>
#include <string_view>

// What a double click in the explorer's file list does with a file.
namespace pictra::explorer {

enum class OpenAction {
    Film,              // the film window plays it
    Flash,             // no player for it here: a message, then its associated program
    Office,            // the office program may open it (asked first; No goes on as without one)
    RichText,          // loaded as formatted text
    Picture,           // the picture window shows it
    Sound,             // started with its associated program, the explorer shown again
    Associated,        // started with its associated program
    UrlHandler,        // handed to the system's handler, opened as a document only if that fails
    Document,          // opened as a document
    HtmlDocument,      // opened as a document and shown in the browser preview
    NotLoadable,       // a FIFO, device or socket: handed to loading, which refuses it with its message
};

struct OpenRequest {
    std::string path;
    std::string_view firstBytes;         // up to 1024 bytes of the file
    bool readable = true;                // the file could be opened
    bool fromReadItem = false;           // "Datei einlesen (falls Textdatei)"
    bool htmlInStandardBrowser = false;  // "Alles Im Standardbrowser öffnen"
    bool special = false;                // a FIFO, device or socket (never opened: reading could wait for ever)
    bool officeProgram = false;          // an office program is set up (or found on PATH)
};

OpenAction dispatchOpen(const OpenRequest& request);

// ".mp" anywhere in the extension, or one of the known binary extensions.
bool isBinaryExtension(const std::string& path);
bool isSoundFile(const std::string& path);
// The extensions the film window plays (.avi .mpg .mpeg .mp4 .m4v .mov .wmv .flv .mkv .webm .ogv), and Flash (.swf).
bool isFilmFile(const std::string& path);
bool isFlashFile(const std::string& path);
// Documents of an office program, by their extension (never by ".doc" somewhere in the path).
bool isOfficeFile(const std::string& path);

// A file without extension whose first bytes name a known type (the header test
// of "Aus dem Header Dateityp ermitteln"): the extension to give it; empty otherwise.
std::string extensionFromHeader(const std::string& path, std::string_view firstBytes);

}  // namespace pictra::explorer
