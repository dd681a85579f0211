#include "media/Mp4EditEnd.h"

#include "media/Mp4Boxes.h"
#include "media/TrimErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <optional>

namespace velarix {

namespace {

Error failure(const QString& path, const QString& reason) {
    return trimError(
        TrimErrorCode::failed,
        QCoreApplication::translate("TrimExport", "Could not end the trimmed copy %1 at the range's end: %2")
            .arg(QFileInfo(path).fileName(), reason));
}

// A duration field of a version 0 (32 bits) or version 1 (64 bits) box.
quint64 readField(const QByteArray& body, qint64 at, bool wide) {
    return wide ? qFromBigEndian<quint64>(body.constData() + at)
                : qFromBigEndian<quint32>(body.constData() + at);
}

void writeField(QByteArray& body, qint64 at, bool wide, quint64 value) {
    if (wide)
        qToBigEndian<quint64>(value, body.data() + at);
    else
        qToBigEndian<quint32>(quint32(std::min<quint64>(value, 0xffffffffu)), body.data() + at);
}

bool isWide(const QByteArray& body) {
    return !body.isEmpty() && body[0] == 1;
}

// Shortens the entries of an `elst` body so that they end by `end` (movie time scale); the new total
// when something changed.
std::optional<quint64> shortenEdits(QByteArray& body, quint64 end) {
    if (body.size() < 8)
        return std::nullopt;
    const bool wide = isWide(body);
    const qint64 entrySize = wide ? 20 : 12;
    const quint32 count = qFromBigEndian<quint32>(body.constData() + 4);
    if (body.size() < 8 + qint64(count) * entrySize)
        return std::nullopt;
    quint64 elapsed = 0;
    bool changed = false;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 at = 8 + qint64(i) * entrySize;
        quint64 duration = readField(body, at, wide);
        const quint64 allowed = end > elapsed ? end - elapsed : 0;
        if (duration > allowed) {
            duration = allowed;
            writeField(body, at, wide, duration);
            changed = true;
        }
        elapsed += duration;
    }
    return changed ? std::optional<quint64>(elapsed) : std::nullopt;
}

} // namespace

Result<void> endVideoEditsAt(const QString& path, double seconds) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return failure(path, file.errorString());
    mp4::TopLevel where;
    auto movie = mp4::readMovie(file, &where);
    if (!movie || !where.last)
        return failure(path, QCoreApplication::translate("TrimExport",
                                                         "its movie header is unreadable or not at the end"));
    mp4::Box* header = movie->child("mvhd");
    if (!header || header->body.size() < (isWide(header->body) ? 32 : 20))
        return failure(path, QCoreApplication::translate("TrimExport", "its movie header has no duration"));
    const bool wideMovie = isWide(header->body);
    const quint32 timescale = qFromBigEndian<quint32>(header->body.constData() + (wideMovie ? 20 : 12));
    if (timescale == 0 || !(seconds > 0))
        return {};
    const auto end = quint64(std::llround(seconds * timescale));

    bool changed = false;
    quint64 longest = 0;
    for (mp4::Box& trak : movie->children) {
        mp4::Box* trackHeader = trak.type == "trak" ? trak.child("tkhd") : nullptr;
        if (!trackHeader || trackHeader->body.size() < (isWide(trackHeader->body) ? 36 : 24))
            continue;
        const bool wideTrack = isWide(trackHeader->body);
        const qint64 durationAt = wideTrack ? 28 : 20;
        quint64 duration = readField(trackHeader->body, durationAt, wideTrack);
        mp4::Box* edits = trak.find({"edts", "elst"});
        // A QuickTime writer's own timecode track runs as long as the video it was made from.
        if (edits && (mp4::handlerType(trak) == "vide" || mp4::handlerType(trak) == "tmcd")) {
            if (const auto shortened = shortenEdits(edits->body, end)) {
                duration = *shortened;
                writeField(trackHeader->body, durationAt, wideTrack, duration);
                changed = true;
            }
        }
        longest = std::max(longest, duration);
    }
    if (!changed)
        return {};
    writeField(header->body, wideMovie ? 24 : 16, wideMovie, longest);
    // Only values changed, so the box keeps its size and nothing after its start moves.
    const QByteArray bytes = movie->serialize();
    if (bytes.size() != where.size)
        return failure(path, QCoreApplication::translate("TrimExport", "its movie header changed size"));
    if (!file.seek(where.offset) || file.write(bytes) != bytes.size() || !file.flush())
        return failure(path, file.errorString());
    return {};
}

} // namespace velarix
