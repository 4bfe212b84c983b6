#include "notes/noteops.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextDocument>

#include "storage/datafile.h"
#include "storage/daydata.h"
#include "uikit/dayhost.h"

namespace notes {

namespace {

TSQLiteDatabase& database()
{
    if (!app_database)
        throw ESQLiteException("The data file is not open");
    return *app_database;
}

bool is_blank_char(QChar c) { return c.unicode() <= 32; }

}  // namespace

QString memo_text(const QPlainTextEdit* memo)
{
    // The raw text keeps what toPlainText would turn into spaces; only the
    // separators of lines and paragraphs become line feeds.
    QString text = memo->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return text;
}

QString stored_form(const QString& typed)
{
    qsizetype begin = 0;
    qsizetype end = typed.size();
    while (begin < end && is_blank_char(typed[begin]))
        ++begin;
    while (end > begin && is_blank_char(typed[end - 1]))
        --end;
    QString note = typed.mid(begin, end - begin);
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
    const std::optional<std::string> note = daydata::load_note(database(), day.toStdString());
    if (note && !note->empty())
        memo->setPlainText(QString::fromStdString(*note));
}

void savedata2fx_note2(const QPlainTextEdit* memo, const QString& day)
{
    if (day.isEmpty())
        return;
    daydata::replace_note(database(), day.toStdString(), stored_form(memo_text(memo)).toStdString());
}

void savedata2fx_note(const QPlainTextEdit* memo, const QString& day, uikit::DayHost& host)
{
    savedata2fx_note2(memo, day);
    host.redraw_selected_month();
}

}  // namespace notes
