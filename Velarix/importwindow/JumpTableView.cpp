#include "Velarix/importwindow/JumpTableView.h"

#include "Velarix/importwindow/LoadingCard.h"
#include "Velarix/importwindow/ThumbnailLoader.h"
#include "Velarix/importwindow/VideoTableDelegate.h"
#include "Velarix/importwindow/VideoTableModel.h"
#include "Velarix/importwindow/VideoTableSort.h"
#include "Velarix/widgets/AppLog.h"
#include "desktop/Settings.h"
#include "history/HistoryStore.h"
#include "import/RecordingStatus.h"
#include "import/VelarixModel.h"

#include <QAction>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace velarix {

namespace {

QSize thumbnailPixels(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    const qreal scale = screen ? screen->devicePixelRatio() : 1.0;
    return QSize(qRound(VideoTableDelegate::kThumbnailWidth * scale),
                 qRound(VideoTableDelegate::kThumbnailHeight * scale));
}

// Home and End go to the first and last row: the table selects whole rows, so the first and last
// cell of the current row would select just that row again.
class VideoTable : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveHome || action == MoveEnd)
            modifiers |= Qt::ControlModifier;
        return QTableView::moveCursor(action, modifiers);
    }
};

} // namespace

JumpTableView::JumpTableView(VelarixModel& model, HistoryStore& store, QWidget* parent)
    : QWidget(parent)
    , m_model(model)
    , m_store(store) {
    setObjectName(QStringLiteral("jumpTable"));
    m_thumbnails = new ThumbnailLoader(thumbnailPixels(this), this);
    m_tableModel = new VideoTableModel(*m_thumbnails, this);
    m_sort = new VideoTableSort(*m_tableModel, this);
    m_delegate = new VideoTableDelegate(this);

    m_table = new VideoTable(this);
    m_table->setObjectName(QStringLiteral("videoTable"));
    m_table->setAccessibleName(tr("Videos"));
    m_table->setAccessibleDescription(tr("Space plays the selected video."));
    m_table->setModel(m_sort);
    m_table->setItemDelegate(m_delegate);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->setShowGrid(false);
    m_table->setAlternatingRowColors(true);
    m_table->setWordWrap(false);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(VideoTableDelegate::kRowHeight);
    m_table->setFrameShape(QFrame::NoFrame);
    // Tab leaves the table: walking cells would move the selection, and with it what Import copies.
    m_table->setTabKeyNavigation(false);
    m_table->viewport()->installEventFilter(this);
    m_table->installEventFilter(this);

    // Everything not imported yet, except files that cannot be read as video.
    m_selectAllNew = new QAction(tr("Select All New"), m_table);
    m_selectAllNew->setObjectName(QStringLiteral("selectAllNew"));
    m_selectAllNew->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
    m_selectAllNew->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_selectAllNew->setToolTip(tr("Select every video not imported yet [Ctrl+Shift+A]"));
    connect(m_selectAllNew, &QAction::triggered, this, [this] {
        // Copies made without verification count as imported; say so, as they might not be whole.
        if (const qsizetype unverified = m_model.selectAllNew(m_store); unverified > 0)
            QToolTip::showText(m_table->viewport()->mapToGlobal(QPoint(16, 16)),
                               unverifiedNotSelectedText(unverified), m_table->viewport());
    });
    m_table->addAction(m_selectAllNew);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);

    QHeaderView* header = m_table->horizontalHeader();
    header->setSectionsMovable(true);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(48);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fitThumbnailColumn();
    header->resizeSection(VideoTableModel::fileColumn, 120);
    header->resizeSection(VideoTableModel::stateColumn, 90);
    header->resizeSection(VideoTableModel::sizeColumn, 80);
    header->resizeSection(VideoTableModel::createdColumn, 140);
    // The file name takes the room that is left, so the table always fills its pane.
    header->setSectionResizeMode(VideoTableModel::fileColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(VideoTableModel::thumbnailColumn, QHeaderView::Fixed);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &JumpTableView::showHeaderMenu);
    restoreCustomization();
    connect(header, &QHeaderView::sectionMoved, this, &JumpTableView::saveCustomization);
    connect(header, &QHeaderView::sectionResized, this, &JumpTableView::saveCustomization);

    // The order starts as newest first each time; only the layout is remembered.
    m_table->setSortingEnabled(true);
    header->setSortIndicator(VideoTableModel::createdColumn, Qt::DescendingOrder);
    connect(header, &QHeaderView::sortIndicatorChanged, this, [this, header](int column, Qt::SortOrder) {
        // Columns without a sort key keep the current order and indicator.
        if (!VideoTableModel::isSortable(column)) {
            const QSignalBlocker blocker(header);
            header->setSortIndicator(m_sort->sortColumn(), m_sort->sortOrder());
        }
    });

    m_loadingCard = new LoadingCard(this);
    m_loadingCard->hide();

    m_spinnerTimer = new QTimer(this);
    m_spinnerTimer->setInterval(50);
    connect(m_spinnerTimer, &QTimer::timeout, this, &JumpTableView::updateSpinner);
    connect(m_thumbnails, &ThumbnailLoader::finished, this, [this] { updateSpinner(); });
    m_spinnerTimer->start();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table);
    setMinimumWidth(kMinimumWidth);

    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &JumpTableView::pushSelectionToModel);
    connect(&m_model, &VelarixModel::selectionChanged, this, &JumpTableView::pullSelectionFromModel);
    connect(&m_model, &VelarixModel::videoFilesChanged, this, &JumpTableView::rowsChanged);
    // Another card (or none): the thumbnails of the last one are not needed any more.
    connect(&m_model, &VelarixModel::sdCardPathChanged, m_thumbnails, &ThumbnailLoader::clear);
    connect(&m_model, &VelarixModel::cardHistoryChanged, this, &JumpTableView::refreshImportState);
    connect(&m_model, &VelarixModel::videoLoadingChanged, this, &JumpTableView::updateLoadingCard);
    connect(&m_model, &VelarixModel::videoLoadingPhaseChanged, this, &JumpTableView::updateLoadingCard);

    rowsChanged();
    updateLoadingCard();
}

