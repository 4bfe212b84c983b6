#include "notes/noteops.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "uikit/blanks.h"
#include "uikit/dayhost.h"
#include "uikit/typedtext.h"

namespace notes {

QString memo_text(const QPlainTextEdit* memo) { return uikit::typed_text(memo); }

QString stored_form(const QString& typed)
{
    QString note = uikit::trim_blanks(typed);
    note.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    note.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return note;
}

void load_note(QPlainTextEdit* memo, const QString& day)
{
    {
        const QSignalBlocker quiet(memo);
        memo->clear();
    }
    const std::optional<std::string> note = daydata::load_note(open_app_database(), day.toStdString());
    if (note && !note->empty())
        memo->setPlainText(QString::fromStdString(*note));
}

void savedata2fx_note2(const QPlainTextEdit* memo, const QString& day)
{
    if (day.isEmpty())
        return;
    daydata::replace_note(open_app_database(), day.toStdString(), stored_form(memo_text(memo)).toStdString());
}

void savedata2fx_note(const QPlainTextEdit* memo, const QString& day, uikit::DayHost& host)
{
    savedata2fx_note2(memo, day);
    host.redraw_selected_month();
}

}  // namespace notes
