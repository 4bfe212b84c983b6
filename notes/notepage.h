// The day's note on the page "记事便笺" of the main window.
#pragma once

class QPlainTextEdit;

namespace notes {

// The look of the note page: read-only text in the program's blue on pale
// yellow, "微软雅黑" 9 pt.
void setup_note_page(QPlainTextEdit* memo);

}  // namespace notes
