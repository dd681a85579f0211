#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

namespace velarix {

// The user's own extended attributes of a file (`user.*`: comments, tags and ratings set by file
// managers), as name and value; empty where the file system has none.
using ExtendedAttributes = QList<std::pair<QByteArray, QByteArray>>;
ExtendedAttributes readUserAttributes(const QString& path);

// Sets them on another file; the names that could not be set are returned.
QList<QByteArray> applyUserAttributes(const ExtendedAttributes& attributes, const QString& path);

} // namespace velarix
