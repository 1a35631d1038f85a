#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/Dialogs.h"
#include "shell/EditorView.h"

// "Bild einfügen", "Bild einfügen 150 %" and "Link einfügen" of the "HTML" menu.
namespace pictra::preview {

inline constexpr const char* kAskExplorerPictures =
    "Die folgenden Bilder, die Sie im Explorer ausgewählt haben, werden eingefügt.\rSo in Ordnung?\r"
    "Falls sie kein Bild ausgewählt habe, wird das zuletzt gezeigte Bild gewählt.\r"
    "Bei \"Nein\" kann ein anderes Bild ausgewählt werden.\r";
inline constexpr const char* kMsgNoPicture = "Ist das wirklich ein Bild";
inline constexpr const char* kAskPictureName = "Name für das Bild";
inline constexpr const char* kAskPictureNamePrompt = "Name wird gezeigt, solange das Bild geladen wird.";
inline constexpr const char* kAskClearAlign = "Mit \"<br><br clear=\"all\"> und \" align=\"left\"";
inline constexpr const char* kMsgUnknownSize =
    "\"width\" und \"height\" ermitteln und einfügen \rÜber rechte Maustaste und \"Eigenschaften\"\roder hier löschen";

// The folder part of `src` for a picture in `pictureFolder` seen from a document in
// `documentFolder` (both with a trailing "/"): "" for the same folder, "sub/" below it,
// "../x/" beside it, "../../x/" two up; none further away. Folders are compared
// without regard to case; the picture's own spelling is kept.
std::optional<std::string> relativePictureFolder(const std::string& documentFolder, const std::string& pictureFolder);

// The proposed name of a picture file: extension and the first "zz_" dropped, the
// letter after the first blank and the first letter upper-cased.
std::string pictureNameProposal(const std::string& fileName);

struct PictureSize {
    int width = 0;
    int height = 0;
};

// One "<img ...>" element with its leading line break (or the clear break) and a trailing CR LF.
std::string pictureElement(const std::string& source, const std::optional<PictureSize>& size, const std::string& name,
                           bool clearAndAlign);
// A small copy named "zz_..." links to the large picture without "zz_".
std::string linkedToLargePicture(const std::string& folderPart, const std::string& fileName,
                                 const std::string& element);

// What picture insertion needs beyond the dialogs and the editor.
struct PictureSources {
    std::string documentFolder;                 // with trailing "/"
    std::vector<std::string> explorerSelection;  // full paths
    // Width and height from the file's header; none when it cannot be read.
    std::function<std::optional<PictureSize>(const std::string&)> size;
    // Copies a file; false when that failed.
    std::function<bool(const std::string& from, const std::string& to)> copy;
};

// Inserts the elements behind the selection; nothing when the user cancels. `large`: 150 %.
void insertPictures(EditorView& view, Dialogs& dialogs, const PictureSources& sources, bool large);
// The same for files already chosen, in this order.
void insertPictureFiles(EditorView& view, Dialogs& dialogs, const PictureSources& sources,
                        const std::vector<std::string>& files, bool large);
// Files dropped on an editor: their pictures (sorted) inserted as "Bild einfügen" does, without
// the explorer's question; false when none of them is a picture.
bool insertDroppedPictures(EditorView& view, Dialogs& dialogs, const PictureSources& sources,
                           const std::vector<std::string>& paths);

// "Link einfügen": the chosen file as a link around the selection (or its own target).
void insertLink(EditorView& view, Dialogs& dialogs, const std::string& documentFolder);

inline constexpr const char* kMsgNoImg = "Fehler1: Noch kein Bild \"<img ...\" auf der Seite!";
inline constexpr const char* kMsgNoSrc = "Fehler2: Noch kein Bild \"<img scr=\" auf der Seite!";
inline constexpr const char* kMsgEmptySrc = "Fehler3: Noch kein Bild \"<img scr=\"???\" auf der Seite!";

// A picture named in a text: its path (made absolute against the document's folder) or the message why not.
struct PictureReference {
    std::string path;
    std::string error;
};
// The picture of the first "<img" (case ignored) of a page.
PictureReference firstPictureOfPage(const std::string& text, const std::string& documentFolder);
// The picture of a line holding "<img" or "url(".
PictureReference pictureOfLine(const std::string& line, const std::string& documentFolder);

// "Bild in HTML-Datei umwandeln": the page's name beside the picture ("bild.jpg" -> "bild_h.html").
std::string pictureHtmlName(const std::string& picturePath);
// The page: the skeleton titled with the picture's name, the picture with its size, the end.
std::string picturePage(const std::string& picturePath, const std::optional<PictureSize>& size,
                        const std::string& skeleton);

}  // namespace pictra::preview
