#include "import/CardImportLock.h"

#include "desktop/AppPaths.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QRegularExpression>

namespace velarix {

namespace {
QString lockName(const std::optional<QString>& volumeUUID, const QString& cardPath) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9-]{1,64}$"));
    if (volumeUUID && plain.match(*volumeUUID).hasMatch())
        return *volumeUUID;
    const QString key = volumeUUID ? *volumeUUID : QFileInfo(cardPath).canonicalFilePath();
    return QString::fromLatin1(QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex());
}
} // namespace

Result<std::shared_ptr<FileLock>> lockCardForImport(const std::optional<QString>& volumeUUID,
                                                    const QString& cardPath) {
    const QString path =
        AppPaths::runtimeDirectory() + QStringLiteral("/import-%1.lock").arg(lockName(volumeUUID, cardPath));
    auto lock = FileLock::tryLock(path);
    if (!lock) {
        if (lock.error().code == FileLock::kHeldElsewhere && lock.error().domain == QLatin1String("FileLock"))
            return Error::make(
                QStringLiteral("Import"), kCardImportBusy,
                QCoreApplication::translate("Import",
                                            "Another import from this card is already running (in Velarix or "
                                            "velarix-cli). Nothing was copied; import again when it has "
                                            "finished."));
        return lock.error();
    }
    return std::make_shared<FileLock>(std::move(*lock));
}

} // namespace velarix
