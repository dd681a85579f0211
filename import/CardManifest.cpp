#include "import/CardManifest.h"

#include "core/Log.h"
#include "storage/FileStatus.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <fcntl.h>

namespace velarix {

namespace {

const QString kDomain = QStringLiteral("Manifest");

QString manifestPath(const QString& volume) {
    return QDir(volume).filePath(kManifestFileName);
}

// The file itself, bounded: never a FIFO or device (which could block or never end), never more
// than the limit.
Result<QByteArray> readBounded(const QString& path) {
    auto opened = openPath(path, O_RDONLY | O_NONBLOCK);
    if (!opened)
        return opened.error();
    const UniqueFd fd = std::move(*opened);
    auto status = fileStatus(fd.get());
    if (!status)
        return status.error();
    if (status->type != FileStatus::Type::regular)
        return Error::make(kDomain, 2, QCoreApplication::translate("Import", "%1 is not a file.").arg(path));
    QByteArray bytes(kManifestReadLimit + 1, Qt::Uninitialized);
    qint64 total = 0;
    while (total < bytes.size()) {
        auto n = readSome(fd.get(), bytes.data() + total, bytes.size() - total);
        if (!n)
            return n.error();
        if (*n == 0)
            break;
        total += *n;
    }
    if (total > kManifestReadLimit)
        return Error::make(kDomain, 3,
                           QCoreApplication::translate("Import", "The manifest is larger than 64 KiB."));
    bytes.truncate(total);
    return bytes;
}

} // namespace

QByteArray encodeManifest(const QString& name) {
    QByteArray out = "{\"name\":\"";
    const QByteArray utf8 = name.toUtf8();
    for (char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '/':
            out += "\\/";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += QByteArray("\\u00") + QByteArray::number(int(c), 16).rightJustified(2, '0');
            else
                out += c;
        }
    }
    out += "\"}";
    return out;
}

Result<QString> decodeManifest(const QByteArray& bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return Error::make(kDomain, 1,
                           QCoreApplication::translate("Import", "The data isn't valid JSON: %1")
                               .arg(parseError.errorString()));
    if (!document.isObject())
        return Error::make(kDomain, 1,
                           QCoreApplication::translate("Import", "The data isn't a JSON object."));
    const QJsonValue name = document.object().value(QStringLiteral("name"));
    if (name.isUndefined())
        return Error::make(kDomain, 1,
                           QCoreApplication::translate("Import", "No value associated with key \"name\"."));
    if (!name.isString())
        return Error::make(kDomain, 1,
                           QCoreApplication::translate("Import", "Expected a string for key \"name\"."));
    return name.toString();
}

std::optional<QString> readManifest(const QString& volume) {
    const QString path = manifestPath(volume);
    if (!QFileInfo::exists(path))
        return std::nullopt;
    auto bytes = readBounded(path);
    Result<QString> name = bytes ? decodeManifest(*bytes) : Result<QString>(bytes.error());
    if (!name) {
        qCCritical(lcApp, "Failed to read .velarix manifest: %s", qUtf8Printable(name.error().message));
        return std::nullopt;
    }
    return *name;
}

void writeManifest(const QString& volume, const QString& name) {
    const QString path = manifestPath(volume);
    QSaveFile file(path);
    // Never in place: a torn write would leave the card without a readable name.
    file.setDirectWriteFallback(false);
    const QByteArray bytes = encodeManifest(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCCritical(lcApp, "Failed to write .velarix manifest at %s: %s", qUtf8Printable(path),
                   qUtf8Printable(file.errorString()));
    }
}

} // namespace velarix
