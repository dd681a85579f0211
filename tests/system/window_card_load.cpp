// The window's card load, headless, as the e2e test of an ordinary user's card runs it: the real
// application shell opens its main window, which finds the mounted card and loads it. Prints one JSON
// line (the card, its rows, the first alert) and exits 0 once the rows are in, 1 when they never come.

#include "Velarix/shell/VelarixApp.h"
#include "desktop/Settings.h"
#include "import/VelarixModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    using namespace velarix;
    QApplication app(argc, argv);
    VelarixApp shell(Settings::standard());
    shell.setShowsDialogs(false);
    if (!shell.showMainWindow())
        return 1;
    VelarixModel& model = shell.sharedModel();
    // The first alert the window would show (a card whose identity cannot be read says so once).
    QString alert;
    QObject::connect(&model, &VelarixModel::errorChanged, &model, [&] {
        if (alert.isEmpty() && !model.error().isEmpty())
            alert = model.error().errorDescription();
    });
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60'000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (model.sdCardPath() && !model.isLoadingVideos() && !model.videoFiles().isEmpty())
            break;
    }
    const bool loaded = model.sdCardPath() && !model.isLoadingVideos() && !model.videoFiles().isEmpty();
    const auto uuid = model.sdCardVolumeUUID();
    const QJsonObject line{{QStringLiteral("path"), model.sdCardPath().value_or(QString())},
                           {QStringLiteral("name"), model.sdCardName()},
                           {QStringLiteral("uuid"), uuid ? QJsonValue(*uuid) : QJsonValue()},
                           {QStringLiteral("rows"), int(model.videoFiles().size())},
                           {QStringLiteral("alert"), alert}};
    std::printf("%s\n", QJsonDocument(line).toJson(QJsonDocument::Compact).constData());
    return loaded ? 0 : 1;
}
