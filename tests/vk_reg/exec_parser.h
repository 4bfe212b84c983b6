// Reads a desktop entry the way a desktop session does, written from the
// freedesktop.org rules for desktop entries and not from vk_reg's code, so
// the tests check what vk_reg writes against how a session reads it, not
// against vk_reg itself.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace testing {

// The keys of the group [Desktop Entry], values as written (still escaped).
inline QMap<QString, QString> desktop_entry_keys(const QString& file_text)
{
    QMap<QString, QString> keys;
    bool in_group = false;
    for (const QString& raw : file_text.split('\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            in_group = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int eq = line.indexOf('=');
        if (in_group && eq > 0)
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

// A value of type string: \s \n \t \r \\ undone.
inline QString unescape_string(const QString& value)
{
    QString out;
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == 's')
            out += ' ';
        else if (next == 'n')
            out += '\n';
        else if (next == 't')
            out += '\t';
        else if (next == 'r')
            out += '\r';
        else
            out += next;  // "\\", and any other escape as the character itself
    }
    return out;
}

// The Exec key's arguments: the string escapes undone first, then the
// quoting ('"', '`', '$', '\' escaped inside double quotes), then the field
// codes, of which a program started without files may only hold "%%".
// Nothing when the value breaks a rule.
inline std::optional<QStringList> exec_arguments(const QString& exec_value)
{
    const QString value = unescape_string(exec_value);
    QStringList args;
    QString current;
    bool in_argument = false, quoted = false;
    for (int i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\') {
                if (i + 1 == value.size() || !QStringLiteral("\"`$\\").contains(value[i + 1]))
                    return std::nullopt;
                current += value[++i];
            } else {
                current += c;
            }
        } else if (c == ' ') {
            if (in_argument)
                args << current;
            current.clear();
            in_argument = false;
        } else if (c == '"') {
            quoted = in_argument = true;
        } else if (QStringLiteral("\t\n'\\><~|&;$*?#()`").contains(c)) {
            return std::nullopt;  // a reserved character outside quotes
        } else {
            current += c;
            in_argument = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (in_argument)
        args << current;
    for (QString& arg : args) {
        QString expanded;
        for (int i = 0; i < arg.size(); ++i) {
            if (arg[i] != '%') {
                expanded += arg[i];
            } else if (i + 1 < arg.size() && arg[i + 1] == '%') {
                expanded += '%';
                ++i;
            } else {
                return std::nullopt;
            }
        }
        arg = expanded;
    }
    return args;
}

}  // namespace testing
