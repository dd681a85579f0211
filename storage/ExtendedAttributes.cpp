#include "storage/ExtendedAttributes.h"

#include <QFile>

#include <cerrno>
#include <optional>
#include <sys/xattr.h>

namespace velarix {

namespace {

// Reads through a size query and a read, again if the value grew in between.
QByteArray readList(const QByteArray& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::listxattr(path.constData(), nullptr, 0);
        if (size <= 0)
            return {};
        QByteArray names(size, '\0');
        const ssize_t read = ::listxattr(path.constData(), names.data(), size_t(names.size()));
        if (read >= 0)
            return names.left(read);
        if (errno != ERANGE)
            return {};
    }
    return {};
}

std::optional<QByteArray> readValue(const QByteArray& path, const QByteArray& name) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::getxattr(path.constData(), name.constData(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray value(size, '\0');
        const ssize_t read =
            ::getxattr(path.constData(), name.constData(), value.data(), size_t(value.size()));
        if (read >= 0)
            return value.left(read);
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

ExtendedAttributes readUserAttributes(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    ExtendedAttributes attributes;
    for (const QByteArray& name : readList(encoded).split('\0')) {
        // Others belong to the system (security labels, access lists) and are not ours to copy.
        if (!name.startsWith("user."))
            continue;
        if (auto value = readValue(encoded, name))
            attributes.append({name, *value});
    }
    return attributes;
}

QList<QByteArray> applyUserAttributes(const ExtendedAttributes& attributes, const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    QList<QByteArray> failed;
    for (const auto& [name, value] : attributes)
        if (::setxattr(encoded.constData(), name.constData(), value.constData(), size_t(value.size()), 0) !=
            0)
            failed.append(name);
    return failed;
}

} // namespace velarix
