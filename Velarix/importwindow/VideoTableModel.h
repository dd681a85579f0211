#pragma once

#include "history/ImportState.h"
#include "import/VideoFileRow.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QSet>

#include <optional>

namespace velarix {

class ThumbnailLoader;

// The card's rows as the table shows them, in the shared model's order (VideoTableSort orders them),
// with the import marks of the history.
class VideoTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { thumbnailColumn, fileColumn, stateColumn, sizeColumn, createdColumn, kColumnCount };
    enum Role {
        RowIdRole = Qt::UserRole + 1,
        ImportStatusRole,    // ImportStatus as int
        SecondLineRole,      // second line: the duration (text), or the date and time (two texts)
        ShortSecondLineRole, // the duration as a clock reads it, where the words do not fit
        ThumbnailStateRole,  // ThumbnailLoader::State as int
        ThumbnailImageRole,
        PathRole,
    };

    explicit VideoTableModel(ThumbnailLoader& thumbnails, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // Takes the shared model's rows.
    void setRows(const VideoFileList& rows);
    const VideoFileList& sourceRows() const { return m_rows; }
    VideoFileRowPtr rowAt(int row) const { return m_rows.value(row); }
    int rowOf(const QString& id) const;
    // Thumbnail and State have no sort key.
    static bool isSortable(int column);

    void setImportState(const ImportState& state);
    ImportStatus importStatus(const VideoFileRow& row) const;

    // Relative dates are measured from this moment (tests fix it).
    void setNow(const QDateTime& now);

private:
    QVariant displayText(const VideoFileRow& row, int column) const;
    QVariant secondLine(const VideoFileRow& row, int column) const;
    // What a screen reader says for a cell: "GX010101.MP4, new, 80.5 MB, 5 minutes, today 08:05".
    QString accessibleText(const VideoFileRow& row, int column) const;
    QString spokenState(const VideoFileRow& row) const;
    void reindex();
    void thumbnailFinished(const QString& path);

    ThumbnailLoader& m_thumbnails;
    VideoFileList m_rows;
    QHash<QString, int> m_rowById;
    QHash<QString, int> m_rowByPath;
    ImportState m_importState;
    std::optional<QDateTime> m_now;
};

} // namespace velarix
