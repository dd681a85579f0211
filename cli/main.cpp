#include "cli/Command.h"

#include "import/ImportPattern.h"
#include "platform/AppIdentity.h"
#include "platform/FileNames.h"
#include "platform/MediaLog.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace velarix::cli {

QList<Command>& commands() {
    static QList<Command> list;
    return list;
}

int usageError(Invocation& invocation, const QString& message) {
    invocation.err << "velarix-cli: " << message << '\n'
                   << QCoreApplication::translate("velarix-cli", "Try 'velarix-cli --help'.") << '\n';
    invocation.err.flush();
    return kExitUsage;
}

void printJsonLine(QTextStream& out, const QJsonValue& value) {
    QJsonDocument document;
    if (value.isArray())
        document = QJsonDocument(value.toArray());
    else
        document = QJsonDocument(value.toObject());
    out << document.toJson(QJsonDocument::Compact) << '\n';
    out.flush();
}

namespace {

void printHelp(QTextStream& out) {
    auto sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    out << "Usage: velarix-cli [--json] COMMAND [OPTIONS]\n\n"
        << "Imports skydiving videos from camera cards and trims them, without a window.\n"
        << "Uses the same settings and import history as the Velarix application.\n\nCommands:\n";
    // A synopsis too long for the column gets a line of its own, so that one command does not push
    // every description off the screen.
    constexpr qsizetype kMaxColumn = 64;
    qsizetype width = 0;
    for (const auto& command : sorted)
        if (command.synopsis.size() <= kMaxColumn)
            width = std::max(width, command.synopsis.size());
    for (const auto& command : sorted) {
        if (command.synopsis.size() > width)
            out << "  " << command.synopsis << '\n' << QString(width + 2, u' ');
        else
            out << "  " << command.synopsis.leftJustified(width);
        out << "  " << command.description << '\n';
    }
    QStringList tokens;
    for (const Placeholder placeholder : allPlaceholders())
        if (placeholder != Placeholder::folderSeparator)
            tokens.append(placeholderToken(placeholder));
    const QString placeholders = tokens.join(u' ') + QStringLiteral("; '/' makes folders");
    // The man page is made from this text, so it names every option a command takes.
    out << "\nOptions:\n"
        << "  --json                 print machine-readable JSON on stdout\n"
        << "  --help                 show this help (after a command: that command's usage)\n"
        << "  --version              show the version\n"
        << "  --card DIR             the card: a volume root with DCIM or a camera video folder (default: "
           "the first)\n"
        << "  --dest DIR             import: the destination folder, for this run\n"
        << "  --no-verify            import: do not read each copy back to compare checksums\n"
        << "  --clear                history: forget the card's imported files\n"
        << "  --levels               analyze: also print the audio level of every half second\n"
        << "  --range START-END      trim: keep this range (seconds or minutes:seconds, e.g. 00:40-02:30)\n"
        << "  --trim                 import: then analyse the copies and trim each to its suggestion\n"
        << "  --dry-run              trim: analyse and report, change no file\n"
        << "  --trust-suggestions    trim, import --trim: also trim to suggestions marked \"check before "
           "trimming\"\n"
        << "  --keep-original        trim, import --trim: put each replaced original in the Trash\n"
        << "  --no-keep-original     trim, import --trim: delete replaced originals (the saved setting "
           "aside)\n"
        << "  --jump FILE            demo: write one jump with the camera's telemetry to FILE (shaped as "
           "below)\n"
        << "  --seconds N            demo --jump: the clip's length\n"
        << "  --exit S               demo --jump: when the jumper leaves the aircraft\n"
        << "  --opening S            demo --jump: when the canopy opens\n"
        << "  --audio KIND           demo --jump: wind, silent, muffled, music or none\n"
        << "  --no-gps               demo --jump: no GPS in the telemetry\n"
        << "  --no-accelerometer     demo --jump: no accelerometer in the telemetry\n"
        << "\nSELECTION (plan, import):\n"
        << "  --all                  every video on the card (the default)\n"
        << "  --new                  only the videos not imported before\n"
        << "  FILE...                the named videos\n"
        << "\nOVERRIDES (plan, import; for this run, not saved):\n"
        << "  --pattern P            the file name pattern, of text and " << placeholders << '\n'
        << "  --jump N               the first jump number\n"
        << "  --autogroup            give clips that follow each other closely one jump number\n"
        << "  --no-autogroup         give every clip its own jump number\n"
        << "  --name NAME            the card's name\n"
        << "  --join                 import each recording the camera split into chapters as one file\n"
        << "  --no-join              copy each chapter as a file of its own\n"
        << "  --sidecars             import the files beside each video with it (thumbnails, GPS, proxies)\n"
        << "  --no-sidecars          import the videos only (a 360 clip's second lens still comes along)\n"
        << "  --proxies              with the sidecars, the low-resolution proxies (.LRV, .LRF) too\n"
        << "  --no-proxies           leave the proxies on the card\n"
        << "\nFILE... (analyze, trim):\n"
        << "  A recording the camera split into chapters (GX010042.MP4, GX020042.MP4, ...) is one video:\n"
        << "  name its first chapter and the chapters beside it come with it. A later chapter named\n"
        << "  without its first is refused; trimming writes the cut recording in the first chapter's\n"
        << "  place and then removes the other chapters (or puts them in the Trash).\n"
        << "\nExit status:\n"
        << "  0 all done, 1 some files failed, 2 bad usage or nothing could be done.\n"
        << "\nEnvironment:\n"
        << "  XDG_CONFIG_HOME, XDG_DATA_HOME  where the settings and the import history are kept\n"
        << "  VELARIX_VOLUMES_DIR    treat every folder directly inside this folder as a mounted volume\n";
}

} // namespace
} // namespace velarix::cli

int main(int argc, char** argv) {
    using namespace velarix;
    using namespace velarix::cli;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velarix-cli"));
    QCoreApplication::setApplicationVersion(kApplicationVersion);
    routeMediaLogs();
    // Under a file-size limit (ulimit -f) a write must fail with "File too large" and be reported,
    // not kill the process half-way through a copy.
    std::signal(SIGXFSZ, SIG_IGN);

    QTextStream out(stdout);
    QTextStream err(stderr);
    // A name that is not UTF-8 would reach a different file once decoded: refused, before anything.
    for (int i = 1; i < argc; ++i) {
        if (!isFaithfulFileName(argv[i])) {
            err << "velarix-cli: " << unfaithfulFileNameError(argv[i]).message << '\n';
            return kExitUsage;
        }
    }
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool json = arguments.removeAll(QStringLiteral("--json")) > 0;

    if (arguments.isEmpty() || arguments.first() == QLatin1String("--help") ||
        arguments.first() == QLatin1String("-h") || arguments.first() == QLatin1String("help")) {
        printHelp(arguments.isEmpty() ? err : out);
        return arguments.isEmpty() ? kExitUsage : kExitOk;
    }
    if (arguments.first() == QLatin1String("--version")) {
        out << "velarix-cli " << kApplicationVersion << '\n';
        return kExitOk;
    }

    const QString name = arguments.takeFirst();
    for (const auto& command : commands()) {
        if (command.name == name) {
            Invocation invocation{arguments, json, out, err};
            if (arguments.contains(QStringLiteral("--help"))) {
                out << "Usage: velarix-cli " << command.synopsis << "\n" << command.description << '\n';
                return kExitOk;
            }
            const int status = command.run(invocation);
            out.flush();
            err.flush();
            return status;
        }
    }
    Invocation invocation{arguments, json, out, err};
    return usageError(invocation, QStringLiteral("unknown command '%1'").arg(name));
}
