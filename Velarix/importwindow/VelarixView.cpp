#include "Velarix/importwindow/VelarixView.h"

#include "Velarix/importwindow/CardListView.h"
#include "Velarix/importwindow/ContentPanels.h"
#include "Velarix/importwindow/JumpTableView.h"
#include "Velarix/importwindow/PreviewWindow.h"
#include "Velarix/importwindow/VelarixFormView.h"
#include "Velarix/widgets/Icons.h"
#include "core/Background.h"
#include "core/Log.h"
#include "desktop/DisplayFormats.h"
#include "desktop/Settings.h"
#include "import/CardListModel.h"
#include "import/CardWatcher.h"
#include "import/FailureReport.h"
#include "import/VelarixModel.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace velarix {

VelarixView::VelarixView(VelarixModel& model, HistoryStore& store, CardWatcher* watcher, QWidget* parent)
    : QMainWindow(parent)
    , m_model(model)
    , m_store(store)
    , m_watcher(watcher ? watcher : new CardWatcher(model.volumeProvider(), this)) {
    setObjectName(QStringLiteral("main"));
    // velarix-cli may import the card shown meanwhile: the jump number it moved on shows here too.
    m_model.defaults().followFile();

    m_pages.loading = new LoadingPanel;
    m_pages.empty = new ContentUnavailableView(themedIcon("drive-removable-media", "drive-missing.svg"),
                                               tr("No SD Card Found"),
                                               tr("Insert a camera card to see its videos here."));
    m_pages.empty->setObjectName(QStringLiteral("emptyPanel"));
    auto* trim = new QPushButton(themedIcon("edit-cut", "scissors.svg"), tr("&Trim Videos\u2026"));
    trim->setObjectName(QStringLiteral("trimVideos"));
    trim->setToolTip(tr("Trim videos already on this computer to the jump"));
    connect(trim, &QPushButton::clicked, this, &VelarixView::trimVideosRequested);
    auto* emptyPage = new QWidget;
    auto* emptyLayout = new QVBoxLayout(emptyPage);
    emptyLayout->addStretch();
    emptyLayout->addWidget(m_pages.empty, 0, Qt::AlignHCenter);
    emptyLayout->addSpacing(12);
    emptyLayout->addWidget(trim, 0, Qt::AlignHCenter);
    emptyLayout->addStretch();

    m_table = new JumpTableView(m_model, m_store);
    m_form = new VelarixFormView(m_model, m_store);
    buildToolBar();
    auto* split = new QSplitter(Qt::Horizontal);
    split->setObjectName(QStringLiteral("split"));
    split->setChildrenCollapsible(false);
    split->addWidget(m_table);
    split->addWidget(m_form);
    // The table gets the larger share; the form grows too, so a long pattern shows whole.
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setSizes({760, 400});
    connect(m_table, &JumpTableView::previewRequested, this, &VelarixView::showPreview);

    m_pages.stack = new QStackedWidget;
    m_pages.stack->addWidget(m_pages.loading);
    m_pages.stack->addWidget(emptyPage);
    m_pages.stack->addWidget(split);

    // The card list stands outside the pages: it stays while a chosen card is being scanned.
    m_cards = new CardListModel(*m_watcher, m_model, m_store, this);
    m_cardList = new CardListView(*m_cards);
    connect(m_cards, &QAbstractItemModel::rowsInserted, this, &VelarixView::updateContent);
    connect(m_cards, &QAbstractItemModel::rowsRemoved, this, &VelarixView::updateContent);
    auto* outer = new QSplitter(Qt::Horizontal);
    outer->setObjectName(QStringLiteral("cardSplit"));
    outer->setChildrenCollapsible(false);
    outer->addWidget(m_cardList);
    outer->addWidget(m_pages.stack);
    // The list takes a little of what the window gains, so a wide window shows each card's counts
    // whole, and gives way first in a narrow one, where the file names need the room.
    outer->setStretchFactor(0, 1);
    outer->setStretchFactor(1, 8);
    outer->setSizes({CardListView::kMinimumWidth + 20, 1080});
    setCentralWidget(outer);

    for (auto signal : {&VelarixModel::isLoadingVideosChanged, &VelarixModel::videoFilesChanged})
        connect(&m_model, signal, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::videoLoadingChanged, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &VelarixView::updateTitle);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::sdCardNameChanged, this, &VelarixView::updateContent);
    connect(&m_model, &VelarixModel::sdCardSpaceAvailableChanged, this, &VelarixView::updateTitle);
    connect(&m_model, &VelarixModel::sdCardPathChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::selectionChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::videoFilesChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::importProgressChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::importPatternChanged, this, &VelarixView::updateActions);
    connect(&m_model, &VelarixModel::errorChanged, this, &VelarixView::showError);
    updateContent();
    updateTitle();
    updateActions();
    resize(1280, 760);
    setMinimumSize(960, 520);

    // The first search runs once the window is up, so it shows its loading state.
    QMetaObject::invokeMethod(
        this, [this] { reload(); }, Qt::QueuedConnection);
    showError();
}

VelarixView::~VelarixView() = default;

void VelarixView::buildToolBar() {
    QToolBar* bar = addToolBar(tr("Main"));
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

    m_eject = bar->addAction(themedIcon("media-eject", "eject.svg"), tr("&Eject"));
    m_eject->setObjectName(QStringLiteral("eject"));
    m_eject->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_eject->setToolTip(tr("Eject SD card [Ctrl+E]"));
    connect(m_eject, &QAction::triggered, this, &VelarixView::eject);

    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);

    // The table's own action, so its context menu and this button are one (and one shortcut).
    m_selectAllNew = m_table->selectAllNewAction();
    m_selectAllNew->setShortcutContext(Qt::WindowShortcut);
    m_selectAllNew->setIcon(themedIcon("edit-select-all", "select-all.svg"));
    bar->addAction(m_selectAllNew);

    m_import = bar->addAction(themedIcon("document-import", "import.svg"), tr("&Import"));
    m_import->setObjectName(QStringLiteral("import"));
    m_import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    m_import->setToolTip(tr("Import [Ctrl+I]"));
    connect(m_import, &QAction::triggered, this, &VelarixView::startImport);
}

