#include "Velarix/importwindow/VelarixFormView.h"

#include "Velarix/importwindow/OutputFilesView.h"
#include "Velarix/importwindow/PatternField.h"
#include "Velarix/widgets/AccessibleProgress.h"
#include "Velarix/widgets/ElidedLabel.h"
#include "Velarix/widgets/FormSection.h"
#include "Velarix/widgets/Icons.h"
#include "Velarix/widgets/SecondaryText.h"
#include "Velarix/widgets/ThemeColours.h"
#include "core/Log.h"
#include "desktop/DisplayFormats.h"
#include "history/HistoryStore.h"
#include "import/ImportPattern.h"
#include "import/VelarixModel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace velarix {

namespace {

// An option in plain sight: a check box with a dimmer note under it, bound both ways to the model.
QCheckBox* addOptionRow(FormSection* section, const QString& title, const QString& note, bool checked,
                        const QString& objectName) {
    auto* row = new QWidget;
    row->setObjectName(objectName + QStringLiteral("Row"));
    auto* box = new QCheckBox(title, row);
    box->setObjectName(objectName);
    box->setChecked(checked);
    box->setToolTip(note);
    QLabel* text = checkBoxNote(note, box, row);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 8, 0, 8);
    layout->setSpacing(2);
    layout->addWidget(box);
    layout->addWidget(text);
    section->addRow(row);
    return box;
}

QString abbreviatedHome(const QString& path) {
    const QString home = QDir::homePath();
    if (path == home)
        return QStringLiteral("~");
    if (path.startsWith(home + QLatin1Char('/')))
        return QStringLiteral("~") + path.mid(home.size());
    return path;
}

// Free bytes where `path` would be written: the nearest folder that exists.
std::optional<quint64> freeSpaceAt(QString path) {
    while (!path.isEmpty() && !QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            break;
        path = parent;
    }
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return std::nullopt;
    return quint64(storage.bytesAvailable());
}

} // namespace

VelarixFormView::VelarixFormView(VelarixModel& model, HistoryStore& store, QWidget* parent)
    : QScrollArea(parent)
    , m_model(model)
    , m_store(store) {
    setObjectName(QStringLiteral("importForm"));
    // Tab goes to the fields, not to the scrolling area around them, which follows the focus.
    setFocusPolicy(Qt::NoFocus);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumWidth(kMinimumWidth);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(18);
    buildImportSection(content);
    buildJumpSection(content);
    buildCardSection(content);
    buildFilesSection(content);
    setWidget(content);

    connect(&m_model, &VelarixModel::resolvedOutputFilesChanged, this, &VelarixFormView::updateFiles);
    connect(&m_model, &VelarixModel::importProgressChanged, this, &VelarixFormView::updateProgress);
    connect(&m_model, &VelarixModel::outputLocationChanged, this, &VelarixFormView::updateOutputLocation);
    connect(&m_model, &VelarixModel::selectionChanged, this, &VelarixFormView::updateSpace);
    connect(&m_model, &VelarixModel::videoFilesChanged, this, &VelarixFormView::updateSpace);
    updateOutputLocation();
    updateFiles();
    updateProgress();
}

