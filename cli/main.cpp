#include "cli/Command.h"
#include "i18n/Translators.h"

#include "desktop/AppIdentity.h"
#include "import/ImportPattern.h"
#include "media/MediaLog.h"
#include "storage/FileNames.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>

namespace velarix::cli {

QString commandDescription(const Command& command) {
    return QCoreApplication::translate("velarix-cli", command.description.toUtf8().constData());
}

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

QString text(const char* source) {
    return QCoreApplication::translate("velarix-cli", source);
}

// An option and what it does; the description is translated when printed.
struct OptionLine {
    const char* option;
    const char* description;
};

constexpr qsizetype kOptionColumn = 21;

void printOptions(QTextStream& out, std::initializer_list<OptionLine> lines) {
    for (const OptionLine& line : lines) {
        const QString option = QString::fromLatin1(line.option);
        out << "  " << option.leftJustified(kOptionColumn) << "  " << text(line.description) << '\n';
    }
}

void printHelp(QTextStream& out) {
    auto sorted = commands();
    std::sort(sorted.begin(), sorted.end(),
              [](const Command& a, const Command& b) { return a.name < b.name; });
    out << text(QT_TRANSLATE_NOOP("velarix-cli", "Usage: velarix-cli [--json] COMMAND [OPTIONS]")) << "\n\n"
        << text(QT_TRANSLATE_NOOP(
               "velarix-cli", "Imports skydiving videos from camera cards and trims them, without a window."))
        << '\n'
        << text(QT_TRANSLATE_NOOP("velarix-cli",
                                  "Uses the same settings and import history as the Velarix application."))
        << "\n\n"
        << text(QT_TRANSLATE_NOOP("velarix-cli", "Commands:")) << '\n';
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
        out << "  " << commandDescription(command) << '\n';
    }
    QStringList tokens;
    for (const Placeholder placeholder : allPlaceholders())
        if (placeholder != Placeholder::folderSeparator)
            tokens.append(placeholderToken(placeholder));
    // The man page is made from this text, so it names every option a command takes.
    out << '\n' << text(QT_TRANSLATE_NOOP("velarix-cli", "Options:")) << '\n';
    printOptions(
        out,
        {{"--json", QT_TRANSLATE_NOOP("velarix-cli", "print machine-readable JSON on stdout")},
         {"--help",
          QT_TRANSLATE_NOOP("velarix-cli", "show this help (after a command: that command's usage)")},
         {"--version", QT_TRANSLATE_NOOP("velarix-cli", "show the version")},
         {"--card DIR",
          QT_TRANSLATE_NOOP("velarix-cli", "the card: a volume root with DCIM or a camera video "
                                           "folder (default: the first)")},
         {"--dest DIR", QT_TRANSLATE_NOOP("velarix-cli", "import: the destination folder, for this run")},
         {"--no-verify",
          QT_TRANSLATE_NOOP("velarix-cli", "import: do not read each copy back to compare checksums")},
         {"--clear", QT_TRANSLATE_NOOP("velarix-cli", "history: forget the card's imported files")},
         {"--levels",
          QT_TRANSLATE_NOOP("velarix-cli", "analyze: also print the audio level of every half second")},
         {"--range START-END", QT_TRANSLATE_NOOP("velarix-cli", "trim: keep this range (seconds or "
                                                                "minutes:seconds, e.g. 00:40-02:30)")},
         {"--trim", QT_TRANSLATE_NOOP("velarix-cli",
                                      "import: then analyse the copies and trim each to its suggestion")},
         {"--dry-run", QT_TRANSLATE_NOOP("velarix-cli", "trim: analyse and report, change no file")},
         {"--trust-suggestions",
          QT_TRANSLATE_NOOP("velarix-cli", "trim, import --trim: also trim to suggestions "
                                           "marked \"check before trimming\"")},
         {"--keep-original",
          QT_TRANSLATE_NOOP("velarix-cli", "trim, import --trim: put each replaced original in the Trash")},
         {"--no-keep-original",
          QT_TRANSLATE_NOOP("velarix-cli", "trim, import --trim: delete replaced originals "
                                           "(the saved setting aside)")},
         {"--jump FILE",
          QT_TRANSLATE_NOOP("velarix-cli", "demo: write one jump with the camera's telemetry to "
                                           "FILE (shaped as below)")},
         {"--seconds N", QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: the clip's length")},
         {"--exit S", QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: when the jumper leaves the aircraft")},
         {"--opening S", QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: when the canopy opens")},
         {"--audio KIND",
          QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: wind, silent, muffled, music or none")},
         {"--no-gps", QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: no GPS in the telemetry")},
         {"--no-accelerometer",
          QT_TRANSLATE_NOOP("velarix-cli", "demo --jump: no accelerometer in the telemetry")}});
    // SELECTION, OVERRIDES and FILE... stand for words in the synopses above: they stay as they are.
    out << "\nSELECTION " << text(QT_TRANSLATE_NOOP("velarix-cli", "(plan, import):")) << '\n';
    printOptions(out, {{"--all", QT_TRANSLATE_NOOP("velarix-cli", "every video on the card (the default)")},
                       {"--new", QT_TRANSLATE_NOOP("velarix-cli", "only the videos not imported before")},
                       {"FILE...", QT_TRANSLATE_NOOP("velarix-cli", "the named videos")}});
    out << "\nOVERRIDES "
        << text(QT_TRANSLATE_NOOP("velarix-cli", "(plan, import; for this run, not saved):")) << '\n';
    out << "  " << QStringLiteral("--pattern P").leftJustified(kOptionColumn) << "  "
        << QCoreApplication::translate("velarix-cli",
                                       "the file name pattern, of text and %1; '/' makes folders")
               .arg(tokens.join(u' '))
        << '\n';
    printOptions(
        out,
        {{"--jump N", QT_TRANSLATE_NOOP("velarix-cli", "the first jump number")},
         {"--autogroup",
          QT_TRANSLATE_NOOP("velarix-cli", "give clips that follow each other closely one jump number")},
         {"--no-autogroup", QT_TRANSLATE_NOOP("velarix-cli", "give every clip its own jump number")},
         {"--name NAME", QT_TRANSLATE_NOOP("velarix-cli", "the card's name")},
         {"--join", QT_TRANSLATE_NOOP("velarix-cli",
                                      "import each recording the camera split into chapters as one file")},
         {"--no-join", QT_TRANSLATE_NOOP("velarix-cli", "copy each chapter as a file of its own")},
         {"--sidecars", QT_TRANSLATE_NOOP("velarix-cli", "import the files beside each video with it "
                                                         "(thumbnails, GPS, proxies)")},
         {"--no-sidecars",
          QT_TRANSLATE_NOOP("velarix-cli", "import the videos only (a 360 clip's second lens "
                                           "still comes along)")},
         {"--proxies",
          QT_TRANSLATE_NOOP("velarix-cli", "with the sidecars, the low-resolution proxies (.LRV, .LRF) too")},
         {"--no-proxies", QT_TRANSLATE_NOOP("velarix-cli", "leave the proxies on the card")}});
    out << "\nFILE... " << text(QT_TRANSLATE_NOOP("velarix-cli", "(analyze, trim):")) << '\n'
        << text(QT_TRANSLATE_NOOP(
               "velarix-cli",
               "  A recording the camera split into chapters (GX010042.MP4, GX020042.MP4, ...) is one "
               "video:\n"
               "  name its first chapter and the chapters beside it come with it. A later chapter named\n"
               "  without its first is refused; trimming writes the cut recording in the first chapter's\n"
               "  place and then removes the other chapters (or puts them in the Trash)."))
        << "\n\n"
        << text(QT_TRANSLATE_NOOP("velarix-cli", "Exit status:")) << '\n'
        << text(QT_TRANSLATE_NOOP("velarix-cli",
                                  "  0 all done, 1 some files failed, 2 bad usage or nothing could be done."))
        << "\n\n"
        << text(QT_TRANSLATE_NOOP("velarix-cli", "Environment:")) << '\n'
        << "  XDG_CONFIG_HOME, XDG_DATA_HOME  "
        << text(QT_TRANSLATE_NOOP("velarix-cli", "where the settings and the import history are kept"))
        << '\n';
    printOptions(out, {{"VELARIX_VOLUMES_DIR",
                        QT_TRANSLATE_NOOP("velarix-cli", "treat every folder directly inside this folder "
                                                         "as a mounted volume")}});
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
    if (json) {
        // Machine output must not change with the user's language: a --json run speaks English
        // throughout, the system's own reasons (strerror) included.
        installTranslators(QLocale(QLocale::English));
        std::setlocale(LC_MESSAGES, "C");
    }

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
                out << QCoreApplication::translate("velarix-cli", "Usage: velarix-cli %1")
                           .arg(command.synopsis)
                    << '\n'
                    << commandDescription(command) << '\n';
                return kExitOk;
            }
            const int status = command.run(invocation);
            out.flush();
            err.flush();
            return status;
        }
    }
    Invocation invocation{arguments, json, out, err};
    return usageError(invocation,
                      QCoreApplication::translate("velarix-cli", "unknown command '%1'").arg(name));
}
