// The text of a multi-line text box exactly as typed.
#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QTextDocument>

namespace uikit {

// Lines separated by line feeds and nothing else changed: the raw text keeps
// what toPlainText would turn into spaces (a typed non-breaking space stays
// one); only the separators of lines and paragraphs become line feeds.
inline QString typed_text(const QPlainTextEdit* box)
{
    QString text = box->document()->toRawText();
    for (QChar& c : text)
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    return text;
}

}  // namespace uikit
