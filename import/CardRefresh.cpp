#include "history/HistoryStore.h"
#include "import/CardLoad.h"

#include "platform/Background.h"

namespace velarix {

QFuture<Result<void>> VelarixModel::loadSDCard(const QString& volume, HistoryStore& context,
                                               const DurationFilter& durationsFor) {
    setHistoryFile(context.filePath());
    return (new CardLoad(*this, volume, context, durationsFor))->start();
}

QFuture<Result<void>> VelarixModel::refreshSDCard(HistoryStore& context, const DurationFilter& durationsFor) {
    auto promise = std::make_shared<QPromise<Result<void>>>();
    promise->start();
    QFuture<Result<void>> future = promise->future();
    struct Found {
        std::optional<QString> volume;
        std::optional<Error> error;
    };
    const auto find = [volumes = m_volumes] {
        Found found;
        auto volume = findSDCardVolume(*volumes);
        if (volume)
            found.volume = *volume;
        else
            found.error = volume.error();
        return found;
    };
    runInBackground(this, find, [this, promise, &context, durationsFor](const Found& found) {
        if (found.error) {
            promise->addResult(Result<void>(*found.error));
            promise->finish();
            return;
        }
        if (!found.volume) {
            // A load of the card that went stops, and no longer counts as the current one.
            for (CardLoad* load : findChildren<CardLoad*>(Qt::FindDirectChildrenOnly))
                load->cancel();
            setActiveVideoLoadingToken(QUuid::createUuid());
            // The path first, so that the card's own selection is kept for its return.
            setSdCardPath(std::nullopt);
            setSelection({});
            setVideoFiles({});
            setCardHistory({});
            setSdCardVolumeUUID(std::nullopt);
            setSdCardSpaceAvailable(0);
            setIsLoadingVideos(false);
            setVideoLoadingPhase(VideoLoadingPhase::idle);
            setVideoLoadingCurrent(0);
            setVideoLoadingTotal(0);
            setVideoFilesDiscoveredCount(0);
            promise->addResult(Result<void>());
            promise->finish();
            return;
        }
        whenFinished(this, loadSDCard(*found.volume, context, durationsFor),
                     [promise](const Result<void>& loaded) {
                         promise->addResult(loaded);
                         promise->finish();
                     });
    });
    return future;
}

} // namespace velarix
