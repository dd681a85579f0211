#include "media/RecordingFiles.h"

#include "media/MediaLog.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace velarix {

namespace {

const QRegularExpression& insta360Proxy() {
    static const QRegularExpression pattern(QStringLiteral("^LRV_(.+)_[0-9]{2}_([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& secondLens() {
    static const QRegularExpression pattern(QStringLiteral("^(VID_.+)_10_([0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

const QRegularExpression& sonyProxy() {
    static const QRegularExpression pattern(QStringLiteral("^(.+)S03$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// C0001S03.MP4 in PRIVATE/M4ROOT/SUB: the proxy of PRIVATE/M4ROOT/CLIP/C0001.MP4.
bool isSonyProxy(const QString& path) {
    const QStringList parts = QDir::fromNativeSeparators(path).split(u'/');
    return parts.size() >= 3 &&
           parts[parts.size() - 2].compare(QLatin1String("SUB"), Qt::CaseInsensitive) == 0 &&
           parts[parts.size() - 3].compare(QLatin1String("M4ROOT"), Qt::CaseInsensitive) == 0 &&
           QFileInfo(path).suffix().compare(QLatin1String("mp4"), Qt::CaseInsensitive) == 0 &&
           sonyProxy().match(QFileInfo(path).completeBaseName()).hasMatch();
}

QString folderKey(const QString& path, const QString& base) {
    return QFileInfo(path).absolutePath() + u'/' + base.toCaseFolded();
}

// Where the video a companion belongs to lies: beside it, or for Sony's proxies in the clip folder.
QString ownerKey(const QString& companion, const QString& base) {
    if (isSonyProxy(companion))
        return QFileInfo(QFileInfo(companion).absolutePath()).absolutePath() + QStringLiteral("/CLIP/") +
               base.toCaseFolded();
    return folderKey(companion, base);
}

} // namespace

bool isCompanionFileName(const QString& fileName) {
    if (isSonyProxy(fileName))
        return true;
    const QFileInfo info(fileName);
    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("lrv") || extension == QLatin1String("lrf") ||
        extension == QLatin1String("thm") || extension == QLatin1String("srt"))
        return true;
    if (extension == QLatin1String("xml"))
        return info.completeBaseName().endsWith(QLatin1String("M01"), Qt::CaseInsensitive);
    return insta360Proxy().match(info.completeBaseName()).hasMatch();
}

CompanionKind companionKind(const QString& fileName) {
    const QFileInfo info(fileName);
    const QString extension = info.suffix().toLower();
    if (extension == QLatin1String("lrv") || extension == QLatin1String("lrf") ||
        insta360Proxy().match(info.completeBaseName()).hasMatch() || isSonyProxy(fileName))
        return CompanionKind::proxy;
    if (secondLens().match(info.completeBaseName()).hasMatch() && !isCompanionFileName(fileName))
        return CompanionKind::lens;
    return CompanionKind::sidecar;
}

QStringList companionOwnerBases(const QString& fileName) {
    const QString base = QFileInfo(fileName).completeBaseName();
    QStringList owners;
    static const QRegularExpression goproProxy(QStringLiteral("^GL([0-9]{6})$"),
                                               QRegularExpression::CaseInsensitiveOption);
    if (const auto match = goproProxy.match(base); match.hasMatch()) {
        for (const char* letters : {"GX", "GH", "GS"})
            owners.append(QLatin1String(letters) + match.captured(1));
    }
    static const QRegularExpression clipXml(QStringLiteral("^(.+)M01$"),
                                            QRegularExpression::CaseInsensitiveOption);
    if (const auto match = clipXml.match(base);
        match.hasMatch() &&
        QFileInfo(fileName).suffix().compare(QLatin1String("xml"), Qt::CaseInsensitive) == 0)
        owners.append(match.captured(1));
    if (const auto match = insta360Proxy().match(base); match.hasMatch()) {
        owners.append(QStringLiteral("VID_%1_00_%2").arg(match.captured(1), match.captured(2)));
        owners.append(QStringLiteral("VID_%1_10_%2").arg(match.captured(1), match.captured(2)));
    }
    if (const auto match = secondLens().match(base); match.hasMatch())
        owners.append(QStringLiteral("%1_00_%2").arg(match.captured(1), match.captured(2)));
    if (isSonyProxy(fileName))
        owners.append(sonyProxy().match(base).captured(1));
    owners.append(base);
    return owners;
}

RecordingFiles groupRecordingFiles(const QStringList& videos, const QStringList& companions,
                                   const StreamSignatureProbe& probe) {
    // Videos by folder and base name, to find owners and the first lens of a second one.
    QHash<QString, QString> videoByBase;
    for (const QString& video : videos)
        videoByBase.insert(folderKey(video, QFileInfo(video).completeBaseName()), video);

    QStringList mains;
    QStringList pending = companions;
    for (const QString& video : videos) {
        const auto lens = secondLens().match(QFileInfo(video).completeBaseName());
        if (lens.hasMatch() && videoByBase.contains(folderKey(
                                   video, lens.captured(1) + QStringLiteral("_00_") + lens.captured(2))))
            pending.append(video);
        else
            mains.append(video);
    }

    RecordingFiles files;
    files.recordings = groupChapters(mains, probe);
    files.companions.resize(files.recordings.size());
    QHash<QString, qsizetype> recordingOf;
    for (qsizetype i = 0; i < files.recordings.size(); ++i)
        for (const QString& chapter : files.recordings[i])
            recordingOf.insert(chapter, i);

    for (const QString& companion : std::as_const(pending)) {
        qsizetype recording = -1;
        for (const QString& base : companionOwnerBases(companion)) {
            const QString owner = videoByBase.value(ownerKey(companion, base));
            if (!owner.isEmpty() && owner != companion && recordingOf.contains(owner)) {
                recording = recordingOf.value(owner);
                break;
            }
        }
        if (recording < 0) {
            qCInfo(lcMedia, "%s has no video beside it that it belongs to; it is left out",
                   qUtf8Printable(companion));
            continue;
        }
        files.companions[recording].append(companion);
    }
    for (QStringList& list : files.companions)
        std::sort(list.begin(), list.end());
    return files;
}

QString companionOwner(const QStringList& chapters, const QString& companion) {
    const QStringList bases = companionOwnerBases(companion);
    for (const QString& base : bases)
        for (const QString& chapter : chapters)
            if (QFileInfo(chapter).completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
                return chapter;
    return chapters.value(0);
}

QString companionDestination(const QString& plannedName, const QString& owner, const QString& companion) {
    const qsizetype slash = plannedName.lastIndexOf(u'/');
    const QString folder = plannedName.left(slash + 1);
    const QString name = plannedName.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString plannedBase = dot > 0 ? name.left(dot) : name;
    const QFileInfo companionInfo(companion);
    const QString extension = companionInfo.suffix().isEmpty() ? QString() : u'.' + companionInfo.suffix();
    const QString ownerBase = QFileInfo(owner).completeBaseName();
    const QString companionBase = companionInfo.completeBaseName();
    QString base = plannedBase;
    if (const qsizetype at = base.lastIndexOf(ownerBase); at >= 0 && !ownerBase.isEmpty())
        base.replace(at, ownerBase.size(), companionBase);
    else if (companionBase.compare(ownerBase, Qt::CaseInsensitive) != 0)
        base += u' ' + companionBase;
    return folder + base + extension;
}

} // namespace velarix
