#include "notes/notemanage.h"

#include <QPointer>
#include <QSignalBlocker>

#include "notes/noteops.h"
#include "storage/datafile.h"
#include "storage/daydata.h"
#include "ui_frm_note_manage.h"
#include "uikit/datetree.h"
#include "uikit/dayhost.h"
#include "uikit/errors.h"
#include "uikit/style.h"

namespace notes {

bool note_modified = false;
QString manage_note_day;

namespace {

QPointer<NoteManageWindow> open_manager;

}  // namespace

NoteManageWindow::NoteManageWindow(uikit::DayHost& host, QWidget* parent)
    : DayTreeWindow(parent), ui(std::make_unique<Ui::frm_note_manage>()), host_(host)
{
    ui->setupUi(this);
    QPalette palette = ui->Memo1->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, uikit::colour::window_text);
    ui->Memo1->setPalette(palette);
    ui->Memo1->setFont(uikit::point_font("微软雅黑", 9));
    note_modified = false;
    watch(ui->RzTreeView1);
    connect(ui->Memo1, &QPlainTextEdit::textChanged, this, &NoteManageWindow::Memo1Change);
    connect(ui->Button1, &QPushButton::clicked, this, &NoteManageWindow::Button1Click);
}

NoteManageWindow::~NoteManageWindow() = default;

void NoteManageWindow::fill_tree()
{
    ui->RzTreeView1->fill(daydata::daykeys(open_app_database(), daydata::DayTable::Notes));
}

bool NoteManageWindow::write_back()
{
    if (!note_modified)
        return true;
    if (!uikit::report_errors([this] { savedata2fx_note(ui->Memo1, manage_note_day, host_); }))
        return false;
    note_modified = false;
    return true;
}

// The text box takes typing only while it shows the note of a day on
// screen; a note that cannot be read stays read-only, so nothing is
// written over it.
void NoteManageWindow::show_day(const QString& day)
{
    manage_note_day = day;
    const bool loaded = uikit::report_errors([this] { load_note(ui->Memo1, manage_note_day); });
    ui->Memo1->setReadOnly(!loaded);
    note_modified = false;
}

// Without a day on screen the text box is empty and takes no typing, so
// nothing typed can replace the note of a day that is not shown.
void NoteManageWindow::show_no_day()
{
    const QSignalBlocker quiet(ui->Memo1);
    ui->Memo1->clear();
    ui->Memo1->setReadOnly(true);
}

void NoteManageWindow::Memo1Change() { note_modified = true; }

void NoteManageWindow::Button1Click() { close(); }

void show_note_manage(uikit::DayHost& host)
{
    NoteManageWindow window(host, host.host_window());
    open_manager = &window;
    window.show_modally(host.host_window());
}

bool save_open_note_manager() { return !open_manager || open_manager->write_back(); }

}  // namespace notes
