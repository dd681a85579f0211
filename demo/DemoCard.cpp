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
    const SyntheticJump first{.duration = 40, .exitTime = 8, .openingTime = 30, .seed = 41};
    const SyntheticJump firstLanding{.duration = 24, .landing = true, .seed = 42};
    SyntheticJump preview = firstLanding;
    preview.width = 320;
    preview.height = 180;
    const SyntheticJump second{.duration = 36, .exitTime = 6, .openingTime = 27, .seed = 43};
    const SyntheticJump secondLanding{.duration = 20, .landing = true, .seed = 44};
    // A whole jump with the camera's sensors, filmed in a case that muffles the wind: the telemetry
    // finds the exit and the opening where the sound cannot.
    const SyntheticJump sensed{.duration = 150,
                               .exitTime = 35,
                               .openingTime = 88,
                               .width = 320,
                               .height = 180,
                               .framesPerSecond = 15,
                               .seed = 45,
                               .audio = JumpAudio::Muffled,
                               .telemetry = JumpTelemetry{}};

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
