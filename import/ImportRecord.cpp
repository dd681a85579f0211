#include "history/HistoryStore.h"
#include "import/CardManifest.h"
#include "import/VelarixModel.h"

namespace velarix {

namespace {
Result<void> writeRecords(HistoryStore& context, const QString& cardID, const QString& cardName,
                          const QStringList& fileNames) {
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
    for (const QString& fileName : fileNames) {
        if (auto inserted = context.insertImportHistory(fileName, cardID, now); !inserted)
            return inserted.error();
    }
    return {};
}
} // namespace

Result<void> VelarixModel::recordImport(const QString& cardID, const QStringList& fileNames,
                                        HistoryStore& context, bool rewriteManifest) {
    auto written = writeRecords(context, cardID, m_sdCardName, fileNames);
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
