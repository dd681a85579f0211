#include "Velarix/shell/Appcast.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace velarix {

namespace {

const QString kSparkleNamespace = QStringLiteral("http://www.andymatuschak.org/xml-namespaces/sparkle");

// Splits "2.0b1" into 2 and "b1"; a part without a leading number sorts before any number.
std::pair<qint64, QString> splitPart(const QString& part) {
    static const QRegularExpression leadingNumber(QStringLiteral("^(\\d+)(.*)$"));
    const auto match = leadingNumber.match(part);
    if (!match.hasMatch())
        return {-1, part};
    return {match.captured(1).left(18).toLongLong(), match.captured(2)};
}

// "b2" against "b10": the letters as text, then the number as a number.
int compareSuffixes(const QString& a, const QString& b) {
    static const QRegularExpression shape(QStringLiteral("^(\\D*)(\\d*)(.*)$"));
    const auto left = shape.match(a);
    const auto right = shape.match(b);
    if (const int letters = left.captured(1).compare(right.captured(1)); letters != 0)
        return letters < 0 ? -1 : 1;
    const qint64 leftNumber = left.captured(2).left(18).toLongLong();
    const qint64 rightNumber = right.captured(2).left(18).toLongLong();
    if (leftNumber != rightNumber)
        return leftNumber < rightNumber ? -1 : 1;
    const int rest = left.captured(3).compare(right.captured(3));
    return rest == 0 ? 0 : (rest < 0 ? -1 : 1);
}

} // namespace

int compareVersions(const QString& a, const QString& b) {
    static const QRegularExpression separators(QStringLiteral("[.\\-_+ ]"));
    const QStringList left = a.trimmed().split(separators, Qt::SkipEmptyParts);
    const QStringList right = b.trimmed().split(separators, Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const auto [leftNumber, leftRest] =
            i < left.size() ? splitPart(left[i]) : std::pair<qint64, QString>{0, {}};
        const auto [rightNumber, rightRest] =
            i < right.size() ? splitPart(right[i]) : std::pair<qint64, QString>{0, {}};
        if (leftNumber != rightNumber)
            return leftNumber < rightNumber ? -1 : 1;
        // A pre-release suffix ("b1") comes before the plain release.
        if (leftRest != rightRest) {
            if (leftRest.isEmpty())
                return 1;
            if (rightRest.isEmpty())
                return -1;
            return compareSuffixes(leftRest, rightRest);
        }
    }
    return 0;
}

Result<QList<AppcastItem>> parseAppcast(const QByteArray& xml) {
    QXmlStreamReader reader(xml);
    QList<AppcastItem> items;
    bool sawChannel = false;
    std::optional<AppcastItem> item;

    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            const auto name = reader.name();
            const bool sparkle = reader.namespaceUri() == kSparkleNamespace;
            if (name == QLatin1String("channel")) {
                sawChannel = true;
            } else if (name == QLatin1String("item")) {
                item = AppcastItem{};
            } else if (!item) {
                continue;
            } else if (name == QLatin1String("title") && !sparkle) {
                item->title = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            } else if (name == QLatin1String("description") && !sparkle) {
                item->description = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            } else if (name == QLatin1String("pubDate")) {
                item->published = QDateTime::fromString(reader.readElementText().trimmed(), Qt::RFC2822Date);
            } else if (sparkle && name == QLatin1String("version")) {
                item->version = reader.readElementText().trimmed();
            } else if (sparkle && name == QLatin1String("shortVersionString")) {
                item->shortVersion = reader.readElementText().trimmed();
            } else if (sparkle && name == QLatin1String("releaseNotesLink")) {
                item->releaseNotes = QUrl(reader.readElementText().trimmed());
            } else if (name == QLatin1String("enclosure")) {
                const auto attributes = reader.attributes();
                item->download = QUrl(attributes.value(QLatin1String("url")).toString());
                item->length = attributes.value(QLatin1String("length")).toLongLong();
                // Older feeds carry the versions on the enclosure.
                if (item->version.isEmpty())
                    item->version = attributes.value(kSparkleNamespace, QLatin1String("version")).toString();
                if (item->shortVersion.isEmpty())
                    item->shortVersion =
                        attributes.value(kSparkleNamespace, QLatin1String("shortVersionString")).toString();
            }
        } else if (reader.isEndElement() && reader.name() == QLatin1String("item") && item) {
            if (!item->version.isEmpty())
                items.append(*item);
            item.reset();
        }
    }
    if (reader.hasError())
        return Error::make(QStringLiteral("Updates"), 1,
                           QCoreApplication::translate("velarix::Appcast",
                                                       "The update feed could not be read: %1 (line %2).")
                               .arg(reader.errorString())
                               .arg(reader.lineNumber()));
    if (!sawChannel)
        return Error::make(
            QStringLiteral("Updates"), 1,
            QCoreApplication::translate("velarix::Appcast", "The update feed is not an RSS feed."));
    return items;
}

std::optional<AppcastItem> newestUpdate(const QList<AppcastItem>& items, const QString& currentVersion) {
    std::optional<AppcastItem> newest;
    for (const auto& item : items) {
        if (compareVersions(item.version, currentVersion) <= 0)
            continue;
        if (!newest || compareVersions(item.version, newest->version) > 0)
            newest = item;
    }
    return newest;
}

} // namespace velarix
