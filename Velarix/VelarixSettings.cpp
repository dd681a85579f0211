#include "Velarix/VelarixSettings.h"

#include "Velarix/ShellKeys.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

namespace velarix {

VelarixSettings::VelarixSettings(Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings) {
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(tr("Velarix Settings"));

    auto* group = new QGroupBox(tr("General"), this);
    m_menuBarExtra = new QCheckBox(
        QStringLiteral(
            "Keep running application in background and automatically activate when detect SD Card"),
        group);
    m_menuBarExtra->setObjectName(QStringLiteral("menuBarExtraToggle"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_menuBarExtra);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(group);
    layout->addStretch();

    syncFromSettings();
    connect(m_menuBarExtra, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.setValue(QString::fromLatin1(kMenuBarExtraKey), on); });
    connect(&m_settings, &Settings::valueChanged, this, [this](const QString& key) {
        if (key == QLatin1String(kMenuBarExtraKey))
            syncFromSettings();
    });
    setMinimumWidth(520);
}

void VelarixSettings::syncFromSettings() {
    const QSignalBlocker blocker(m_menuBarExtra);
    m_menuBarExtra->setChecked(m_settings.boolValue(QString::fromLatin1(kMenuBarExtraKey)).value_or(true));
}

} // namespace velarix
