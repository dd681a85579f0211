#include "Velarix/SingleInstance.h"
#include "Velarix/VelarixApp.h"
#include "platform/AppIdentity.h"
#include "platform/MediaLog.h"
#include "platform/Settings.h"
#include "trimming/ReplacedOriginal.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <csignal>

int main(int argc, char** argv) {
    using namespace velarix;
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setApplicationVersion(kApplicationVersion);
    QApplication::setDesktopFileName(kBundleIdentifier);
    routeMediaLogs();
    // Under a file-size limit (ulimit -f) a write must fail with "File too large" and be reported,
    // not kill the process half-way through a copy.
    std::signal(SIGXFSZ, SIG_IGN);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Imports skydiving videos from camera cards and trims them to the jump."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption background(QStringLiteral("background"),
                                        QStringLiteral("Start without a window, with only the tray icon."));
    parser.addOption(background);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Videos to open for trimming."),
                                 QStringLiteral("[FILE…]"));
    parser.process(app);

    QStringList arguments;
    if (parser.isSet(background))
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