JumpTableView::~JumpTableView() = default;

void JumpTableView::rowsChanged() {
    // A rescan hands over new row objects even when the files are the same: take them, so that
    // durations arriving on them show.
    if (m_model.videoFiles() == m_tableModel->sourceRows())
        return;
    {
        const QSignalBlocker blocker(m_table->selectionModel());
        m_tableModel->setRows(m_model.videoFiles());
    }
    pullSelectionFromModel();
    refreshImportState();
}

void JumpTableView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refreshImportState();
    placeLoadingCard();
}

const ImportState& JumpTableView::importState() const {
    return m_model.cardImportState();
}

void JumpTableView::refreshImportState() {
    m_tableModel->setImportState(m_model.cardImportState());
}

void JumpTableView::pushSelectionToModel() {
    if (m_syncingSelection)
        return;
    QSet<QString> ids;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        ids.insert(index.data(VideoTableModel::RowIdRole).toString());
    m_syncingSelection = true;
    m_model.setSelection(ids);
    m_syncingSelection = false;
}

void JumpTableView::pullSelectionFromModel() {
    if (m_syncingSelection)
        return;
    QItemSelection selection;
    for (const QString& id : m_model.selection()) {
        const int row = m_sort->rowOf(id);
        if (row >= 0)
            selection.select(m_sort->index(row, 0), m_sort->index(row, VideoTableModel::kColumnCount - 1));
    }
    m_syncingSelection = true;
    m_table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncingSelection = false;
}

void JumpTableView::updateLoadingCard() {
    const std::optional<double> fraction = m_model.videoLoadingFraction();
    const std::optional<QString> status = m_model.videoLoadingStatus();
    const bool shown =
        m_model.videoLoadingPhase() == VideoLoadingPhase::loadingMetadata && fraction && status;
    if (shown)
        m_loadingCard->setStatus(*status, fraction);
    m_loadingCard->setVisible(shown);
    if (shown) {
        placeLoadingCard();
        m_loadingCard->raise();
    }
}

void JumpTableView::placeLoadingCard() {
    const int margin = 12;
    const int width = std::min(360, std::max(0, this->width() - 2 * margin));
    const int height = m_loadingCard->sizeHint().height();
    m_loadingCard->setGeometry(margin, this->height() - margin - height, width, height);
}

void JumpTableView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeLoadingCard();
}

