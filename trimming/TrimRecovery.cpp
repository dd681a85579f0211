#include "trimming/TrimRecovery.h"

#include "desktop/Trash.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"
#include "trimming/TrimWorkingFolder.h"
#include "trimming/TrimmingLog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <fcntl.h>

namespace velarix {

namespace {

const QString kPlanName = QStringLiteral("plan.json");

QJsonObject claimObject(const std::shared_ptr<TrashClaim>& claim) {
    if (!claim)
        return {};
    return {{QStringLiteral("file"), claim->trashedPath()}, {QStringLiteral("info"), claim->infoPath()}};
}

QJsonObject fileObject(const QString& path, const FileStatus& status) {
    return {{QStringLiteral("path"), path},
            {QStringLiteral("device"), QString::number(status.device)},
            {QStringLiteral("inode"), QString::number(status.inode)}};
}

bool isFile(const QJsonObject& file, const QString& path) {
    const auto status = fileStatus(path);
    return status && status->type == FileStatus::Type::regular &&
           QString::number(status->device) == file.value(QStringLiteral("device")).toString() &&
           QString::number(status->inode) == file.value(QStringLiteral("inode")).toString();
}

// A claim still as it was made: the empty placeholder and the info file beside it.
bool claimIntact(const QJsonObject& claim) {
    const QString file = claim.value(QStringLiteral("file")).toString();
    const QString info = claim.value(QStringLiteral("info")).toString();
    if (file.isEmpty() || info.isEmpty())
        return false;
    const auto placeholder = fileStatus(file);
    const auto infoStatus = fileStatus(info);
    return placeholder && placeholder->type == FileStatus::Type::regular && placeholder->size == 0 &&
           infoStatus && infoStatus->type == FileStatus::Type::regular;
}

void giveBackClaim(const QJsonObject& claim) {
    if (!claimIntact(claim))
        return;
    QFile::remove(claim.value(QStringLiteral("file")).toString());
    QFile::remove(claim.value(QStringLiteral("info")).toString());
}

// Puts an original where the trim meant it to go, or beside `besidePath` when it cannot; says what
// became of it. False when it stays where it is.
bool keepOriginal(const QString& current, const QString& besidePath, const QJsonObject& claim,
                  const QString& what, LeftoverRecovery& recovery) {
    const QString name = QFileInfo(besidePath).fileName();
    if (claimIntact(claim)) {
        const QString trashed = claim.value(QStringLiteral("file")).toString();
        if (auto moved = renameReplacing(current, trashed); moved) {
            recovery.notes.append(QCoreApplication::translate(
                                      "TrimExport", "The %1 of %2, left behind by an interrupted trim, was "
                                                    "moved to the Trash.")
                                      .arg(what, name));
            return true;
        }
    }
    if (auto kept = keepBesideSource(current, besidePath); kept) {
        recovery.notes.append(
            QCoreApplication::translate("TrimExport",
                                        "The %1 of %2, left behind by an interrupted trim, was kept as %3.")
                .arg(what, name, QFileInfo(*kept).fileName()));
        return true;
    } else {
        recovery.notes.append(
            QCoreApplication::translate(
                "TrimExport", "The %1 of %2, left behind by an interrupted trim, could not be kept beside it "
                              "(%3); it stays in %4.")
                .arg(what, name, kept.error().message, QFileInfo(current).absolutePath()));
        return false;
    }
}

} // namespace

void recordTrimPlan(const TrimWorkingFolder& folder, const QString& sourcePath, const QString& outputName,
                    quint64 device, quint64 inode, const QStringList& laterChapters,
                    const OriginalDisposal& disposal) {
    FileStatus original;
    original.device = device;
    original.inode = inode;
    QJsonObject plan = fileObject(sourcePath, original);
    plan.insert(QStringLiteral("output"), outputName);
    plan.insert(QStringLiteral("trash"), claimObject(disposal.trash));
    plan.insert(QStringLiteral("keep"), bool(disposal.trash));
    QJsonArray chapters;
    for (qsizetype i = 0; i < laterChapters.size(); ++i) {
        const auto status = fileStatus(laterChapters[i]);
        QJsonObject chapter = fileObject(laterChapters[i], status ? *status : FileStatus{});
        if (size_t(i) < disposal.laterChapterTrash.size())
            chapter.insert(QStringLiteral("trash"), claimObject(disposal.laterChapterTrash[size_t(i)]));
        chapters.append(chapter);
    }
    plan.insert(QStringLiteral("chapters"), chapters);
    // Written whole under a temporary name, so that a crash never leaves half a plan.
    const QString temporary = folder.filePath(kPlanName + QStringLiteral(".new"));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(plan).toJson()) < 0 || !file.flush() ||
        !renameReplacing(temporary, folder.filePath(kPlanName)))
        qCWarning(lcTrimming, "Could not record the trim of %s in its working folder %s",
                  qPrintable(sourcePath), qPrintable(folder.path()));
}

LeftoverRecovery recoverLeftoverOriginals(const QString& folderPath) {
    LeftoverRecovery recovery;
    QFile file(folderPath + u'/' + kPlanName);
    if (!file.open(QIODevice::ReadOnly))
        return recovery; // nothing was cut yet, or an older trim's folder
    const QJsonObject plan = QJsonDocument::fromJson(file.readAll()).object();
    const QString source = plan.value(QStringLiteral("path")).toString();
    const QString original = folderPath + u'/' + plan.value(QStringLiteral("output")).toString();
    const bool keep = plan.value(QStringLiteral("keep")).toBool();
    const QJsonArray chapters = plan.value(QStringLiteral("chapters")).toArray();
    // Swapped when the file in the folder is the original: its inode left the source's path.
    const bool swapped = !source.isEmpty() && isFile(plan, original);
    if (!swapped) {
        giveBackClaim(plan.value(QStringLiteral("trash")).toObject());
        for (const QJsonValue& chapter : chapters)
            giveBackClaim(chapter.toObject().value(QStringLiteral("trash")).toObject());
        return recovery;
    }
    // The trimmed recording stands in the first chapter's place: a later chapter left beside it would
    // be joined to it by the next trim.
    for (qsizetype i = 0; i < chapters.size(); ++i) {
        const QJsonObject chapter = chapters[i].toObject();
        const QString path = chapter.value(QStringLiteral("path")).toString();
        if (!isFile(chapter, path))
            continue;
        if (keep) {
            keepOriginal(path, path, chapter.value(QStringLiteral("trash")).toObject(),
                         QCoreApplication::translate("TrimExport", "replaced chapter"), recovery);
        } else {
            // Asked to be deleted: freed with the folder.
            const QString target =
                folderPath + QStringLiteral("/chapter-%1-").arg(i + 2) + QFileInfo(path).fileName();
            if (!renameReplacing(path, target))
                qCWarning(lcTrimming, "Could not remove %s, a chapter of a trimmed recording",
                          qPrintable(path));
        }
    }
    if (keep && !keepOriginal(original, source, plan.value(QStringLiteral("trash")).toObject(),
                              QCoreApplication::translate("TrimExport", "original"), recovery))
        recovery.folderMayGo = false;
    for (const QString& note : std::as_const(recovery.notes))
        qCWarning(lcTrimming, "%s", qPrintable(note));
    return recovery;
}

} // namespace velarix
