#include "EditorView.h"

#include "common/Text.h"

namespace pictra {

std::string wholeText(const EditorView& view) { return text::joinLines(view.lines()); }

}  // namespace pictra
