#pragma once

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

namespace velarix::test {

// Small H.264/AAC clips made with the ffmpeg command, for widget tests that need real media.
// The picture is a moving test pattern; the audio is quiet noise that is loud between loudFrom and
// loudTo (a "freefall" for the trim analysis), or quiet throughout when both are 0.
inline bool makeClip(const QString& path, double seconds, double loudFrom = 0, double loudTo = 0) {
    const QString volume =
        loudTo > loudFrom
            ? QStringLiteral("volume='if(between(t,%1,%2),1,0.03)':eval=frame").arg(loudFrom).arg(loudTo)
            : QStringLiteral("volume=0.03");
    const QStringList arguments{
        QStringLiteral("-hide_banner"),
        QStringLiteral("-loglevel"),
        QStringLiteral("error"),
        QStringLiteral("-y"),
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("testsrc2=size=160x90:rate=5:duration=%1").arg(seconds),
        QStringLiteral("-f"),
        QStringLiteral("lavfi"),
        QStringLiteral("-i"),
        QStringLiteral("anoisesrc=color=pink:amplitude=0.5:sample_rate=22050:duration=%1").arg(seconds),
        QStringLiteral("-af"),
        volume,
        QStringLiteral("-c:v"),
        QStringLiteral("libx264"),
        QStringLiteral("-preset"),
        QStringLiteral("ultrafast"),
        QStringLiteral("-crf"),
        QStringLiteral("38"),
        QStringLiteral("-g"),
        QStringLiteral("10"),
        QStringLiteral("-pix_fmt"),
        QStringLiteral("yuv420p"),
        QStringLiteral("-c:a"),
        QStringLiteral("aac"),
        QStringLiteral("-b:a"),
        QStringLiteral("32k"),
        QStringLiteral("-ac"),
        QStringLiteral("1"),
        QStringLiteral("-f"),
        QStringLiteral("mp4"),
        path};
    const ProcessResult result = runProcess(QStringLiteral("ffmpeg"), arguments);
    if (result.exitCode != 0)
        qWarning("ffmpeg failed: %s", result.err.constData());
    return result.exitCode == 0 && QFile::exists(path);
}

} // namespace velarix::test
