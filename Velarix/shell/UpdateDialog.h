#pragma once

#include "Velarix/shell/Updater.h"

#include <QDialog>

namespace velarix {

// Tells the result of an update check: up to date, a newer version with its notes and a download
// button, or what went wrong.
class UpdateDialog : public QDialog {
    Q_OBJECT
public:
    UpdateDialog(const UpdateCheckResult& result, const QString& currentVersion, QWidget* parent = nullptr);
};

} // namespace velarix
