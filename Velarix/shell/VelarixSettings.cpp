#include "Velarix/shell/VelarixSettings.h"

#include "Velarix/shell/Autostart.h"
#include "Velarix/shell/ShellKeys.h"
#include "Velarix/widgets/FormSection.h"
#include "platform/Settings.h"
#include "trimming/VideoTrimmingModel.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QStyle>
#include <QVBoxLayout>

namespace velarix {

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
    auto* note =
        new QLabel(tr("Closing the last window then leaves Velarix watching for cards (in the "
                      "system tray where the desktop has one). Quit with File \u203a Quit (Ctrl+Q)."),
                   row);
    note->setWordWrap(true);
    QFont small = note->font();
    small.setPointSizeF(small.pointSizeF() - 1);
    note->setFont(small);
    QPalette dimmed = note->palette();
    QColor text = dimmed.color(QPalette::WindowText);
    text.setAlphaF(0.62f);
    dimmed.setColor(QPalette::WindowText, text);
    note->setPalette(dimmed);
    // Lined up under the check box's text, not under its box.
    const int indent = style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                       style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
    note->setContentsMargins(indent, 0, 0, 0);
    auto* rowLayout = new QVBoxLayout(row);
    rowLayout->setContentsMargins(0, 10, 0, 10);
    rowLayout->setSpacing(4);
    rowLayout->addWidget(m_menuBarExtra);
    rowLayout->addWidget(note);
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
    auto* trimNote =
        new QLabel(tr("A trimmed video's original goes to the Trash of its drive, where the file "
                      "manager can restore it, instead of being deleted. Its space is freed "
                      "only when the Trash is emptied."),
                   trimRow);
    trimNote->setWordWrap(true);
    trimNote->setFont(small);
    trimNote->setPalette(dimmed);
    trimNote->setContentsMargins(indent, 0, 0, 0);
    auto* trimLayout = new QVBoxLayout(trimRow);
    trimLayout->setContentsMargins(0, 10, 0, 10);
    trimLayout->setSpacing(4);
    trimLayout->addWidget(m_keepOriginals);
    trimLayout->addWidget(trimNote);
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
