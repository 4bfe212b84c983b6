// What the note tests ask of the main window: its note page, the notes
// stored in its data file and the note marks of the month view.
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

#include "notes/notepage.h"
#include "storage/datafile.h"
#include "windowfixture.h"

// Opens the window on `today` over a data file that holds the notes of
// `values`, the rows of "INSERT INTO vk_note(sDate,sNote) VALUES".
inline std::unique_ptr<TFRM_Date> open_with_notes(WindowFixture& f, QDate today, const char* values)
{
    auto db = f.prepared_data_file();
    db->execute(std::string("INSERT INTO vk_note(sDate,sNote) VALUES ") + values);
    db.reset();
    return f.open_window(today);
}

inline QPlainTextEdit* note_memo(QWidget* w) { return child<QPlainTextEdit>(w, "Memo_note"); }
inline notes::NotePage* note_page(QWidget* w) { return w->findChild<notes::NotePage*>(); }

// The rows of a day in the window's data file, in the order stored.
inline QStringList stored_notes(const char* day)
{
    TSQLiteTable t = app_database->query("SELECT sNote FROM vk_note WHERE sDate = ? ORDER BY ID", {std::string(day)});
    QStringList notes;
    for (; !t.at_end(); t.next())
        notes << QString::fromStdString(t.field_text(0));
    return notes;
}

inline bool note_mark_shown(QWidget* w, int day) { return mark_shown(w, "note", day); }
