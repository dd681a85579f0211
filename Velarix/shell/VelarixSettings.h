#pragma once

#include <QWidget>

class QCheckBox;

namespace velarix {

class Settings;

// The settings window: running in the background with a tray icon, starting at login, and keeping
// trimmed originals in the Trash.
class VelarixSettings : public QWidget {
    Q_OBJECT
public:
    explicit VelarixSettings(Settings& settings, QWidget* parent = nullptr);

private:
    void syncFromSettings();

    Settings& m_settings;
    QCheckBox* m_menuBarExtra = nullptr;
    QCheckBox* m_startAtLogin = nullptr;
    QCheckBox* m_keepOriginals = nullptr;
};

} // namespace velarix
