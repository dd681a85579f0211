#include "tests/support/SkydiveClip.h"

#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>

namespace velarix::test {

namespace {

QString panTo(const QString& layout) {
    if (layout == QLatin1String("mono"))
        return QStringLiteral("pan=mono|c0=c0");
    if (layout == QLatin1String("5.1"))
        return QStringLiteral("pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0");
    return QStringLiteral("pan=stereo|c0=c0|c1=c0");
}

} // namespace

QString makeSkydiveClip(const QString& directory, const QString& fileName, const SkydiveClip& clip,
                        QString* error) {
    const QString path = QDir(directory).filePath(fileName);
    const QString duration = QString::number(clip.duration);
    QStringList arguments{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
                          QStringLiteral("error"), QStringLiteral("-y")};
    QStringList filters;
    QStringList maps;
    int input = 0;
    if (clip.video) {
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << QStringLiteral("testsrc2=s=%1x%2:r=%3:d=%4")
                         .arg(clip.size.width())
                         .arg(clip.size.height())
                         .arg(clip.frameRate)
                         .arg(duration);
        filters << QStringLiteral("[%1:v]vflip=enable='gte(t,%2)'[v0]").arg(input).arg(clip.openingTime);
        maps << "-map"
             << "[v0]";
        ++input;
        if (clip.secondVideoStream) {
            arguments << "-f"
                      << "lavfi"
                      << "-i"
                      << QStringLiteral("testsrc=s=%1x%2:r=%3:d=%4")
                             .arg(clip.size.width())
                             .arg(clip.size.height())
                             .arg(clip.frameRate)
                             .arg(duration);
            maps << "-map" << QStringLiteral("%1:v").arg(input);
            ++input;
        }
    }
    if (clip.audio) {
        arguments << "-f"
                  << "lavfi"
                  << "-i"
                  << QStringLiteral("anoisesrc=c=pink:a=0.5:r=%1:d=%2").arg(clip.sampleRate).arg(duration);
        // Wind rises by 34 dB over 3 s from the exit and stops at the opening.
        const QString gain = QStringLiteral("if(between(t,%1,%2),0.02*pow(50,min(1,(t-%1)/3)),0.02)")
                                 .arg(clip.exitTime)
                                 .arg(clip.openingTime);
        filters << QStringLiteral("[%1:a]volume='%2':eval=frame,%3[a0]")
                       .arg(input)
                       .arg(gain, panTo(clip.channelLayout));
        maps << "-map"
             << "[a0]";
    }
    arguments << "-filter_complex" << filters.join(QLatin1Char(';')) << maps;
    if (clip.video) {
        const int keyInterval = qMax(1, qRound(clip.keyFrameInterval * clip.frameRate));
        arguments << "-c:v"
                  << "libx264"
                  << "-preset"
                  << "ultrafast"
                  << "-pix_fmt"
                  << "yuv420p"
                  << "-g" << QString::number(keyInterval) << "-keyint_min" << QString::number(keyInterval)
                  << "-sc_threshold"
                  << "0"
                  << "-bf" << QString::number(clip.bFrames);
    }
    if (clip.audio)
        arguments << "-c:a"
                  << "aac"
                  << "-b:a"
                  << "48k";
    if (clip.headerFirst)
        arguments << "-movflags"
                  << "+faststart";
    if (fileName.endsWith(QLatin1String(".360"), Qt::CaseInsensitive))
        arguments << "-f"
                  << "mp4";
    // ffmpeg 5.1 writes the display rotation only when copying, so a rotated clip takes a second pass.
    const QString encoded = clip.rotation != 0 ? path + QStringLiteral(".unrotated.mp4") : path;
    arguments << encoded;
    ProcessResult result = runProcess(QStringLiteral("ffmpeg"), arguments);
    if (result.exitCode == 0 && clip.rotation != 0) {
        result = runProcess(QStringLiteral("ffmpeg"),
                            {"-hide_banner", "-loglevel", "error", "-y", "-i", encoded, "-map", "0", "-c",
                             "copy", "-metadata:s:v:0", QStringLiteral("rotate=%1").arg(clip.rotation), "-f",
                             "mp4", path});
        QFile::remove(encoded);
    }
    if (result.exitCode != 0) {
        if (error)
            *error = QString::fromUtf8(result.err);
        return {};
    }
    return path;
}

} // namespace velarix::test
