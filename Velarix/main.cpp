#include "Velarix/VelarixApp.h"
#include "platform/AppIdentity.h"
#include "platform/Settings.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(velarix::kApplicationName);
    QApplication::setApplicationVersion(velarix::kApplicationVersion);
    QApplication::setDesktopFileName(velarix::kBundleIdentifier);

    velarix::VelarixApp shell(velarix::Settings::standard());
    if (!shell.showMainWindow())
        return 1;
    return QApplication::exec();
}
