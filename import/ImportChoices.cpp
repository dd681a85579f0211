#include "import/CardImportLock.h"
#include "import/ImportLog.h"
#include "import/ImportPattern.h"
#include "import/RecordingStatus.h"
#include "import/VelarixModel.h"

namespace velarix {

std::optional<QString> VelarixModel::importPatternProblem() const {
    // A mistyped placeholder would be written into every name as it stands.
    if (const QList<PatternRange> unknown = unknownPlaceholders(m_importPattern); !unknown.isEmpty()) {
        QStringList valid;
        for (Placeholder placeholder : allPlaceholders())
            if (placeholder != Placeholder::folderSeparator)
                valid << placeholderToken(placeholder);
        return QStringLiteral("%1 is not a placeholder. Use %2, or remove the braces.")
            .arg(m_importPattern.mid(unknown.first().start, unknown.first().length),
                 valid.join(QStringLiteral(", ")));
    }
    for (const QChar c : m_importPattern) {
        if (!c.isSpace() && c != u'/')
            return std::nullopt;
    }
    // Nothing would be left of a name but its extension: a hidden ".MP4".
    return QStringLiteral("The filename pattern is empty. Enter a pattern such as %1 to import.")
        .arg(kDefaultImportPattern);
}

ImportState VelarixModel::importState(HistoryStore& context) const {
    ImportState state;
    state.refresh(context, m_sdCardVolumeUUID, importStateVideos(m_videoFiles));
    return state;
}

QSet<QString> VelarixModel::importedSelection(HistoryStore& context) const {
    const ImportState state = importState(context);
    QSet<QString> imported;
    for (const VideoFileRowPtr& row : m_videoFiles) {
        if (m_selection.contains(row->id()) && recordingStatus(state, *row) == ImportStatus::imported)
            imported.insert(row->id());
    }
    return imported;
}

qsizetype VelarixModel::selectAllNew(HistoryStore& context) {
    const ImportState state = importState(context);
    QSet<QString> selection;
    qsizetype unverified = 0;
    for (const VideoFileRowPtr& row : m_videoFiles) {
        const ImportStatus status = recordingStatus(state, *row);
        if (status != ImportStatus::imported && status != ImportStatus::unreadable)
            selection.insert(row->id());
        if (status == ImportStatus::imported && recordingVerified(state, *row) == false)
            ++unverified;
    }
    setSelection(selection);
    return unverified;
}

Result<void> VelarixModel::reserveCardForImport() {
    if (!m_sdCardPath)
        return {};
    if (m_cardImportLock && m_cardImportLockPath == *m_sdCardPath)
        return {};
    m_cardImportLock.reset();
    auto lock = lockCardForImport(m_sdCardVolumeUUID, *m_sdCardPath);
    if (!lock) {
        if (lock.error().code == kCardImportBusy && lock.error().domain == QLatin1String("Import"))
            return lock.error();
        // Without a runtime folder there is no lock to take; the import itself is still safe.
        qCWarning(lcImport, "The card could not be locked for import: %s",
                  qUtf8Printable(lock.error().message));
        return {};
    }
    m_cardImportLock = std::move(*lock);
    m_cardImportLockPath = *m_sdCardPath;
    return {};
}

} // namespace velarix
