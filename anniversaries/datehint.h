// The anniversary window frm_datehint: the list of anniversaries, edited in
// the window and written to the data file as a whole when confirmed.
#pragma once

#include <QDate>
#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "anniversaries/anniversary.h"

namespace Ui {
class frm_datehint;
}

namespace anniversaries {

class Tfrm_datehint : public QDialog {
    Q_OBJECT

public:
    // `today` is marked in the drop-down calendar and is the date editor's
    // date until a row is loaded into it.
    explicit Tfrm_datehint(QDate today, QWidget* parent = nullptr);
    ~Tfrm_datehint() override;

    // Lists the stored anniversaries as stored and loads the current row
    // into the editors; returns the rows whose date or days of notice
    // cannot be read.  Errors of the data file propagate.
    std::vector<Entry> load();

    // The entries of the list, in order.
    std::vector<Entry> entries() const;

private slots:
    void RzStringGrid1Click();
    void Button3Click();
    void bt_editClick();
    void bt_delClick();
    void Button1Click();
    void Button2Click();

private:
    void setup_grid();
    void mark_today(QDate today);
    void append_row(const Entry& entry);
    void write_row(int row, const Entry& entry);
    Entry row_entry(int row) const;
    int current_row() const;
    // The editors' entry, or nothing after telling that the description
    // is missing.
    std::optional<Entry> editor_entry();
    void set_has_entries(bool has);

    std::unique_ptr<Ui::frm_datehint> ui;
    // Kept apart from the grid's cells: a stored row with an empty date is
    // an entry like any other.
    bool has_entries_ = false;
};

// Opens the anniversary window over `owner` and returns when it closes; its
// changes are written when it is confirmed.
void show_datehint(QWidget* owner, QDate today);

}  // namespace anniversaries
