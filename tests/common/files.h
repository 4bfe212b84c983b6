// Files a test writes for the code under test to find.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace testing {

// Writes `bytes` to the file at `path`, replacing it; the test ends when it
// cannot.
inline void write_file(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

}  // namespace testing
