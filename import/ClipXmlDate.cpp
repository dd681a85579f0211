#include "import/ClipXmlDate.h"

#include <QFile>
#include <QXmlStreamReader>

namespace velarix {

std::optional<QDateTime> clipXmlCreationDate(const QString& path) {
    constexpr qint64 kMaxBytes = 64 * 1024;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // QXmlStreamReader never fetches external entities; its expansion limit stops entity bombs.
    QXmlStreamReader reader(file.read(kMaxBytes));
    while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd()) {
        if (reader.isStartElement() && reader.name() == QLatin1String("CreationDate")) {
            const QDateTime date = QDateTime::fromString(
                reader.attributes().value(QLatin1String("value")).toString(), Qt::ISODate);
            if (date.isValid() && date.timeSpec() != Qt::LocalTime)
                return date;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace velarix
