#include "Velarix/trimwindow/VideoTrimmingView.h"

#include "Velarix/trimwindow/TrimDropZone.h"
#include "Velarix/trimwindow/TrimFooterBar.h"
#include "Velarix/trimwindow/TrimHeaderBar.h"
#include "Velarix/trimwindow/TrimProgressScreen.h"
#include "Velarix/trimwindow/TrimSummaryScreen.h"
#include "Velarix/trimwindow/TrimVideoList.h"
#include "Velarix/trimwindow/VideoTrimEditorSheet.h"
#include "Velarix/widgets/AppResources.h"
#include "Velarix/widgets/WindowCloseGuard.h"
#include "core/Background.h"
#include "desktop/AppPaths.h"
#include "desktop/Settings.h"
#include "import/VelarixModel.h"
#include "trimming/DroppedVideos.h"
#include "trimming/VideoTrimmingModel.h"

#include <QCheckBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QShortcut>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace velarix {

namespace {

// What the chooser offers. The first entry is all that can be trimmed, so that camera files of
// both kinds show at once; then MPEG-4 movies, any movie, and the 360 camera files (MPEG-4 inside).
QStringList chooserFilters() {
    return {
        QObject::tr("MP4, MOV and 360 videos (*.mp4 *.MP4 *.mov *.MOV *.360 *.insv *.INSV)"),
        QObject::tr("MPEG-4 movies (*.mp4 *.MP4 *.m4v *.M4V)"),
        QObject::tr("Movies (*.mp4 *.MP4 *.m4v *.mov *.MOV *.mkv *.avi *.webm *.mts *.MTS *.mpg *.mpeg *.360 "
                    "*.insv)"),
        QObject::tr("360 videos (*.360 *.insv *.INSV)"),
    };
}

} // namespace

VideoTrimmingView::VideoTrimmingView(QWidget* parent)
    : QMainWindow(parent)
    , m_model(new VideoTrimmingModel(this)) {
    ensureAppResources();
    setObjectName(QStringLiteral("video-trimming"));
    setWindowTitle(tr("Video Trimming"));
    setMinimumSize(860, 520);
    resize(1000, 640);
    setAcceptDrops(true);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new TrimHeaderBar(content);
    layout->addWidget(m_header);
    m_screens = new QStackedWidget(content);
    m_summary = new TrimSummaryScreen(m_screens);
    m_trimming = new TrimProgressScreen(m_screens);
    m_dropZone = new TrimDropZone(m_screens);
    m_list = new TrimVideoList(m_screens);
    // In the order of Screen.
    m_screens->addWidget(m_summary);
    m_screens->addWidget(m_trimming);
    m_screens->addWidget(m_dropZone);
    m_screens->addWidget(m_list);
    layout->addWidget(m_screens, 1);
    setCentralWidget(content);

    VideoTrimmingModel* model = m_model;
    connect(m_header, &TrimHeaderBar::addVideosRequested, this, &VideoTrimmingView::openChooser);
    connect(m_header, &TrimHeaderBar::cancelRequested, model, &VideoTrimmingModel::cancelWork);
    connect(m_header, &TrimHeaderBar::clearRequested, model, &VideoTrimmingModel::clear);
    connect(m_dropZone, &TrimDropZone::chooseVideosRequested, this, &VideoTrimmingView::openChooser);
    connect(m_trimming, &TrimProgressScreen::cancelRequested, model, &VideoTrimmingModel::cancelWork);
    connect(m_summary, &TrimSummaryScreen::addVideosRequested, this, &VideoTrimmingView::openChooser);
    connect(m_summary, &TrimSummaryScreen::doneRequested, this,
            [model] { model->setTrimCompletionSummary(std::nullopt); });
    TrimFooterBar* footer = m_list->footer();
    connect(footer, &TrimFooterBar::analyzeAgainRequested, this, [model] {
        model->setTrimCompletionSummary(std::nullopt);
        model->startAnalysis(model->items());
    });
    connect(footer, &TrimFooterBar::trimRequested, this, &VideoTrimmingView::confirmTrim);
    connect(m_list, &TrimVideoList::keepFullRequested, this,
            [](VideoTrimItem* item) { item->keepFullVideo(); });
    connect(m_list, &TrimVideoList::adjustRequested, this, &VideoTrimmingView::openEditor);
    connect(m_list, &TrimVideoList::removeRequested, model, &VideoTrimmingModel::removeItem);

    // "Keep originals in the Trash" is the user's setting, shared with the Settings window.
    Settings& settings = Settings::standard();
    const QString keepKey = VideoTrimmingModel::kKeepOriginalsInTrashKey;
    model->setKeepOriginalsInTrash(settings.boolValue(keepKey).value_or(false));
    connect(footer, &TrimFooterBar::keepOriginalsToggled, this,
            [&settings, keepKey](bool keep) { settings.setValue(keepKey, keep); });
    connect(&settings, &Settings::valueChanged, model, [&settings, keepKey, model](const QString& key) {
        if (key == keepKey)
            model->setKeepOriginalsInTrash(settings.boolValue(keepKey).value_or(false));
    });

    // Return starts trimming, but only where and when that button is enabled.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &VideoTrimmingView::triggerDefaultButton);
    }

    // Ctrl+O adds videos, Ctrl+W closes (through the close guard).
    auto* add = new QShortcut(QKeySequence::Open, this);
    connect(add, &QShortcut::activated, this, &VideoTrimmingView::openChooser);
    auto* closeWindow = new QShortcut(QKeySequence::Close, this);
    connect(closeWindow, &QShortcut::activated, this, &QWidget::close);

    m_closeGuard = new WindowCloseGuard(this, [model] { model->cancelWork(); });

    connect(model, &VideoTrimmingModel::itemsChanged, this, [this] { m_list->syncRows(*m_model); });
    connect(model, &VideoTrimmingModel::changed, this, &VideoTrimmingView::refresh);
    connect(model, &VideoTrimmingModel::trimCompletionSummaryChanged, this, &VideoTrimmingView::refresh);
    connect(model, &VideoTrimmingModel::isDropTargetedChanged, this,
            [this] { m_dropZone->setTargeted(m_model->isDropTargeted()); });
    connect(model, &VideoTrimmingModel::errorMessageChanged, this, &VideoTrimmingView::showErrorAlert);
    refresh();
}

