#include "import/CardWatcher.h"

#include "core/Background.h"
#include "desktop/VolumeWatch.h"
#include "import/CardIdentity.h"

namespace velarix {

CardWatcher::CardWatcher(std::shared_ptr<VolumeProvider> volumes, QObject* parent)
    : QObject(parent)
    , m_volumes(std::move(volumes)) {
    m_watch = new VolumeWatch(this);
    connect(m_watch, &VolumeWatch::volumesChanged, this, &CardWatcher::refresh);
    refresh();
}

CardWatcher::~CardWatcher() = default;

void CardWatcher::refresh() {
    const quint64 generation = ++m_generation;
    runInBackground(
        this, [volumes = m_volumes] { return findCardVolumes(*volumes); },
        [this, generation](const Result<QStringList>& cards) {
            // An unreadable table keeps the last known cards.
            if (cards)
                listed(generation, *cards);
        });
}

void CardWatcher::listed(quint64 generation, const QStringList& cards) {
    // A later listing is under way: its answer is the newer one.
    if (generation != m_generation)
        return;
    const bool first = !m_listed;
    m_listed = true;
    const QStringList before = std::exchange(m_cards, cards);
    if (before == cards && !first)
        return;
    Q_EMIT cardsChanged();
    if (first)
        return;
    for (const QString& volume : before) {
        if (!cards.contains(volume))
            Q_EMIT cardRemoved(volume);
    }
    for (const QString& volume : cards) {
        if (!before.contains(volume))
            Q_EMIT cardInserted(volume);
    }
}

} // namespace velarix
