#include "desktop/MountTable.h"

#include <QCoreApplication>
#include <QFile>

namespace velarix {

namespace {
// The kernel writes space, tab, newline and backslash in paths as \ooo octal escapes.
QString unescape(const QByteArray& field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                bytes.append(char(value));
                i += 3;
                continue;
            }
        }
        bytes.append(field[i]);
    }
    return QFile::decodeName(bytes);
}
} // namespace

QList<MountEntry> parseMountTable(const QByteArray& text) {
    QList<MountEntry> entries;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        // id parent major:minor root mount-point options [optional…] - type source super-options
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 5 || separator < 5 || separator + 2 >= fields.size())
            continue;
        entries.append(MountEntry{unescape(fields[4]), unescape(fields[separator + 2]),
                                  QString::fromUtf8(fields[separator + 1])});
    }
    return entries;
}

Result<QList<MountEntry>> readMountTable(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Error::make(
            QStringLiteral("Volumes"), 1,
            QCoreApplication::translate("Volumes", "The list of mounted volumes could not be read: %1")
                .arg(file.errorString()));
    // A proc file has no size: read until the end.
    return parseMountTable(file.readAll());
}

} // namespace velarix