VelarixView::Content VelarixView::content() const {
    if (m_model.videoFiles().isEmpty())
        return m_model.isLoadingVideos() ? Content::loading : Content::empty;
    return Content::table;
}

void VelarixView::updateContent() {
    const Content shown = content();
    m_pages.stack->setCurrentIndex(int(shown));
    if (shown == Content::empty && m_model.sdCardPath()) {
        // A card is in, but nothing on it to import.
        m_pages.empty->setTitle(tr("No Videos on %1").arg(m_model.sdCardName()));
        m_pages.empty->setDescription(
            m_cards->rowCount() > 1 ? tr("This card has no videos in its camera folders. Choose another card "
                                         "on the left.")
                                    : tr("This card has no videos in its camera folders. Insert another "
                                         "camera card to see its videos here."));
    } else if (shown == Content::empty) {
        m_pages.empty->setTitle(tr("No SD Card Found"));
        m_pages.empty->setDescription(tr("Insert a camera card to see its videos here."));
    }
    if (shown == Content::loading)
        m_pages.loading->setStatus(m_model.videoLoadingStatus(), m_model.videoLoadingFraction());
}

QString VelarixView::subtitle() const {
    QString text = m_model.sdCardPath().value_or(QString());
    if (m_model.sdCardSpaceAvailable() != 0)
        text = tr("%1 (%2 available)").arg(text, formatByteCount(m_model.sdCardSpaceAvailable()));
    return text;
}

void VelarixView::updateTitle() {
    const QString sub = subtitle();
    setWindowTitle(sub.isEmpty() ? QStringLiteral("Velarix") : QStringLiteral("Velarix \u2014 ") + sub);
}

void VelarixView::updateActions() {
    m_eject->setEnabled(m_model.sdCardPath().has_value());
    m_selectAllNew->setEnabled(m_model.importProgress() == nullptr && !m_model.videoFiles().isEmpty());
    const std::optional<QString> problem = m_model.importPatternProblem();
    m_import->setEnabled(m_model.importProgress() == nullptr && !m_model.selectedVideoFiles().isEmpty() &&
                         !problem);
    m_import->setToolTip(problem.value_or(tr("Import [Ctrl+I]")));
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
    if (m_model.error().recovery() == ApplicationError::Recovery::changeDestination) {
        QPushButton* change = alert->addButton(tr("Change Destination\u2026"), QMessageBox::AcceptRole);
        change->setObjectName(QStringLiteral("changeDestination"));
        alert->setDefaultButton(change);
        connect(change, &QPushButton::clicked, this, [this] {
            // After the alert has gone, so the chooser is not its child.
            QMetaObject::invokeMethod(
                this, [this] { m_form->chooseFolder(); }, Qt::QueuedConnection);
        });
    }
    connect(alert, &QMessageBox::finished, this, [this] {
        // Gone for the user now, though deleted later: the next error gets its own alert.
        m_alert = nullptr;
        m_model.setError(ApplicationError::empty());
        // A new error may have come while this one was shown.
        QMetaObject::invokeMethod(this, &VelarixView::showError, Qt::QueuedConnection);
    });
    m_alert = alert;
    alert->open();
}

void VelarixView::watch(const QFuture<Result<void>>& operation) {
    // If the window goes first, the result is simply not reported.
    reportFailure(operation, this, m_model);
}

void VelarixView::reload(const std::optional<QString>& volume) {
    QFuture<Result<void>> done =
        volume ? m_model.loadSDCard(*volume, m_store) : m_model.refreshSDCard(m_store);
    watch(done);
}

void VelarixView::eject() {
    if (const std::optional<QString> path = m_model.sdCardPath())
        m_cards->eject(*path);
}

void VelarixView::startImport() {
    if (m_model.importProgress() || m_model.selectedVideoFiles().isEmpty() || m_reimportQuestion)
        return;
    const QSet<QString> imported = m_model.importedSelection(m_store);
    if (imported.isEmpty()) {
        m_model.importSelectedVideos(m_store);
        return;
    }
    // Importing a clip again makes a second copy: only on purpose.
    const qsizetype selected = m_model.selectedVideoFiles().size();
    auto* question = new QMessageBox(
        QMessageBox::Question, QStringLiteral("Velarix"),
        imported.size() == selected
            ? tr("All %n selected video(s) were imported before.", nullptr, int(selected))
            : tr("%1 of the %n selected video(s) were imported before.", nullptr, int(selected))
                  .arg(imported.size()),
        QMessageBox::NoButton, this);
    question->setObjectName(QStringLiteral("reimportQuestion"));
    question->setInformativeText(tr("Importing them again makes second copies."));
    question->setAttribute(Qt::WA_DeleteOnClose);
    QPushButton* skip = imported.size() < selected
                            ? question->addButton(tr("&Skip Imported"), QMessageBox::AcceptRole)
                            : nullptr;
    QPushButton* again = question->addButton(tr("Import &Again"), QMessageBox::DestructiveRole);
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
    // A recording in chapters plays whole.
    QStringList chapters{path};
    for (const VideoFileRowPtr& row : m_model.videoFiles())
        if (row->path() == path)
            chapters = row->chapterPaths();
    m_preview->showRecording(chapters);
}

} // namespace velarix
