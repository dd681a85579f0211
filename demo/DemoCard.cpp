#include "demo/DemoCard.h"

#include "demo/SyntheticJump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velarix {

namespace {

struct DemoClip {
    const char* name;
    QTime start;
    SyntheticJump jump;
};

QList<DemoClip> demoClips() {
    SyntheticJump first;
    first.duration = 40;
    first.exitTime = 8;
    first.openingTime = 30;
    first.seed = 41;

    SyntheticJump firstLanding;
    firstLanding.duration = 24;
    firstLanding.landing = true;
    firstLanding.seed = 42;

    SyntheticJump preview = firstLanding;
    preview.width = 320;
    preview.height = 180;

    SyntheticJump second;
    second.duration = 36;
    second.exitTime = 6;
    second.openingTime = 27;
    second.seed = 43;

    SyntheticJump secondLanding = firstLanding;
    secondLanding.duration = 20;
    secondLanding.seed = 44;

    // A whole jump with the camera's sensors, filmed in a case that muffles the wind: the telemetry
    // finds the exit and the opening where the sound cannot.
    SyntheticJump sensed;
    sensed.duration = 150;
    sensed.exitTime = 35;
    sensed.openingTime = 88;
    sensed.width = 320;
    sensed.height = 180;
    sensed.framesPerSecond = 15;
    sensed.audio = JumpAudio::Muffled;
    sensed.telemetry = JumpTelemetry{};
    sensed.seed = 45;

    return {
        {"GX010041.MP4", QTime(10, 12, 5), first},          {"GX010042.MP4", QTime(10, 13, 20), firstLanding},
        {"GL010042.LRV", QTime(10, 13, 20), preview},       {"GX010043.MP4", QTime(13, 47, 40), second},
        {"GX010044.MP4", QTime(13, 48, 50), secondLanding}, {"GX010045.MP4", QTime(16, 5, 10), sensed},
    };
}

} // namespace

Result<DemoCard> DemoCard::make(const QString& folder, QDate day, const CancelToken* cancel,
                                const std::function<void(int, int)>& progress) {
    if (!day.isValid())
        day = QDate::currentDate().addDays(-1);
    DemoCard card;
    card.volumePath = QDir(folder).absoluteFilePath(kVolumeName);
    const QString clipFolder = card.volumePath + QStringLiteral("/DCIM/100GOPRO");
    if (!QDir().mkpath(clipFolder))
        return Error::make(QStringLiteral("DemoCard"), 1,
                           QStringLiteral("The folder %1 could not be created.").arg(clipFolder));

    const auto clips = demoClips();
    int done = 0;
    for (const auto& clip : clips) {
        const QString path = clipFolder + u'/' + QString::fromLatin1(clip.name);
        const QDateTime start(day, clip.start);
        if (!QFileInfo::exists(path)) {
            SyntheticJump jump = clip.jump;
            jump.creationTime = start;
            // Written under a temporary name, so an interrupted run leaves no half clip behind.
            const QString partial =
                clipFolder + QStringLiteral("/.partial-") + QString::fromLatin1(clip.name);
            if (auto written = writeSyntheticJump(partial, jump, cancel); !written) {
                QFile::remove(partial);
                return written.error();
            }
            if (!QFile::rename(partial, path)) {
                QFile::remove(partial);
                return Error::make(QStringLiteral("DemoCard"), 2,
                                   QStringLiteral("%1 could not be written.").arg(path));
            }
        }
        // A camera's file carries the time the recording started.
        QFile file(path);
        if (file.open(QIODevice::ReadWrite)) {
            file.setFileTime(start, QFileDevice::FileModificationTime);
            file.setFileTime(start, QFileDevice::FileAccessTime);
        }
        card.files.append(path);
        if (progress)
            progress(++done, int(clips.size()));
    }
    return card;
}

} // namespace velarix
