#include "cli/CliSession.h"
#include "history/ImportState.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velarix::cli {

namespace {

QString verifiedText(const std::optional<bool>& verified) {
    if (!verified)
        return QString();
    //: Whether an imported copy was read back and compared
    return *verified ? QCoreApplication::translate("velarix-cli", "verified")
                     : QCoreApplication::translate("velarix-cli", "not verified");
}

// JSON text of a string, as QJsonDocument writes it: one document per record would cost more than
// reading the record.
QString jsonString(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += u'"';
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            quoted += u'\\';
            quoted += c;
        } else if (c.unicode() < 0x20) {
            quoted += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        } else {
            quoted += c;
        }
    }
    quoted += u'"';
    return quoted;
}

// Records from before paths were kept have neither path nor size, and those from before
// verification was recorded do not say whether it happened: null.
QString recordJson(const ImportHistory& record) {
    const QString null = QStringLiteral("null");
    return QStringLiteral(R"({"fileName":%1,"date":"%2","path":%3,"fileSize":%4,"verified":%5})")
        .arg(jsonString(record.fileName), isoDate(record.date),
             record.relativePath ? jsonString(*record.relativePath) : null,
             record.fileSize ? QString::number(*record.fileSize) : null,
             record.verified ? (*record.verified ? QStringLiteral("true") : QStringLiteral("false")) : null);
}

// A card's history can hold tens of thousands of records: the card is identified, not scanned,
// and the records are written out one by one as the store hands them over.
int runHistory(Invocation& invocation) {
    auto parsed = parseCardArguments(invocation.arguments, kClear);
    if (!parsed)
        return usageError(invocation, parsed.error().message);
    const CardArguments& arguments = *parsed;
    auto session = CliSession::open();
    if (!session) {
        invocation.err << "velarix-cli: " << session.error().message << '\n';
        return kExitUsage;
    }
    HistoryStore& store = (*session)->store();
    auto identity = findCard(arguments.card, *(*session)->model().volumeProvider());
    if (!identity)
        return usageError(invocation, identity.error().message);
    if (!identity->uuid) {
        invocation.err << "velarix-cli: "
                       << QCoreApplication::translate(
                              "velarix-cli", "the card has no volume UUID, so it has no import history")
                       << '\n';
        return kExitUsage;
    }
    const QString uuid = *identity->uuid;
    auto name = identity->name(store);
    if (!name) {
        invocation.err << "velarix-cli: " << name.error().message << '\n';
        return kExitUsage;
    }
    if (arguments.clear) {
        auto cleared = clearCardHistory(store, uuid);
        if (!cleared) {
            invocation.err << "velarix-cli: "
                           << QCoreApplication::translate("velarix-cli",
                                                          "the import history could not be cleared: %1")
                                  .arg(cleared.error().message)
                           << '\n';
            return kExitUsage;
        }
        if (!invocation.json)
            invocation.out << QCoreApplication::translate("velarix-cli", "Cleared %n record(s) of %1.",
                                                          nullptr, int(*cleared))
                                  .arg(printable(*name))
                           << '\n';
    }

    if (invocation.json) {
        const QJsonObject card{{QStringLiteral("path"), identity->path},
                               {QStringLiteral("uuid"), uuid},
                               {QStringLiteral("name"), *name}};
        invocation.out << R"({"card":)" << QJsonDocument(card).toJson(QJsonDocument::Compact)
                       << R"(,"files":[)";
    }
    qsizetype count = 0;
    auto listed = store.visitImportHistory(uuid, [&](const ImportHistory& record) {
        if (invocation.json) {
            if (count > 0)
                invocation.out << ',';
            invocation.out << recordJson(record);
        } else if (!arguments.clear) {
            const QString verified = verifiedText(record.verified);
            invocation.out << localDateTime(record.date) << "  "
                           << printable(record.relativePath.value_or(record.fileName))
                           << (verified.isEmpty() ? QString() : QStringLiteral("  (%1)").arg(verified))
                           << '\n';
        }
        ++count;
        return true;
    });
    if (invocation.json) {
        // The line is closed even after a failed read, so that what was printed still parses.
        invocation.out << "]}\n";
        invocation.out.flush();
    }
    if (!listed) {
        invocation.err << "velarix-cli: " << listed.error().message << '\n';
        return kExitUsage;
    }
    if (!invocation.json && count == 0 && !arguments.clear)
        invocation.out
            << QCoreApplication::translate("velarix-cli", "No files imported from %1.").arg(printable(*name))
            << '\n';
    return kExitOk;
}

const CommandRegistration registration(
    {QStringLiteral("history"), QStringLiteral("history [--card DIR] [--clear]"),
     QT_TRANSLATE_NOOP("velarix-cli", "lists the files imported from a card, or forgets them"), runHistory});

} // namespace
} // namespace velarix::cli