bool JumpTableView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            const QModelIndexList rows = m_table->selectionModel()->selectedRows();
            // Nothing selected: not ours, the key goes on.
            if (rows.isEmpty())
                return false;
            // With several rows selected, the current one if it is among them, else the first.
            QModelIndex chosen = rows.first();
            for (const QModelIndex& index : rows) {
                if (index.row() == m_table->currentIndex().row())
                    chosen = index;
            }
            Q_EMIT previewRequested(chosen.data(VideoTableModel::PathRole).toString());
            return true;
        }
    }
    if (watched == m_table->viewport() && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QModelIndex index = m_table->indexAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index.column() == VideoTableModel::thumbnailColumn &&
            mouse->modifiers() == Qt::NoModifier &&
            ThumbnailLoader::State(index.data(VideoTableModel::ThumbnailStateRole).toInt()) ==
                ThumbnailLoader::State::ready &&
            VideoTableDelegate::thumbnailRect(m_table->visualRect(index))
                .contains(mouse->position().toPoint())) {
            Q_EMIT previewRequested(index.data(VideoTableModel::PathRole).toString());
        }
    }
    return QWidget::eventFilter(watched, event);
}

void JumpTableView::saveCustomization() {
    if (m_restoring)
        return;
    m_model.defaults().setValue(kCustomizationKey,
                                QString::fromLatin1(m_table->horizontalHeader()->saveState().toBase64()));
}

void JumpTableView::restoreCustomization() {
    const std::optional<QString> stored = m_model.defaults().stringValue(kCustomizationKey);
    if (!stored)
        return;
    m_restoring = true;
    QHeaderView* header = m_table->horizontalHeader();
    if (!header->restoreState(QByteArray::fromBase64(stored->toLatin1())))
        qCDebug(lcVelarix, "Ignoring an unreadable table layout");
    // The stored state also carries resize modes: keep ours.
    header->setSectionResizeMode(VideoTableModel::fileColumn, QHeaderView::Stretch);
    header->setSectionResizeMode(VideoTableModel::thumbnailColumn, QHeaderView::Fixed);
    header->setSectionHidden(VideoTableModel::fileColumn, false);
    // A width stored before the title was measured, or in another language, could cut it off.
    fitThumbnailColumn();
    m_restoring = false;
}

void JumpTableView::fitThumbnailColumn() {
    // Wide enough for the picture and for its title in every language ("Thumbnail", "Vignette").
    QHeaderView* header = m_table->horizontalHeader();
    header->resizeSection(VideoTableModel::thumbnailColumn,
                          std::max(VideoTableDelegate::kThumbnailWidth + 8,
                                   header->sectionSizeHint(VideoTableModel::thumbnailColumn)));
}

void JumpTableView::showHeaderMenu(const QPoint& at) {
    QHeaderView* header = m_table->horizontalHeader();
    QMenu menu(this);
    for (int column = 0; column < VideoTableModel::kColumnCount; ++column) {
        QAction* action =
            menu.addAction(m_tableModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
        action->setCheckable(true);
        action->setChecked(!header->isSectionHidden(column));
        // The file name identifies the row: it always stays.
        action->setEnabled(column != VideoTableModel::fileColumn);
        connect(action, &QAction::toggled, this, [this, header, column](bool on) {
            header->setSectionHidden(column, !on);
            saveCustomization();
        });
    }
    menu.exec(header->mapToGlobal(at));
}

void JumpTableView::updateSpinner() {
    bool loading = false;
    const int first = std::max(0, m_table->rowAt(0));
    int last = m_table->rowAt(m_table->viewport()->height() - 1);
    if (last < 0)
        last = m_sort->rowCount() - 1;
    for (int row = first; row <= last; ++row) {
        const VideoFileRowPtr video = m_sort->rowAt(row);
        if (video && m_thumbnails->state(video->path()) == ThumbnailLoader::State::loading)
            loading = true;
    }
    if (!loading || m_table->horizontalHeader()->isSectionHidden(VideoTableModel::thumbnailColumn))
        return;
    m_spinnerPhase = (m_spinnerPhase + 30) % 360;
    m_delegate->setSpinnerPhase(m_spinnerPhase);
    const int x = m_table->columnViewportPosition(VideoTableModel::thumbnailColumn);
    m_table->viewport()->update(
        QRect(x, 0, m_table->columnWidth(VideoTableModel::thumbnailColumn), m_table->viewport()->height()));
}

} // namespace velarix
