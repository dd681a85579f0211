#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace velarix {

// Whether a file name's bytes survive the round trip through QString. Qt decodes names as UTF-8: a
// byte that is not UTF-8 (a Latin-1 "ü" written by another system) comes back as U+FFFD, which
// names another file, or none.
bool isFaithfulFileName(const QByteArray& raw);

// The bytes shown readably: UTF-8 as it is, every other byte as \xFC.
QString printableFileName(const QByteArray& raw);

// Refuses such a name, naming it, and says how to make it usable.
Error unfaithfulFileNameError(const QByteArray& raw);

// The local path of a file URL as its bytes (percent-encoded bytes decoded as they are), where
// QUrl::toLocalFile would replace a byte that is not UTF-8.
QByteArray localFileBytes(const QUrl& url);

} // namespace velarix
