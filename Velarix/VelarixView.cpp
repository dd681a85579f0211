#include "Velarix/VelarixView.h"

#include "Velarix/ContentPanels.h"
#include "Velarix/DisplayFormats.h"
#include "Velarix/Icons.h"
#include "Velarix/JumpTableView.h"
#include "Velarix/PreviewWindow.h"
#include "Velarix/VelarixFormView.h"
#include "import/VelarixModel.h"
#include "platform/Log.h"
#include "platform/VolumeEject.h"
#include "platform/VolumeWatch.h"
#include "platform/Volumes.h"

#include <QAction>
#include <QApplication>
#include <QFutureWatcher>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace velarix {

VelarixView::VelarixView(VelarixModel& model, HistoryStore& store, QWidget* parent)
    : QMainWindow(parent)
    , m_model(model)
    , m_store(store) {
    setObjectName(QStringLiteral("main"));
    buildToolBar();

    m_loading = new LoadingPanel;
    m_empty = new ContentUnavailableView(
        themedIcon("drive-removable-media", "drive-missing.svg"), QStringLiteral("No SD Card Found"),
        QStringLiteral("No SD Card found, or no videos found on it."), nullptr,
        QStringLiteral("No card at hand? Run <b>make demo</b> in the source folder, or make a demo card with "
                       "<b>velarix-cli demo DIR</b> and start Velarix with <b>VELARIX_VOLUMES_DIR=DIR</b>."));
    m_empty->setObjectName(QStringLiteral("emptyPanel"));
    auto* emptyPage = new QWidget;
    auto* emptyLayout = new QVBoxLayout(emptyPage);
    emptyLayout->addStretch();
    emptyLayout->addWidget(m_empty, 0, Qt::AlignHCenter);
    emptyLayout->addStretch();

    m_table = new JumpTableView(m_model, m_store);
    m_form = new VelarixFormView(m_model, m_store);
    m_split = new QSplitter(Qt::Horizontal);
    m_split->setObjectName(QStringLiteral("split"));
    m_split->setChildrenCollapsible(false);
    m_split->addWidget(m_table);
    m_split->addWidget(m_form);
    // The table gets the larger share; extra width goes to it first.
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 1);
    m_split->setSizes({700, 420});
    connect(m_table, &JumpTableView::previewRequested, this, &VelarixView::showPreview);

    m_stack = new QStackedWidget;
    m_stack->addWidget(m_loading);
    m_stack->addWidget(emptyPage);
    m_stack->addWidget(m_split);
    setCentralWidget(m_stack);

    for (auto signal : {&VelarixModel::isLoadingVideosChanged, &VelarixModel::videoFilesChanged})
        connect(&m_model, signal, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::videoLoadingChanged, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &VelarixView::updateTitle);
    connect(&m_model, &VelarixModel::sdCardSpaceAvailableChanged, this, &VelarixView::updateTitle);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::selectionChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::importProgressChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::importPatternChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::errorChanged, this, &VelarixView::showError);
    updateContent();
    updateTitle();
    updateActions();
    resize(1120, 700);
    setMinimumSize(960, 520);

    // Volumes coming and going: a new card is loaded, a removed one triggers a new search.
    m_watch = new VolumeWatch(this);
    connect(m_watch, &VolumeWatch::volumesChanged, this, &VelarixView::volumesChanged);
    if (auto volumes = m_model.volumeProvider()->mountedVolumes())
        m_knownVolumes = *volumes;
    // The first search runs once the window is up, so it shows its loading state.
    QMetaObject::invokeMethod(
        this, [this] { reload(); }, Qt::QueuedConnection);
    showError();
}

VelarixView::~VelarixView() = default;

