#include "storage/FileNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

#include <cerrno>

namespace velarix {

bool isFaithfulFileName(const QByteArray& raw) {
    return QFile::encodeName(QFile::decodeName(raw)) == raw;
}

QString printableFileName(const QByteArray& raw) {
    QString text;
    qsizetype i = 0;
    while (i < raw.size()) {
        const auto lead = uchar(raw[i]);
        const qsizetype length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        const QByteArray sequence = length ? raw.mid(i, length) : QByteArray();
        if (length && sequence.size() == length && isFaithfulFileName(sequence)) {
            text += QString::fromUtf8(sequence);
            i += length;
        } else {
            text += QStringLiteral("\\x") + QString::number(lead, 16).toUpper().rightJustified(2, u'0');
            ++i;
        }
    }
    return text;
}

Error unfaithfulFileNameError(const QByteArray& raw) {
    return Error::make(QStringLiteral("FileNames"), EILSEQ,
                       QCoreApplication::translate(
                           "Files", "The name “%1” is not valid UTF-8 (written by another system?), so "
                                    "Velarix cannot be sure to reach that very file, and leaves it alone. "
                                    "Rename it in UTF-8 (for example: convmv -f latin1 -t utf-8 --notest "
                                    "FILE).")
                           .arg(printableFileName(raw)));
}

QByteArray localFileBytes(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
}

} // namespace velarix
