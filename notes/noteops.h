// The three note operations on the data file, shared by the note page and
// the note manager: each works on a memo of its caller and a DayKey.
#pragma once

#include <QString>

class QPlainTextEdit;

namespace uikit {
class DayHost;
}

namespace notes {

// The text of a memo as typed: lines separated by line feeds, nothing else
// changed (a typed non-breaking space stays one).
QString memo_text(const QPlainTextEdit* memo);

// The form a typed note is stored in: lines separated by carriage return
// and line feed, and trimmed of the characters with codes 0 to 32 at both
// ends.  Empty for a blank note.
QString stored_form(const QString& typed);

// Replaces the memo's text by the note of `day`, empty when it has none.
// Emptying the memo does not signal a change of its text; setting a note
// that is not empty does.  Writes nothing.
void load_note(QPlainTextEdit* memo, const QString& day);

// Stores the memo's text as the note of `day`, replacing whatever the day
// had; a blank text leaves the day without a note.  Nothing happens for an
// empty `day`.  The delete and the insert commit together: when the insert
// fails, the day keeps its previous note and the error is raised.
void savedata2fx_note2(const QPlainTextEdit* memo, const QString& day);

// savedata2fx_note2, then the month view is redrawn so that the day's note
// mark follows; the redraw also runs for an empty `day` or a blank note,
// but not after a failed save.
void savedata2fx_note(const QPlainTextEdit* memo, const QString& day, uikit::DayHost& host);

}  // namespace notes