VideoTrimmingView::~VideoTrimmingView() {
    // The model goes with the window's children; nothing it says on the way may reach this half-
    // destroyed view. The sheet and the rows observe items that the model deletes with itself.
    m_model->disconnect(this);
    delete m_editor;
    delete m_list;
}

VideoTrimmingView::Screen VideoTrimmingView::currentScreen() const {
    return Screen(m_screens->currentIndex());
}

void VideoTrimmingView::refresh() {
    const VideoTrimmingModel& model = *m_model;
    Screen screen = Screen::List;
    if (model.trimCompletionSummary() && model.items().isEmpty())
        screen = Screen::Summary;
    else if (model.isTrimming())
        screen = Screen::Trimming;
    else if (model.items().isEmpty())
        screen = Screen::DropZone;
    m_screens->setCurrentIndex(int(screen));

    m_header->refresh(model);
    m_list->refresh(model);
    m_trimming->refresh(model);
    if (model.trimCompletionSummary())
        m_summary->setSummary(*model.trimCompletionSummary());
    m_closeGuard->setBusy(model.isAnalyzing() || model.isTrimming());
    const int edited = model.untrimmedManualRangeCount();
    m_closeGuard->setUnsavedEdits(
        edited == 0
            ? QString()
            : tr("%n video(s) have ranges you adjusted that are not trimmed yet.", nullptr, int(edited)));
}

void VideoTrimmingView::triggerDefaultButton() {
    QPushButton* trim = m_list->footer()->trimButton();
    if (currentScreen() == Screen::List && trim->isEnabled())
        trim->click();
}

void VideoTrimmingView::openChooser() {
    // Re-armed on the next turn of the event loop, so that asking again always presents it.
    m_selectVideos = false;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_selectVideos = true;
            presentChooser();
        },
        Qt::QueuedConnection);
}

void VideoTrimmingView::presentChooser() {
    if (m_chooser) {
        m_chooser->raise();
        m_chooser->activateWindow();
        return;
    }
    if (m_chooserFolder.isEmpty() || !QFileInfo(m_chooserFolder).isDir()) {
        // Where imports go, which is where the videos to trim are; else ~/Videos where there is one.
        // A chooser opened on a missing folder offers its name as a file.
        const QString movies = AppPaths::videosDirectory();
        const QString destination =
            Settings::standard().stringValue(SettingsKey::outputLocation).value_or(movies);
        m_chooserFolder = QFileInfo(destination).isDir() ? destination
                          : QFileInfo(movies).isDir()    ? movies
                                                         : QDir::homePath();
    }
    auto* chooser = new QFileDialog(this, tr("Add Videos"), m_chooserFolder);
    chooser->setObjectName(QStringLiteral("videoChooser"));
    chooser->setAttribute(Qt::WA_DeleteOnClose);
    chooser->setFileMode(QFileDialog::ExistingFiles);
    chooser->setAcceptMode(QFileDialog::AcceptOpen);
    chooser->setNameFilters(chooserFilters());
    chooser->setLabelText(QFileDialog::Accept, tr("Add"));
    // selectedUrls() answers for the built-in and the desktop's own chooser alike.
    connect(chooser, &QFileDialog::accepted, this, [this, chooser] {
        const QList<QUrl> urls = chooser->selectedUrls();
        if (!urls.isEmpty() && urls.first().isLocalFile())
            m_chooserFolder = QFileInfo(urls.first().toLocalFile()).absolutePath();
        chooserFinished(urls);
    });
    connect(chooser, &QFileDialog::rejected, this, [this] { m_selectVideos = false; });
    m_chooser = chooser;
    chooser->open();
}

