#pragma once

#include "trimming/ReplacedOriginal.h"

#include <QString>
#include <QStringList>

namespace velarix {

class TrimWorkingFolder;

// Written into a trim's working folder before anything is cut: enough for a later start to tell,
// after a crash, whether the swap happened and where the original was going (its place in the
// Trash, or none), so that an original the user asked to keep is never freed with the folder.
void recordTrimPlan(const TrimWorkingFolder& folder, const QString& sourcePath, const QString& outputName,
                    quint64 device, quint64 inode, const QStringList& laterChapters,
                    const OriginalDisposal& disposal);

// What finishing a leftover working folder did with the originals it found.
struct LeftoverRecovery {
    // False when an original to be kept could be put nowhere: the folder must stay.
    bool folderMayGo = true;
    // Sentences for the user, one per original moved to the Trash or kept beside its file.
    QStringList notes;
};

// Completes an interrupted trim's disposal of the originals as its plan says: an original meant for
// the Trash goes into the place claimed there (the empty file and its .trashinfo), or without one
// is kept beside its file under a visible name that clashes with nothing; chapters likewise. A trim
// that never swapped leaves its claims, which are given back. Run with the folder's lock held.
LeftoverRecovery recoverLeftoverOriginals(const QString& folderPath);

} // namespace velarix
