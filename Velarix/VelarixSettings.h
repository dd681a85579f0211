#pragma once

#include <QWidget>

class QCheckBox;

namespace velarix {

class Settings;

// The settings window: one option, running in the background with a tray icon.
class VelarixSettings : public QWidget {
    Q_OBJECT
public:
    explicit VelarixSettings(Settings& settings, QWidget* parent = nullptr);

private:
    void syncFromSettings();

    Settings& m_settings;
    QCheckBox* m_menuBarExtra = nullptr;
    QCheckBox* m_startAtLogin = nullptr;
};

} // namespace velarix