void VelarixView::buildToolBar() {
    QToolBar* bar = addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("mainToolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setIconSize(QSize(20, 20));
    bar->toggleViewAction()->setEnabled(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);

    auto* icon = new QLabel(bar);
    icon->setObjectName(QStringLiteral("appIcon"));
    icon->setPixmap(QApplication::windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    icon->setContentsMargins(6, 2, 10, 2);
    icon->setToolTip(QStringLiteral("Velarix"));
    bar->addWidget(icon);

    m_eject = bar->addAction(themedIcon("media-eject", "eject.svg"), QStringLiteral("Eject"));
    m_eject->setObjectName(QStringLiteral("eject"));
    m_eject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_eject->setToolTip(QStringLiteral("Eject SD card [Ctrl+E]"));
    connect(m_eject, &QAction::triggered, this, &VelarixView::eject);

    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);

    m_import = bar->addAction(themedIcon("document-import", "import.svg"), QStringLiteral("Import"));
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    m_import->setToolTip(QStringLiteral("Import [Ctrl+I]"));
    connect(m_import, &QAction::triggered, this, &VelarixView::startImport);
}

VelarixView::Content VelarixView::content() const {
    if (m_model.videoFiles().isEmpty())
        return m_model.isLoadingVideos() ? Content::loading : Content::empty;
    return Content::table;
}

void VelarixView::updateContent() {
    const Content shown = content();
    m_stack->setCurrentIndex(int(shown));
    if (shown == Content::loading)
        m_loading->setStatus(m_model.videoLoadingStatus(), m_model.videoLoadingFraction());
}

QString VelarixView::subtitle() const {
    QString text = m_model.sdCardPath().value_or(QString());
    if (m_model.sdCardSpaceAvailable() != 0)
        text += QStringLiteral(" (") + formatVolumeSpace(m_model.sdCardSpaceAvailable()) +
                QStringLiteral(" available)");
    return text;
}

void VelarixView::updateTitle() {
    const QString sub = subtitle();
    setWindowTitle(sub.isEmpty() ? QStringLiteral("Velarix") : QStringLiteral("Velarix \u2014 ") + sub);
}

void VelarixView::updateActions() {
    m_eject->setEnabled(m_model.sdCardPath().has_value());
    const std::optional<QString> problem = m_model.importPatternProblem();
    m_import->setEnabled(m_model.importProgress() == nullptr && !m_model.selection().isEmpty() && !problem);
    m_import->setToolTip(problem.value_or(QStringLiteral("Import [Ctrl+I]")));
}

void VelarixView::showError() {
    if (m_model.error().isEmpty() || m_alert)
        return;
    // A cancel is what the user asked for: information, not a warning.
    auto* alert =
        new QMessageBox(m_model.error().isCancellation() ? QMessageBox::Information : QMessageBox::Warning,
                        QStringLiteral("Velarix"), m_model.error().errorDescription(), QMessageBox::Ok, this);
    alert->setObjectName(QStringLiteral("errorAlert"));
    alert->setAttribute(Qt::WA_DeleteOnClose);
    connect(alert, &QMessageBox::finished, this, [this] {
        m_model.setError(ApplicationError::empty());
        // A new error may have come while this one was shown.
        QMetaObject::invokeMethod(this, &VelarixView::showError, Qt::QueuedConnection);
    });
    m_alert = alert;
    alert->open();
}

void VelarixView::watch(const QFuture<Result<void>>& operation) {
    // A watcher owned by the window: if the window goes first, the result is simply not reported
    // (a continuation bound to a destroyed context is not allowed).
    auto* watcher = new QFutureWatcher<Result<void>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        const Result<void> result = watcher->result();
        watcher->deleteLater();
        if (!result && !result.isCancelled())
            m_model.setError(ApplicationError::internalError(result.error().message));
    });
    watcher->setFuture(operation);
}

void VelarixView::reload(const std::optional<QString>& volume) {
    QFuture<Result<void>> done =
        volume ? m_model.loadSDCard(*volume, m_store) : m_model.refreshSDCard(m_store);
    watch(done);
}

void VelarixView::volumesChanged() {
    auto listed = m_model.volumeProvider()->mountedVolumes();
    if (!listed) {
        reload();
        return;
    }
    const QStringList now = *listed;
    std::optional<QString> mountedCard;
    bool removed = false;
    for (const QString& volume : now) {
        if (!m_knownVolumes.contains(volume) && hasDcimFolder(volume))
            mountedCard = volume;
    }
    for (const QString& volume : std::as_const(m_knownVolumes))
        removed = removed || !now.contains(volume);
    m_knownVolumes = now;
    if (mountedCard)
        reload(mountedCard);
    else if (removed)
        reload();
}

void VelarixView::eject() {
    const std::optional<QString> path = m_model.sdCardPath();
    if (!path)
        return;
    // UDisks calls block: off the GUI thread. The unmount itself then shows through the volume watch.
    watch(QtConcurrent::run([volume = *path] { return ejectVolume(volume); }));
}

void VelarixView::startImport() {
    if (m_model.importProgress() || m_model.selection().isEmpty() || m_reimportQuestion)
        return;
    const QSet<QString> imported = m_model.importedSelection(m_store);
    if (imported.isEmpty()) {
        m_model.importSelectedVideos(m_store);
        return;
    }
    // Importing a clip again makes a second copy: only on purpose.
    const qsizetype selected = m_model.selection().size();
    auto* question =
        new QMessageBox(QMessageBox::Question, QStringLiteral("Velarix"),
                        imported.size() == selected
                            ? QStringLiteral("All %1 selected videos were imported before.").arg(selected)
                            : QStringLiteral("%1 of the %2 selected videos were imported before.")
                                  .arg(imported.size())
                                  .arg(selected),
                        QMessageBox::NoButton, this);
    question->setObjectName(QStringLiteral("reimportQuestion"));
    question->setInformativeText(QStringLiteral("Importing them again makes second copies."));
    question->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* skip = imported.size() < selected
                            ? question->addButton(QStringLiteral("Skip Imported"), QMessageBox::AcceptRole)
                            : nullptr;
    QPushButton* again = question->addButton(QStringLiteral("Import Again"), QMessageBox::DestructiveRole);
    QPushButton* cancel = question->addButton(QMessageBox::Cancel);
    if (skip)
        skip->setObjectName(QStringLiteral("skipImported"));
    again->setObjectName(QStringLiteral("importAgain"));
    question->setDefaultButton(skip ? skip : cancel);
    connect(question, &QMessageBox::finished, this, [this, question, skip, again, imported] {
        QAbstractButton* chosen = question->clickedButton();
        if (skip && chosen == skip) {
            m_model.setSelection(m_model.selection() - imported);
            m_model.importSelectedVideos(m_store);
        } else if (chosen == again) {
            m_model.importSelectedVideos(m_store);
        }
    });
    m_reimportQuestion = question;
    question->open();
}

void VelarixView::showPreview(const QString& path) {
    if (!m_preview) {
        m_preview = new PreviewWindow(this);
        m_preview->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_preview->showVideo(path);
}

} // namespace velarix
