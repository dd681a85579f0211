#include "Velarix/shell/VelarixSettings.h"

#include "Velarix/shell/Autostart.h"
#include "Velarix/shell/ShellKeys.h"
#include "Velarix/widgets/FormSection.h"
#include "Velarix/widgets/SecondaryText.h"
#include "desktop/Settings.h"
#include "trimming/VideoTrimmingModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace velarix {

namespace {

// Lays out a row of the form: the check box with a wrapped note under it.
QVBoxLayout* layOutWithNote(QWidget* row, QCheckBox* box, const QString& note) {
    QLabel* label = checkBoxNote(note, box, row);
    label->setWordWrap(true);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 10, 0, 10);
    layout->setSpacing(4);
    layout->addWidget(box);
    layout->addWidget(label);
    return layout;
}

} // namespace

VelarixSettings::VelarixSettings(Settings& settings, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings) {
    setObjectName(QStringLiteral("settings"));
    setWindowTitle(tr("Velarix Settings"));

    auto* section = new FormSection(tr("General"), this);
    auto* row = new QWidget;
    m_menuBarExtra = new QCheckBox(
        tr("Keep Velarix running in the background and open it when a camera card is inserted"), row);
    m_menuBarExtra->setObjectName(QStringLiteral("menuBarExtraToggle"));
    QVBoxLayout* rowLayout =
        layOutWithNote(row, m_menuBarExtra,
                       tr("Closing the last window then leaves Velarix watching for cards (in the "
                          "system tray where the desktop has one). Quit with File \u203a Quit (Ctrl+Q)."));
    m_startAtLogin = new QCheckBox(tr("Start at login, in the background"), row);
    m_startAtLogin->setObjectName(QStringLiteral("startAtLoginToggle"));
    m_startAtLogin->setChecked(Autostart::isEnabled());
    rowLayout->addSpacing(6);
    rowLayout->addWidget(m_startAtLogin);
    section->addRow(row);
    connect(m_startAtLogin, &QCheckBox::toggled, this, [this](bool on) {
        if (auto changed = Autostart::setEnabled(on); !changed) {
            const QSignalBlocker blocker(m_startAtLogin);
            m_startAtLogin->setChecked(Autostart::isEnabled());
            QMessageBox::warning(this, tr("Start at Login"), changed.error().message);
        }
    });

    auto* trimming = new FormSection(tr("Video Trimming"), this);
    auto* trimRow = new QWidget;
    m_keepOriginals = new QCheckBox(tr("Keep originals in the Trash"), trimRow);
    m_keepOriginals->setObjectName(QStringLiteral("keepOriginalsToggle"));
    layOutWithNote(trimRow, m_keepOriginals,
                   tr("A trimmed video's original goes to the Trash of its drive, where the file "
                      "manager can restore it, instead of being deleted. Its space is freed "
                      "only when the Trash is emptied."));
    trimming->addRow(trimRow);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 20);
    layout->addWidget(section);
    layout->addSpacing(12);
    layout->addWidget(trimming);
    layout->addStretch();

    syncFromSettings();
    connect(m_menuBarExtra, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.setValue(QString::fromLatin1(kMenuBarExtraKey), on); });
    connect(m_keepOriginals, &QCheckBox::toggled, this,
            [this](bool on) { m_settings.setValue(VideoTrimmingModel::kKeepOriginalsInTrashKey, on); });
    connect(&m_settings, &Settings::valueChanged, this, [this](const QString& key) {
        if (key == QLatin1String(kMenuBarExtraKey) || key == VideoTrimmingModel::kKeepOriginalsInTrashKey)
            syncFromSettings();
    });
    setMinimumWidth(560);
    resize(sizeHint().expandedTo(QSize(620, 0)));
}

void VelarixSettings::syncFromSettings() {
    const QSignalBlocker blocker(m_menuBarExtra);
    m_menuBarExtra->setChecked(m_settings.boolValue(QString::fromLatin1(kMenuBarExtraKey)).value_or(true));
    const QSignalBlocker keepBlocker(m_keepOriginals);
    m_keepOriginals->setChecked(
        m_settings.boolValue(VideoTrimmingModel::kKeepOriginalsInTrashKey).value_or(false));
}

} // namespace velarix
