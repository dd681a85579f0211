#include "cli/Command.h"

#include "demo/DemoCard.h"
#include "demo/SyntheticJump.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace velarix::cli {

namespace {

// One synthesised jump with the camera's telemetry, for trying the analysis on a clip of any length:
// demo --jump FILE [--seconds N] [--exit S] [--opening S] [--audio KIND] [--no-gps] [--no-accelerometer]
int runJump(Invocation& invocation) {
    SyntheticJump jump{.duration = 180,
                       .exitTime = 45,
                       .openingTime = 100,
                       .width = 320,
                       .height = 180,
                       .framesPerSecond = 15};
    JumpTelemetry sensors;
    QString file;
    const QStringList& a = invocation.arguments;
    const QStringList audioNames{"wind", "silent", "muffled", "music", "none"};
    for (int i = 0; i < a.size(); ++i) {
        const bool hasValue = i + 1 < a.size();
        bool ok = true;
        if (a[i] == QLatin1String("--jump") && hasValue)
            file = a[++i];
        else if (a[i] == QLatin1String("--seconds") && hasValue)
            jump.duration = a[++i].toDouble(&ok);
        else if (a[i] == QLatin1String("--exit") && hasValue)
            jump.exitTime = a[++i].toDouble(&ok);
        else if (a[i] == QLatin1String("--opening") && hasValue)
            jump.openingTime = a[++i].toDouble(&ok);
        else if (a[i] == QLatin1String("--audio") && hasValue && audioNames.contains(a[i + 1]))
            jump.audio = JumpAudio(audioNames.indexOf(a[++i]));
        else if (a[i] == QLatin1String("--no-gps"))
            sensors.gps = false;
        else if (a[i] == QLatin1String("--no-accelerometer"))
            sensors.accelerometer = false;
        else
            return usageError(invocation,
                              QCoreApplication::translate("velarix-cli", "demo: unexpected '%1'").arg(a[i]));
        if (!ok)
            return usageError(
                invocation,
                QCoreApplication::translate("velarix-cli", "demo: '%1' is not a number").arg(a[i]));
    }
    if (file.isEmpty() || !(jump.duration > 0 && jump.duration <= 24 * 3600) ||
        !(jump.exitTime < jump.openingTime))
        return usageError(
            invocation,
            QCoreApplication::translate("velarix-cli",
                                        "demo --jump needs a file, a length and an exit before the opening"));
    if (sensors.gps || sensors.accelerometer)
        jump.telemetry = sensors;
    if (auto written = writeSyntheticJump(file, jump); !written) {
        invocation.err << "velarix-cli: " << written.error().message << '\n';
        return kExitUsage;
    }
    if (invocation.json)
        printJsonLine(invocation.out, QJsonObject{{QStringLiteral("file"), file}});
    else
        invocation.out << QCoreApplication::translate("velarix-cli", "Jump: %1").arg(file) << '\n';
    return kExitOk;
}

int runDemo(Invocation& invocation) {
    if (invocation.arguments.contains(QLatin1String("--jump")))
        return runJump(invocation);
    if (invocation.arguments.size() != 1 || invocation.arguments.first().startsWith(u'-'))
        return usageError(invocation, QCoreApplication::translate("velarix-cli", "demo takes one folder"));
    const QString folder = invocation.arguments.first();
    auto card = DemoCard::make(folder, {}, nullptr, [&](int done, int total) {
        if (!invocation.json)
            invocation.err << QCoreApplication::translate("velarix-cli", "Making demo clips: %1 of %2")
                                  .arg(done)
                                  .arg(total)
                           << '\r' << Qt::flush;
    });
    if (!invocation.json)
        invocation.err << '\n';
    if (!card) {
        invocation.err << "velarix-cli: " << card.error().message << '\n';
        return kExitUsage;
    }
    if (invocation.json) {
        printJsonLine(invocation.out,
                      QJsonObject{{QStringLiteral("card"), card->volumePath},
                                  {QStringLiteral("files"), QJsonArray::fromStringList(card->files)}});
        return kExitOk;
    }
    invocation.out << QCoreApplication::translate("velarix-cli", "Demo card: %1").arg(card->volumePath)
                   << '\n';
    for (const QString& file : card->files)
        invocation.out << "  " << file << '\n';
    invocation.out << '\n'
                   << QCoreApplication::translate("velarix-cli", "Try it:") << "\n  VELARIX_VOLUMES_DIR=\""
                   << QDir(folder).absolutePath() << "\" velarix\n";
    return kExitOk;
}

const CommandRegistration registration{
    {QStringLiteral("demo"),
     QStringLiteral("demo DIR | demo --jump FILE [--seconds N] [--exit S] [--opening S] "
                    "[--audio wind|silent|muffled|music|none] [--no-gps] [--no-accelerometer]"),
     QT_TRANSLATE_NOOP("velarix-cli",
                       "make a demo camera card with synthesised jumps in DIR, or one jump with telemetry"),
     runDemo}};

} // namespace
} // namespace velarix::cli
