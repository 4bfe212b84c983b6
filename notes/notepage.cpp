#include "notes/notepage.h"

#include <QMouseEvent>
#include <QPlainTextEdit>

#include "notes/noteedit.h"
#include "notes/noteops.h"
#include "ui_NotePage.h"
#include "uikit/dayhost.h"
#include "uikit/errors.h"
#include "uikit/style.h"

namespace notes {

namespace {

// Read-only text in the program's blue on pale yellow, "微软雅黑" 9 pt.
void setup_memo(QPlainTextEdit* memo)
{
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, uikit::colour::page_yellow);
    palette.setColor(QPalette::Text, uikit::colour::window_text);
    memo->setPalette(palette);
    memo->setFont(uikit::point_font("微软雅黑", 9));
}

}  // namespace

NotePage::NotePage(uikit::DayHost& host, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::NotePage>()), host_(host)
{
    ui->setupUi(this);
    setup_memo(ui->Memo_note);
    // The memo's text area gets the clicks; the memo itself never sees a
    // double click.
    ui->Memo_note->viewport()->installEventFilter(this);
    connect(ui->Button1, &QPushButton::clicked, this, &NotePage::Memo_noteDblClick);
    connect(ui->Button9, &QPushButton::clicked, this, &NotePage::note_manager_requested);
}

NotePage::~NotePage() = default;

QPlainTextEdit* NotePage::memo() const { return ui->Memo_note; }

void NotePage::load_selected_day() { load_note(ui->Memo_note, host_.selected_daykey()); }

bool NotePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->Memo_note->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Memo_noteDblClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void NotePage::Memo_noteDblClick()
{
    const QString date_text = host_.selected_date().toString(QStringLiteral("yyyy-MM-dd"));
    if (show_noteedit(date_text, QStringLiteral("Velkin备忘录"), ui->Memo_note, host_.host_window()) != 1)
        return;
    // A failed save is shown; the typed text stays on the page, and the
    // day keeps the note it had.
    uikit::report_errors([this] { savedata2fx_note(ui->Memo_note, host_.selected_daykey(), host_); });
}

}  // namespace notes
