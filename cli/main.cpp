#include "cli/Command.h"

#include "platform/AppIdentity.h"
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
    invocation.err << "velarix-cli: " << message << "\nTry 'velarix-cli --help'.\n";
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
    for (const auto& command : sorted)
        out << "  " << command.synopsis.leftJustified(46) << ' ' << command.description << '\n';
    out << "\nOptions:\n"
        << "  --json       print machine-readable JSON on stdout\n"
        << "  --help       show this help\n"
        << "  --version    show the version\n\n"
        << "Exit status: 0 all done, 1 some files failed, 2 bad usage or nothing could be done.\n";
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
