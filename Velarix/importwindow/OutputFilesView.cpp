#include "Velarix/importwindow/OutputFilesView.h"

#include "Velarix/importwindow/PlaceholderTokenLine.h"
#include "Velarix/importwindow/VideoTableDelegate.h"
#include "import/JumpLogMatch.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace velarix {

class OutputFilesModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(files.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= files.size())
            return {};
        const ResolvedOutputFile& file = files.at(index.row());
        if (role == Qt::DisplayRole) {
            const QString source = file.video ? file.video->fileName() : QString();
            // A number from the jump log is not the counter's: say where it came from.
            if (file.jumpLoggedOn)
                return QStringLiteral("%1 \u2014 %2")
                    .arg(source, loggedJumpText(file.jump, *file.jumpLoggedOn));
            return source;
        }
        if (role == Qt::ToolTipRole || role == Qt::UserRole)
            return file.fileName;
        return {};
    }
    void reset(const QList<ResolvedOutputFile>& newFiles) {
        beginResetModel();
        files = newFiles;
        endResetModel();
    }

    QList<ResolvedOutputFile> files;
};

namespace {

QFont outputFont(const QFont& base) {
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(std::max(7.0, base.pointSizeF() - 1.5));
    return mono;
}

class OutputFileDelegate : public QStyledItemDelegate {
public:
    OutputFileDelegate(OutputFilesModel* model, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_model(model) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(200,
                     option.fontMetrics.height() + QFontMetrics(outputFont(option.font)).height() + 4 + 12);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem base = option;
        initStyleOption(&base, index);
        paintCellBackground(painter, base);

        const bool selected = option.state & QStyle::State_Selected;
        const QRect area = option.rect.adjusted(8, 6, -8, -6);
        const int firstHeight = option.fontMetrics.height();
        painter->save();
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(
            QRect(area.left(), area.top(), area.width(), firstHeight), Qt::AlignLeft | Qt::AlignVCenter,
            option.fontMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, area.width()));
        painter->restore();
        const QFont mono = outputFont(option.font);
        const QRect second(area.left(), area.top() + firstHeight + 4, area.width(),
                           QFontMetrics(mono).height());
        PlaceholderTokenLine::paint(*painter, second, m_model->files.at(index.row()).segments, mono,
                                    option.palette, selected);
    }

private:
    OutputFilesModel* m_model;
};

} // namespace

OutputFilesView::OutputFilesView(QWidget* parent)
    : QListView(parent)
    , m_model(new OutputFilesModel(this)) {
    setObjectName(QStringLiteral("filesToImport"));
    setModel(m_model);
    setItemDelegate(new OutputFileDelegate(m_model, this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFrameShape(QFrame::NoFrame);
    viewport()->setAutoFillBackground(false);
}

void OutputFilesView::setFiles(const QList<ResolvedOutputFile>& files) {
    m_model->reset(files);
}

const QList<ResolvedOutputFile>& OutputFilesView::files() const {
    return m_model->files;
}

void OutputFilesView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QStringList names;
        for (const QModelIndex& index : selectionModel()->selectedRows())
            names << index.data(Qt::UserRole).toString();
        if (!names.isEmpty())
            QApplication::clipboard()->setText(names.join(QLatin1Char('\n')));
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace velarix
