#include "notes/notepage.h"

#include <QPlainTextEdit>

#include "uikit/style.h"

namespace notes {

void setup_note_page(QPlainTextEdit* memo)
{
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, uikit::colour::page_yellow);
    palette.setColor(QPalette::Text, uikit::colour::window_text);
    memo->setPalette(palette);
    memo->setFont(uikit::point_font("微软雅黑", 9));
}

}  // namespace notes
