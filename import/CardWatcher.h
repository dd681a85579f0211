#pragma once

#include "desktop/Volumes.h"

#include <QObject>
#include <QStringList>

#include <memory>

namespace velarix {

class VolumeWatch;

// The camera cards that are mounted, kept current from the volume watch. One per process: the
// shell brings Velarix forward on an inserted card, the window lists the cards. Volumes are listed
// and their DCIM folders looked at on the thread pool (a slow or dying card must not freeze the
// window); the answer of the latest listing wins.
class CardWatcher : public QObject {
    Q_OBJECT
public:
    explicit CardWatcher(std::shared_ptr<VolumeProvider> volumes = SystemVolumes::shared(),
                         QObject* parent = nullptr);
    ~CardWatcher() override;

    // The mounted cards in listing order; empty until the first listing has come back.
    const QStringList& cards() const { return m_cards; }
    bool hasListed() const { return m_listed; }
    const std::shared_ptr<VolumeProvider>& volumes() const { return m_volumes; }

    // Lists the volumes again (the watch does this on every mount change).
    void refresh();

Q_SIGNALS:
    void cardsChanged();
    // A card that was not there at the previous listing; the first listing reports none.
    void cardInserted(const QString& volume);
    void cardRemoved(const QString& volume);

private:
    void listed(quint64 generation, const QStringList& cards);

    std::shared_ptr<VolumeProvider> m_volumes;
    VolumeWatch* m_watch = nullptr;
    QStringList m_cards;
    bool m_listed = false;
    quint64 m_generation = 0;
};

} // namespace velarix