void VideoTrimmingView::chooserFinished(const QList<QUrl>& urls) {
    m_selectVideos = false;
    QList<QUrl> local;
    QStringList remote;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            local.append(url);
        else
            remote.append(url.fileName().isEmpty() ? url.toDisplayString() : url.fileName());
    }
    m_model->addVideos(local);
    // Trimming replaces files in place, which needs a file on this machine.
    if (!remote.isEmpty())
        chooserFailed(tr("%1 is not a local file, so it cannot be trimmed in place.")
                          .arg(remote.join(QStringLiteral(", "))));
}

void VideoTrimmingView::chooserFailed(const QString& description) {
    m_selectVideos = false;
    m_model->setErrorMessage(description);
}

void VideoTrimmingView::confirmTrim() {
    const QList<VideoTrimItem*> doubtful = m_model->itemsNeedingReview();
    if (doubtful.isEmpty()) {
        m_model->startTrimming();
        return;
    }
    QStringList lines;
    for (const VideoTrimItem* item : doubtful)
        lines << tr("%1: %2").arg(QFileInfo(item->url().toLocalFile()).fileName(), item->reviewReason());
    auto* box =
        new QMessageBox(QMessageBox::Warning, tr("Video Trimming"),
                        tr("%n video(s) should be checked before trimming", nullptr, int(doubtful.size())),
                        QMessageBox::NoButton, this);
    box->setObjectName(QStringLiteral("trimReviewConfirm"));
    box->setInformativeText(tr("The suggested range may leave out part of the jump. Adjust it, or trim "
                               "the others only.\n\n") +
                            lines.join(u'\n'));
    // With nothing else to trim, skipping them would do nothing at all.
    const bool others = m_model->trimmableItems().size() > doubtful.size();
    QPushButton* skip =
        others ? box->addButton(tr("Trim Only the Others"), QMessageBox::AcceptRole) : nullptr;
    QPushButton* all = box->addButton(tr("Trim All Anyway"), QMessageBox::DestructiveRole);
    QPushButton* cancel = box->addButton(QMessageBox::Cancel);
    box->setDefaultButton(skip ? skip : cancel);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::buttonClicked, this, [this, skip, all](QAbstractButton* button) {
        if (skip && button == skip)
            m_model->startTrimming(false);
        else if (button == all)
            m_model->startTrimming(true);
    });
    box->open();
}

void VideoTrimmingView::showErrorAlert() {
    const std::optional<QString>& message = m_model->errorMessage();
    if (!message) {
        if (m_alert)
            m_alert->close();
        return;
    }
    if (m_alert) {
        m_alert->setText(*message);
        return;
    }
    auto* alert =
        new QMessageBox(QMessageBox::Warning, tr("Video Trimming"), *message, QMessageBox::Ok, this);
    alert->setObjectName(QStringLiteral("trimmingErrorAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    connect(alert, &QMessageBox::finished, this, [this] { m_model->setErrorMessage(std::nullopt); });
    m_alert = alert;
    alert->open();
}

void VideoTrimmingView::openEditor(VideoTrimItem* item) {
    if (!item || m_editor)
        return;
    // Cancel in the sheet goes back to the bounds from before the missing ones were filled in.
    const VideoTrimItem::ManualRange before = item->manualRange();
    item->prepareManualRange();
    m_editorItem = item;
    auto* sheet = new VideoTrimEditorSheet(item, before, this);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [this] { m_editorItem = nullptr; });
    m_editor = sheet;
    sheet->open();
}

void VideoTrimmingView::dragEnterEvent(QDragEnterEvent* event) {
    // Only drags that carry file locations; the model decides which of them it takes.
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_model->setIsDropTargeted(true);
}

void VideoTrimmingView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void VideoTrimmingView::dragLeaveEvent(QDragLeaveEvent* event) {
    m_model->setIsDropTargeted(false);
    QMainWindow::dragLeaveEvent(event);
}

void VideoTrimmingView::dropEvent(QDropEvent* event) {
    m_model->setIsDropTargeted(false);
    QList<QUrl> files;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            files.append(url);
    event->acceptProposedAction();
    if (files.isEmpty())
        return;
    // The drop is done for the source at once; folders are searched off the GUI thread (a day's
    // folder on a slow card takes a while), then the videos are added and what was left out is told.
    QPointer<VideoTrimmingModel> model = m_model;
    runInBackground(
        this, [files] { return collectDroppedVideos(files); },
        [model](const DroppedVideos& dropped) {
            if (!model)
                return;
            if (!dropped.videos.isEmpty())
                model->addVideos(dropped.videos);
            if (const QString notice = droppedVideosNotice(dropped); !notice.isEmpty())
                model->setErrorMessage(notice);
        });
}

} // namespace velarix

namespace velarix {

void VideoTrimmingView::addFiles(const QStringList& paths) {
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls.append(QUrl::fromLocalFile(path));
    m_model->addVideos(urls);
}

} // namespace velarix
