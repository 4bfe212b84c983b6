// The note manager frm_note_manage: every day that has a note, in a tree
// of years, months and days, and the note of the day chosen there in a text
// box.  A changed note is written back, through the note page's
// operations, when another node is chosen and when the window closes.
#pragma once

#include <QString>
#include <memory>

#include "uikit/daytreewindow.h"

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

class NoteManageWindow : public uikit::DayTreeWindow {
    Q_OBJECT

public:
    // The month view is redrawn through `host` after every write-back.
    explicit NoteManageWindow(uikit::DayHost& host, QWidget* parent = nullptr);
    ~NoteManageWindow() override;

    // Writes the text box back as the note of manage_note_day if it was
    // changed.  A failure is shown, and the text and note_modified stay:
    // returns false.
    bool write_back() override;

protected:
    void fill_tree() override;
    void show_day(const QString& day) override;
    void show_no_day() override;

private slots:
    void Memo1Change();
    void Button1Click();

private:
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
