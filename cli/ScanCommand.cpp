#include "cli/CliSession.h"
#include "desktop/DisplayFormats.h"
#include "import/RecordingStatus.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLocale>

namespace velarix::cli {

namespace {

int runScan(Invocation& invocation) {
    CardArguments arguments;
    int failure = kExitOk;
    const auto session = CliSession::openOnCard(invocation, invocation.arguments, 0, arguments, failure);
    if (!session)
        return failure;
    VelarixModel& model = session->model();

    // Read with the card, by its own clips.
    const ImportState& state = model.cardImportState();
    QJsonArray videos;
    if (!invocation.json)
        invocation.out << printable(model.sdCardName()) << " ("
                       << printable(model.sdCardPath().value_or(QString())) << "): "
                       << QCoreApplication::translate("velarix-cli", "%n video(s)", nullptr,
                                                      int(model.videoFiles().size()))
                       << '\n';
    qsizetype unreadable = 0;
    for (const VideoFileRowPtr& row : model.videoFiles()) {
        const bool dated = row->created() != VideoFileRow::distantPast();
        const QString status = statusText(recordingStatus(state, *row));
        const std::optional<QString> reason = row->unreadableReason();
        unreadable += reason ? 1 : 0;
        const std::optional<LoggedJump> logged = session->loggedJump(*row);
        const std::optional<bool> verified = recordingVerified(state, *row);
        QStringList companions;
        for (const QString& companion : row->companionPaths())
            companions.append(QFileInfo(companion).fileName());
        videos.append(QJsonObject{
            {QStringLiteral("id"), row->id()},
            {QStringLiteral("file"), row->fileName()},
            {QStringLiteral("path"), row->path()},
            {QStringLiteral("created"), dated ? QJsonValue(isoDate(row->created())) : QJsonValue()},
            {QStringLiteral("fileSize"), double(row->fileSize())},
            {QStringLiteral("duration"), row->duration()},
            {QStringLiteral("state"), status},
            {QStringLiteral("error"), reason ? QJsonValue(*reason) : QJsonValue()},
            {QStringLiteral("chapters"), QJsonArray::fromStringList(row->chapterFileNames())},
            {QStringLiteral("verified"),
             status == QLatin1String("imported") && verified ? QJsonValue(*verified) : QJsonValue()},
            {QStringLiteral("loggedJump"),
             logged ? CliSession::loggedJumpJson(logged->cardName, logged->jump) : QJsonValue()},
            {QStringLiteral("companions"), QJsonArray::fromStringList(companions)},
            {QStringLiteral("notes"), QJsonArray::fromStringList(row->companionNotes())}});

        if (!invocation.json)
            invocation.out
                << (dated ? localDateTime(row->created())
                          : QCoreApplication::translate("velarix-cli", "(no date)"))
                       .leftJustified(18)
                << formatByteCount(quint64(std::max<qint64>(0, row->fileSize()))).rightJustified(11) << "  "
                << formatDuration(row->duration()).leftJustified(15) << "  "
                << shownStatusText(recordingStatus(state, *row)).leftJustified(13)
                << printable(row->displayName())
                << (companions.isEmpty() ? QString()
                                         : QStringLiteral(" + ") + printable(companions.join(u' ')))
                << (reason ? QStringLiteral("  ") + printable(*reason) : QString())
                << (logged ? QStringLiteral("  (%1)").arg(
                                 printable(loggedJumpText(logged->jump, logged->cardName)))
                           : QString())
                << '\n';
        if (!invocation.json)
            for (const QString& note : row->companionNotes())
                invocation.out << "    " << QCoreApplication::translate("velarix-cli", "Note:") << ' '
                               << printable(note) << '\n';
    }
    if (!invocation.json && unreadable > 0)
        invocation.out << QCoreApplication::translate(
                              "velarix-cli",
                              "%n file(s) cannot be read as video; an import copies them as they are.",
                              nullptr, int(unreadable))
                       << '\n';
    if (invocation.json)
        printJsonLine(invocation.out, QJsonObject{{QStringLiteral("card"), session->cardJson()},
                                                  {QStringLiteral("videos"), videos}});
    return kExitOk;
}

const CommandRegistration registration(
    {QStringLiteral("scan"), QStringLiteral("scan [--card DIR]"),
     QT_TRANSLATE_NOOP("velarix-cli", "lists a card's videos, newest first, with import state"), runScan});

} // namespace
} // namespace velarix::cli
