#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velarix {

// The card's own record of its name: ".velarix" at the volume's root, {"name":"…"} without whitespace.
inline const QString kManifestFileName = QStringLiteral(".velarix");
// Anything larger is not a manifest of ours; reading stops there.
constexpr qint64 kManifestReadLimit = 64 * 1024;

// The exact bytes of a manifest: "/" escaped as "\/", other characters as JSON requires, UTF-8.
QByteArray encodeManifest(const QString& name);
// The name of a manifest's bytes; an error when they are not a JSON object with a string "name".
Result<QString> decodeManifest(const QByteArray& bytes);

// The card's name from its manifest; absent when there is none or it cannot be read (then logged).
std::optional<QString> readManifest(const QString& volume);
// Replaces the manifest atomically; a failure (a write-protected card) is logged, not returned.
void writeManifest(const QString& volume, const QString& name);

} // namespace velarix
