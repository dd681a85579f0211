#include "Velarix/shell/SingleInstance.h"
#include "Velarix/shell/VelarixApp.h"
#include "desktop/AppIdentity.h"
#include "desktop/Settings.h"
#include "media/MediaLog.h"
#include "trimming/ReplacedOriginal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <csignal>

namespace {

// The texts are translated once the application exists: before it they only parse.
QString text(const char* source) {
    return QCoreApplication::translate("velarix::main", source);
}

struct LaunchOptions {
    QCommandLineOption background{
        QStringLiteral("background"),
        text(QT_TRANSLATE_NOOP("velarix::main", "Start without a window, with only the tray icon."))};
};

void describe(QCommandLineParser& parser, const LaunchOptions& options) {
    parser.setApplicationDescription(text(QT_TRANSLATE_NOOP(
        "velarix::main", "Imports skydiving videos from camera cards and trims them to the jump.")));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.background);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 text(QT_TRANSLATE_NOOP("velarix::main", "Videos to open for trimming.")),
                                 QStringLiteral("[FILE...]"));
}

// --help and --version must answer without a display (help2man, package checks, ssh sessions),
// so they are handled before a QApplication would insist on connecting to one.
bool onlyAsksForHelpOrVersion(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    const LaunchOptions options;
    describe(parser, options);
    if (!parser.parse(arguments))
        return false;
    return parser.isSet(QStringLiteral("help")) || parser.isSet(QStringLiteral("help-all")) ||
           parser.isSet(QStringLiteral("version"));
}

void nameApplication() {
    QCoreApplication::setApplicationName(velarix::kApplicationName);
    QCoreApplication::setApplicationVersion(velarix::kApplicationVersion);
}

} // namespace

int main(int argc, char** argv) {
    using namespace velarix;
    if (onlyAsksForHelpOrVersion(argc, argv)) {
        QCoreApplication app(argc, argv);
        nameApplication();
        QCommandLineParser parser;
        const LaunchOptions options;
        describe(parser, options);
        parser.process(app); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameApplication();
    QApplication::setDesktopFileName(kBundleIdentifier);
    routeMediaLogs();
    // Under a file-size limit (ulimit -f) a write must fail with "File too large" and be reported,
    // not kill the process half-way through a copy.
    std::signal(SIGXFSZ, SIG_IGN);

    QCommandLineParser parser;
    const LaunchOptions options;
    describe(parser, options);
    parser.process(app);

    QStringList arguments;
    if (parser.isSet(options.background))
        arguments.append(QStringLiteral("--background"));
    // Absolute paths: the running instance may have another working folder.
    for (const QString& file : parser.positionalArguments())
        arguments.append(QFileInfo(file).absoluteFilePath());

    SingleInstance instance;
    if (instance.sendToRunning(arguments))
        return 0;
    instance.listen();

    VelarixApp shell(Settings::standard());
    QObject::connect(&instance, &SingleInstance::messageReceived, &shell,
                     [&shell](const QStringList& handedOver) { shell.handleLaunch(handedOver); });
    if (!shell.handleLaunch(arguments))
        return 1;
    const int status = QApplication::exec();
    // Trimmed originals still being freed in the background are freed before the process ends.
    waitForPendingFrees();
    return status;
}