void VelarixFormView::buildImportSection(QWidget* content) {
    auto* section = new FormSection(tr("Import"), content);
    section->setObjectName(QStringLiteral("importSection"));
    // Save to: the label and the chooser button over the destination, which so has the row's whole
    // width (shortened at its head only when even that is too narrow).
    auto* location = new QWidget;
    location->setObjectName(QStringLiteral("saveToRow"));
    auto* locationLabel = new QLabel(tr("Save to"), location);
    m_location = new ElidedLabel(Qt::ElideLeft, location);
    m_location->setObjectName(QStringLiteral("outputLocation"));
    m_location->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_location->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* change = new QToolButton(location);
    change->setObjectName(QStringLiteral("chooseFolder"));
    change->setText(tr("C&hange\u2026"));
    change->setIcon(themedIcon("folder", "folder.svg"));
    change->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    change->setToolTip(tr("Choose destination folder"));
    connect(change, &QToolButton::clicked, this, [this] { chooseFolder(); });
    auto* locationTop = new QHBoxLayout;
    locationTop->setContentsMargins(0, 0, 0, 0);
    locationTop->addWidget(locationLabel);
    locationTop->addStretch();
    locationTop->addWidget(change);
    auto* locationLayout = new QVBoxLayout(location);
    locationLayout->setContentsMargins(0, 8, 0, 8);
    locationLayout->setSpacing(4);
    locationLayout->addLayout(locationTop);
    locationLayout->addWidget(m_location);
    section->addRow(location);

    // Filename pattern: the highlighting field, and under it the placeholder menu.
    auto* patternBox = new QWidget;
    m_pattern = new PatternField(patternBox);
    m_pattern->setPlaceholderText(QStringLiteral("{date}/{jump} {name}"));
    m_pattern->setPattern(m_model.importPattern());
    connect(m_pattern, &PatternField::patternEdited, &m_model, &VelarixModel::setImportPattern);
    connect(&m_model, &VelarixModel::importPatternChanged, m_pattern,
            [this] { m_pattern->setPattern(m_model.importPattern()); });
    auto* insert = new QPushButton(tr("Insert &Placeholder"), patternBox);
    insert->setObjectName(QStringLiteral("insertPlaceholder"));
    m_insertMenu = new QMenu(insert);
    for (Placeholder placeholder : allPlaceholders()) {
        QAction* action = m_insertMenu->addAction(placeholderHelpText(placeholder));
        const QString token = placeholderToken(placeholder);
        connect(action, &QAction::triggered, this, [this, token] {
            m_pattern->insertAtCaret(token);
            // Typing goes on in the field; queued, because the closing menu hands focus back to
            // its button first.
            QMetaObject::invokeMethod(
                m_pattern, [this] { m_pattern->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
        });
    }
    insert->setMenu(m_insertMenu);
    // The label and the menu over the field, so the field has the row's whole width for the pattern.
    auto* label = new QLabel(tr("Filename pattern"), patternBox);
    label->setBuddy(m_pattern);
    // The label's buddy is the box; the screen reader is on the editor inside it.
    m_pattern->editor()->setAccessibleName(label->text());
    auto* top = new QHBoxLayout;
    top->setContentsMargins(0, 0, 0, 0);
    top->addWidget(label);
    top->addStretch();
    top->addWidget(insert);
    auto* patternLayout = new QVBoxLayout(patternBox);
    patternLayout->setContentsMargins(0, 8, 0, 8);
    patternLayout->setSpacing(6);
    patternLayout->addLayout(top);
    patternLayout->addWidget(m_pattern);
    // Why Import is unavailable while the pattern cannot name a file.
    auto* patternProblem = new QLabel(patternBox);
    patternProblem->setObjectName(QStringLiteral("patternProblem"));
    patternProblem->setWordWrap(true);
    QPalette problemPalette = patternProblem->palette();
    problemPalette.setColor(QPalette::WindowText, toneColour(Tone::failure, problemPalette));
    patternProblem->setPalette(problemPalette);
    const auto showProblem = [this, patternProblem] {
        const std::optional<QString> problem = m_model.importPatternProblem();
        patternProblem->setText(problem.value_or(QString()));
        patternProblem->setVisible(problem.has_value());
    };
    connect(&m_model, &VelarixModel::importPatternChanged, patternProblem, showProblem);
    showProblem();
    patternLayout->addWidget(patternProblem);
    patternBox->setObjectName(QStringLiteral("patternRow"));
    section->addRow(patternBox);

    // Space: what the selection needs against what the destination has.
    m_space = new QLabel;
    m_space->setObjectName(QStringLiteral("destinationSpace"));
    m_space->setWordWrap(true);
    section->addLabeledRow(tr("Space"), m_space, QStringLiteral("spaceRow"));

    QCheckBox* openFolder = addOptionRow(
        section, tr("Open imported folder"), tr("Reveal the destination folder after a successful import."),
        m_model.openFolderAferImport(), QStringLiteral("openFolderAferImport"));
    connect(openFolder, &QCheckBox::toggled, &m_model, &VelarixModel::setOpenFolderAferImport);
    connect(&m_model, &VelarixModel::openFolderAferImportChanged, openFolder,
            [this, openFolder] { openFolder->setChecked(m_model.openFolderAferImport()); });
    QCheckBox* trimAfter = addOptionRow(
        section, tr("Trim after import"),
        tr("Open the imported copies in Video Trimming and analyse them, ready to review and trim."),
        m_model.trimAfterImport(), QStringLiteral("trimAfterImport"));
    connect(trimAfter, &QCheckBox::toggled, &m_model, &VelarixModel::setTrimAfterImport);
    connect(&m_model, &VelarixModel::trimAfterImportChanged, trimAfter,
            [this, trimAfter] { trimAfter->setChecked(m_model.trimAfterImport()); });
    content->layout()->addWidget(section);
}

void VelarixFormView::buildJumpSection(QWidget* content) {
    auto* section = new FormSection(tr("Jump Number"), content);
    section->setObjectName(QStringLiteral("jumpSection"));
    auto* jump = new QSpinBox;
    jump->setObjectName(QStringLiteral("jumpNumber"));
    jump->setAccessibleName(tr("Jump Number"));
    jump->setToolTip(tr("Jump Number"));
    jump->setRange(0, std::numeric_limits<int>::max());
    jump->setGroupSeparatorShown(false);
    jump->setValue(int(std::clamp<qint64>(m_model.jumpNumber(), 0, std::numeric_limits<int>::max())));
    jump->setMinimumWidth(120);
    connect(jump, &QSpinBox::valueChanged, &m_model, [this](int value) { m_model.setJumpNumber(value); });
    connect(&m_model, &VelarixModel::jumpNumberChanged, jump, [this, jump] {
        const QSignalBlocker blocker(jump);
        jump->setValue(int(std::clamp<qint64>(m_model.jumpNumber(), 0, std::numeric_limits<int>::max())));
    });
    auto* row = new QWidget;
    auto* rowLayout = new QHBoxLayout(row);
    rowLayout->setContentsMargins(0, 8, 0, 8);
    rowLayout->addWidget(jump);
    rowLayout->addStretch();
    section->addRow(row);

    QCheckBox* increment = addOptionRow(
        section, tr("Auto increment jump number"), tr("Advance the jump number after each completed import."),
        m_model.autoIncrementJumpNumber(), QStringLiteral("autoIncrementJumpNumber"));
    connect(increment, &QCheckBox::toggled, &m_model, &VelarixModel::setAutoIncrementJumpNumber);
    connect(&m_model, &VelarixModel::autoIncrementJumpNumberChanged, increment,
            [this, increment] { increment->setChecked(m_model.autoIncrementJumpNumber()); });
    QCheckBox* group = addOptionRow(section, tr("Auto group nearby clips"),
                                    tr("Keep nearby recordings under the same jump number."),
                                    m_model.autogroupVideos(), QStringLiteral("autogroupVideos"));
    connect(group, &QCheckBox::toggled, &m_model, &VelarixModel::setAutogroupVideos);
    connect(&m_model, &VelarixModel::autogroupVideosChanged, group,
            [this, group] { group->setChecked(m_model.autogroupVideos()); });
    QCheckBox* join = addOptionRow(section, tr("Join chapters"),
                                   tr("Import a recording the camera split into chapters as one video."),
                                   m_model.joinChapters(), QStringLiteral("joinChapters"));
    connect(join, &QCheckBox::toggled, &m_model, &VelarixModel::setJoinChapters);
    connect(&m_model, &VelarixModel::joinChaptersChanged, join,
            [this, join] { join->setChecked(m_model.joinChapters()); });
    QCheckBox* sidecars = addOptionRow(
        section, tr("Import sidecar files"),
        tr("Copy the files a camera writes beside a video (thumbnails, GPS, clip data) with it."),
        m_model.copySidecars(), QStringLiteral("copySidecars"));
    connect(sidecars, &QCheckBox::toggled, &m_model, &VelarixModel::setCopySidecars);
    QCheckBox* proxies =
        addOptionRow(section, tr("Import proxy files"),
                     tr("With the sidecar files, copy the low-resolution previews (LRV, LRF) too."),
                     m_model.copyProxies(), QStringLiteral("copyProxies"));
    proxies->setEnabled(m_model.copySidecars());
    connect(proxies, &QCheckBox::toggled, &m_model, &VelarixModel::setCopyProxies);
    connect(&m_model, &VelarixModel::copySidecarsChanged, sidecars, [this, sidecars, proxies] {
        sidecars->setChecked(m_model.copySidecars());
        proxies->setEnabled(m_model.copySidecars());
    });
    connect(&m_model, &VelarixModel::copyProxiesChanged, proxies,
            [this, proxies] { proxies->setChecked(m_model.copyProxies()); });
    content->layout()->addWidget(section);
}

void VelarixFormView::buildCardSection(QWidget* content) {
    auto* section = new FormSection(tr("SD Card"), content);
    section->setObjectName(QStringLiteral("cardSection"));
    QMenu* actions = section->addHeaderMenu(tr("SD card actions"), QStringLiteral("cardActions"));
    QAction* clear =
        actions->addAction(themedIcon("edit-clear-history", "quit.svg"), tr("Clear Import History"));
    clear->setObjectName(QStringLiteral("clearImportHistory"));
    connect(clear, &QAction::triggered, this, &VelarixFormView::clearImportHistory);

    auto* cardName = new QLineEdit;
    cardName->setObjectName(QStringLiteral("sdCardName"));
    cardName->setPlaceholderText(tr("Name"));
    cardName->setText(m_model.sdCardName());
    connect(cardName, &QLineEdit::textEdited, &m_model, &VelarixModel::setSdCardName);
    connect(&m_model, &VelarixModel::sdCardNameChanged, cardName, [this, cardName] {
        if (cardName->text() != m_model.sdCardName())
            cardName->setText(m_model.sdCardName());
    });
    section->addLabeledRow(tr("SD Card Name"), cardName, QStringLiteral("cardNameRow"));
    content->layout()->addWidget(section);
}

void VelarixFormView::buildFilesSection(QWidget* content) {
    m_filesSection = new FormSection(tr("Files to import"), content);
    m_filesSection->setObjectName(QStringLiteral("filesSection"));
    m_files = new OutputFilesView;
    m_files->setMinimumHeight(140);
    m_files->setAccessibleName(tr("Files to import"));
    m_filesSection->addRow(m_files);
    static_cast<QVBoxLayout*>(content->layout())->addWidget(m_filesSection, 1);

    // Pinned under the scrolling options rather than among them: Cancel stays in sight however
    // small the window and however far the form is scrolled.
    m_progressRow = new QWidget(this);
    m_progressRow->setObjectName(QStringLiteral("importProgressRow"));
    m_progressRow->setAutoFillBackground(true);
    m_progress = new QProgressBar(m_progressRow);
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_progress->setAccessibleName(tr("Import progress"));
    m_progressText = new QLabel(m_progressRow);
    m_progressText->setObjectName(QStringLiteral("importProgressText"));
    // Wrapped, so a long name or status never widens the form and pushes Cancel out of sight.
    m_progressText->setWordWrap(true);
    m_progressText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_progressText->setTextFormat(Qt::PlainText);
    auto* cancel = new QToolButton(m_progressRow);
    cancel->setObjectName(QStringLiteral("cancelImport"));
    cancel->setIcon(QIcon(QStringLiteral(":/velarix/icons/cancel.svg")));
    cancel->setIconSize(QSize(18, 18));
    cancel->setAutoRaise(true);
    cancel->setToolTip(tr("Cancel import"));
    cancel->setAccessibleName(cancel->toolTip());
    connect(cancel, &QToolButton::clicked, this, [this] {
        if (ImportProgress* progress = m_model.importProgress())
            progress->cancel();
    });
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_progress, 1);
    bar->addWidget(cancel);
    auto* rowLayout = new QVBoxLayout(m_progressRow);
    rowLayout->setContentsMargins(20, 10, 20, 12);
    rowLayout->addLayout(bar);
    rowLayout->addWidget(m_progressText);
    m_progressRow->hide();
    static_cast<QVBoxLayout*>(content->layout())->addStretch(0);
}

QFileDialog* VelarixFormView::chooseFolder() {
    if (m_chooser) {
        m_chooser->raise();
        return m_chooser;
    }
    auto* dialog = new QFileDialog(window(), tr("Choose destination folder"), m_model.outputLocation());
    dialog->setObjectName(QStringLiteral("folderChooser"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& folder) {
        const QFileInfo info(folder);
        if (!info.isDir()) {
            qCCritical(lcApp, "Failed to choose output folder: %s",
                       qUtf8Printable(QStringLiteral("%1 is not a folder").arg(folder)));
            return;
        }
        m_model.setOutputLocation(info.absoluteFilePath());
    });
    m_chooser = dialog;
    dialog->open();
    return dialog;
}

QMessageBox* VelarixFormView::clearImportHistory() {
    // Without a card there is nothing to clear; the model checks the same, this saves the trip.
    if (!m_model.sdCardVolumeUUID() || !m_model.sdCardPath())
        return nullptr;
    auto records = m_store.fetchImportHistory(*m_model.sdCardVolumeUUID());
    const qsizetype count = records ? records->size() : -1;
    auto* question = new QMessageBox(window());
    question->setObjectName(QStringLiteral("clearHistoryQuestion"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setIcon(QMessageBox::Question);
    question->setWindowTitle(tr("Clear Import History"));
    const QString card = m_model.sdCardName().isEmpty() ? tr("this card") : m_model.sdCardName();
    if (count == 0) {
        question->setText(tr("%1 has no import history.").arg(card));
        question->setStandardButtons(QMessageBox::Ok);
        question->open();
        return question;
    }
    question->setText(
        count < 0 ? tr("Clear the import history of %1?").arg(card)
                  : tr("Clear the import history of %1? This removes %n record(s).", nullptr, int(count))
                        .arg(card));
    question->setInformativeText(
        tr("Its videos will show as not imported and can be imported again. Copies already made stay "
           "where they are."));
    QPushButton* clear = question->addButton(tr("C&lear History"), QMessageBox::DestructiveRole);
    clear->setObjectName(QStringLiteral("confirmClear"));
    question->addButton(QMessageBox::Cancel);
    question->setDefaultButton(QMessageBox::Cancel);
    connect(clear, &QPushButton::clicked, this, [this] { m_model.clearImportHistory(m_store); });
    question->open();
    return question;
}

void VelarixFormView::updateOutputLocation() {
    m_location->setFullText(abbreviatedHome(m_model.outputLocation()));
    m_location->setToolTip(m_model.outputLocation());
    updateSpace();
}

void VelarixFormView::updateSpace() {
    qint64 needed = 0;
    for (const VideoFileRowPtr& row : m_model.selectedVideoFiles())
        needed += std::max<qint64>(0, row->fileSize());
    const std::optional<quint64> available = freeSpaceAt(m_model.outputLocation());
    QString text;
    bool fits = true;
    if (!available) {
        text = tr("Free space unknown");
    } else if (needed == 0) {
        text = tr("%1 available").arg(formatByteCount(*available));
    } else {
        fits = quint64(needed) <= *available;
        text =
            tr("%1 needed, %2 available").arg(formatByteCount(quint64(needed)), formatByteCount(*available));
        if (!fits)
            text = tr("%1 \u2014 not enough space").arg(text);
    }
    m_space->setText(text);
    m_space->setProperty("fits", fits);
    QPalette palette = this->palette();
    if (!fits)
        palette.setColor(QPalette::WindowText, toneColour(Tone::failure, palette));
    m_space->setPalette(palette);
}

void VelarixFormView::updateFiles() {
    const bool importing = m_model.importProgress() != nullptr;
    const QList<ResolvedOutputFile> files =
        importing ? QList<ResolvedOutputFile>() : m_model.resolvedOutputFiles();
    m_files->setFiles(files);
    m_filesSection->setVisible(!importing && !files.isEmpty());
}

void VelarixFormView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    placeProgressRow();
}

void VelarixFormView::placeProgressRow() {
    if (m_progressRow->isHidden()) {
        setViewportMargins(0, 0, 0, 0);
        return;
    }
    // The wrapped status may take another line: the row's height follows its text at this width.
    const int height = m_progressRow->layout()->hasHeightForWidth()
                           ? m_progressRow->layout()->totalHeightForWidth(width())
                           : m_progressRow->sizeHint().height();
    setViewportMargins(0, 0, 0, height);
    m_progressRow->setGeometry(0, this->height() - height, width(), height);
}

void VelarixFormView::updateProgress() {
    ImportProgress* progress = m_model.importProgress();
    m_progressRow->setVisible(progress != nullptr);
    placeProgressRow();
    if (progress) {
        auto refresh = [this, progress] {
            m_progress->setValue(int(std::lround(progress->fractionCompleted() * 1000)));
            const QString text = progress->statusText();
            if (text != m_progressText->text()) {
                m_progressText->setText(text);
                setProgressStatus(m_progress, text);
                placeProgressRow();
            }
        };
        connect(progress, &ImportProgress::changed, m_progressRow, refresh);
        connect(progress, &ImportProgress::cancelledChanged, m_progressRow, refresh);
        refresh();
    }
    updateFiles();
}

} // namespace velarix
