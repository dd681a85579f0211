#include "history/HistoryStore.h"
#include "import/CardManifest.h"
#include "import/VelarixModel.h"

namespace velarix {

namespace {
Result<void> writeRecords(HistoryStore& context, const QString& cardID, const QString& cardName,
                          const QList<ImportedFile>& files) {
    auto card = context.fetchCard(cardID);
    if (!card)
        return card.error();
    if (!*card) {
        if (auto inserted = context.insertCard(cardID, cardName); !inserted)
            return inserted.error();
    } else if ((*card)->name != cardName) {
        if (auto renamed = context.setCardName(**card, cardName); !renamed)
            return renamed;
    }
    const QDateTime now = QDateTime::currentDateTime();
    for (const ImportedFile& file : files) {
        if (auto inserted = context.insertImportHistory(file.file, cardID, now, file.verified); !inserted)
            return inserted.error();
        if (file.jump) {
            if (auto logged = context.insertJumpClip(cardID, cardName, *file.jump); !logged)
                return logged;
        }
    }
    return {};
}
} // namespace

Result<void> VelarixModel::recordImport(const QString& cardID, const QList<ImportedFile>& files,
                                        HistoryStore& context, bool rewriteManifest) {
    auto written = writeRecords(context, cardID, m_sdCardName, files);
    if (m_sdCardPath && rewriteManifest)
        writeManifest(*m_sdCardPath, m_sdCardName);
    if (written)
        written = context.save();
    // Half-written records must not ride along with a later save.
    if (!written)
        context.rollback();
    return written;
}

} // namespace velarix
