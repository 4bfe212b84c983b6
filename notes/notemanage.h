// The note manager frm_note_manage: every day that has a note, in a tree
// of years, months and days, and the note of the day chosen there in a text
// box.  A changed note is written back, through the note page's
// operations, when another node is chosen and when the window closes.
#pragma once

#include <QDialog>
#include <QString>
#include <memory>

class QTreeWidgetItem;
namespace Ui {
class frm_note_manage;
}
namespace uikit {
class DayHost;
}

namespace notes {

// The text box was changed since its text was last loaded or written back;
// cleared at every opening.
extern bool note_modified;
// The DayKey of the day node last chosen; kept for the run, also between
// openings.
extern QString manage_note_day;

class NoteManageWindow : public QDialog {
    Q_OBJECT

public:
    // The month view is redrawn through `host` after every write-back.
    explicit NoteManageWindow(uikit::DayHost& host, QWidget* parent = nullptr);
    ~NoteManageWindow() override;

    // The tree of the days that have a note, read from the data file;
    // errors propagate.
    void fill_tree();

    // Writes the text box back as the note of manage_note_day if it was
    // changed.  A failure is shown, and the text and note_modified stay:
    // returns false.
    bool write_back();

    // The close box, "关闭" and Escape all end here: a changed note is
    // written back first, and the window stays open when that fails.
    void reject() override;

private slots:
    void RzTreeView1Change(QTreeWidgetItem* current, QTreeWidgetItem* previous);
    void Memo1Change();
    void Button1Click();

private:
    void show_day(const QString& day);
    void show_no_day();

    std::unique_ptr<Ui::frm_note_manage> ui;
    uikit::DayHost& host_;
};

// Opens the note manager over the host's window and returns when it has
// closed.  When the days cannot be read the error is shown and the window
// does not open.
void show_note_manage(uikit::DayHost& host);

// For a session that ends while the note manager is open: its changed note
// is written back.  False after a failure shown; true otherwise, also when
// no manager is open.
bool save_open_note_manager();

}  // namespace notes
