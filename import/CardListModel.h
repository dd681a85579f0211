#pragma once

#include "core/Result.h"

#include <QAbstractListModel>
#include <QFuture>
#include <QHash>

#include <optional>

namespace velarix {

class CardWatcher;
class HistoryStore;
class VelarixModel;

// The mounted camera cards beside the table, one row each, and which one the import model shows.
// Rows follow the watcher; each card is identified and its videos counted in the background. The
// card shown takes its name and count from the import model, so a rename shows at once. Choosing a
// card loads it into the import model; a newly inserted card is chosen only when none was, and
// when the shown card goes the first remaining one is loaded.
class CardListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Roles {
        PathRole = Qt::UserRole + 1,
        NameRole,
        SpaceAvailableRole, // quint64 bytes, 0 when unknown
        VideoCountRole,     // qint64, -1 while not counted
        IsCurrentRole,
    };

    CardListModel(CardWatcher& watcher, VelarixModel& model, HistoryStore& store, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    int rowOf(const QString& path) const;
    QString pathAt(int row) const;

    // Another card can be chosen: not while an import runs, whose records take the shown card's name.
    bool isChoosable() const;
    // Shows the card at `path` in the import model (nothing when it is shown already or while an
    // import runs).
    void choose(const QString& path);
    // Unmounts and powers off the card; a failure lands in the import model's error.
    void eject(const QString& path);

Q_SIGNALS:
    void choosableChanged();

private:
    struct Card {
        QString path;
        QString name;
        quint64 spaceAvailable = 0;
        qint64 videoCount = -1;
    };

    void syncWithWatcher();
    void identify(const QString& path);
    void cardInserted(const QString& path);
    void cardRemoved(const QString& path);
    void currentChanged();
    void currentDetailsChanged();
    void report(const QFuture<Result<void>>& operation);

    CardWatcher& m_watcher;
    VelarixModel& m_model;
    HistoryStore& m_store;
    QList<Card> m_cards;
    std::optional<QString> m_current;
};

} // namespace velarix
