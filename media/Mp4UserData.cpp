#include "media/Mp4UserData.h"

#include "core/Log.h"
#include "media/Mp4Boxes.h"
#include "media/TrimErrors.h"
#include "storage/PosixFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QtEndian>

#include <cerrno>
#include <optional>
#include <unistd.h>

namespace velarix {

namespace {

Error failure(const QString& path, const QString& reason) {
    return trimError(
        TrimErrorCode::failed,
        QCoreApplication::translate("TrimExport", "Could not carry the camera data over to %1: %2")
            .arg(QFileInfo(path).fileName(), reason));
}

// Padding says nothing; it is not carried over.
bool isPadding(const QByteArray& type) {
    return type == "free" || type == "skip";
}

void mergeUserData(const mp4::Box& source, mp4::Box& movie) {
    const mp4::Box* from = source.child("udta");
    if (!from)
        return;
    mp4::Box* into = movie.child("udta");
    if (!into) {
        movie.children.push_back(*from);
        return;
    }
    for (const mp4::Box& entry : from->children) {
        if (isPadding(entry.type))
            continue;
        mp4::Box* present = into->child(entry.type);
        // The muxer's `meta` holds only what it understood of the source's, plus its own name.
        if (present && entry.type == "meta")
            *present = entry;
        else if (!present)
            into->children.push_back(entry);
    }
}

mp4::Box* trackById(mp4::Box& movie, quint32 id) {
    for (mp4::Box& box : movie.children)
        if (box.type == "trak" && mp4::trackId(box) == id)
            return &box;
    return nullptr;
}

const mp4::Box* trackById(const mp4::Box& movie, quint32 id) {
    return trackById(const_cast<mp4::Box&>(movie), id);
}

mp4::Box* mediaHeader(mp4::Box& trak) {
    mp4::Box* information = trak.find({"mdia", "minf"});
    if (!information)
        return nullptr;
    for (mp4::Box& box : information->children)
        if (box.type == "vmhd" || box.type == "smhd" || box.type == "nmhd" || box.type == "gmhd" ||
            box.type == "sthd" || box.type == "hmhd")
            return &box;
    return nullptr;
}

bool replaceBox(mp4::Box* into, const mp4::Box* from) {
    if (!into || !from)
        return false;
    *into = *from;
    return true;
}

// The kinds of track (handler types) that point at a timecode track in the source; cameras make
// their sound tracks point at it too, and readers then show the timecode for those as well.
QList<QByteArray> timecodeUsers(const mp4::Box& source, quint32 timecodeId) {
    QList<QByteArray> users{"vide"};
    for (const mp4::Box& trak : source.children) {
        const mp4::Box* reference = trak.type == "trak" ? trak.find({"tref", "tmcd"}) : nullptr;
        if (reference && reference->body.size() >= 4 &&
            qFromBigEndian<quint32>(reference->body.constData()) == timecodeId &&
            !users.contains(mp4::handlerType(trak)))
            users.append(mp4::handlerType(trak));
    }
    return users;
}

// The tracks of those kinds point at the timecode track here too.
void referenceTimecode(mp4::Box& movie, quint32 timecodeId, const QList<QByteArray>& users) {
    mp4::Box reference{"tmcd", QByteArray(4, 0), {}, false};
    qToBigEndian<quint32>(timecodeId, reference.body.data());
    for (mp4::Box& trak : movie.children) {
        if (trak.type != "trak" || !users.contains(mp4::handlerType(trak)))
            continue;
        mp4::Box* references = trak.child("tref");
        if (!references) {
            // Before the media box, where the muxer writes it.
            auto at = std::find_if(trak.children.begin(), trak.children.end(),
                                   [](const mp4::Box& box) { return box.type == "mdia"; });
            references = &*trak.children.insert(at, mp4::Box{"tref", {}, {}, true});
        }
        if (mp4::Box* existing = references->child("tmcd"))
            *existing = reference;
        else
            references->children.push_back(reference);
    }
}

Result<void> restoreTrack(const mp4::Box& source, mp4::Box& movie, const CarriedTrack& carried) {
    const mp4::Box* from = trackById(source, carried.sourceTrackId);
    mp4::Box* into = trackById(movie, carried.outputTrackId);
    if (!from || !into)
        return trimError(
            TrimErrorCode::failed,
            QCoreApplication::translate("TrimExport", "track %1 is missing").arg(carried.sourceTrackId));
    const mp4::Box* header = mediaHeader(const_cast<mp4::Box&>(*from));
    if (!replaceBox(into->find({"mdia", "hdlr"}), from->find({"mdia", "hdlr"})) ||
        !replaceBox(mediaHeader(*into), header) ||
        !replaceBox(into->find({"mdia", "minf", "stbl", "stsd"}),
                    from->find({"mdia", "minf", "stbl", "stsd"})))
        return trimError(TrimErrorCode::failed,
                         QCoreApplication::translate("TrimExport", "track %1 has an unusual layout")
                             .arg(carried.sourceTrackId));
    // A timecode track's header may carry the picture's size, which readers show for it.
    const mp4::Box* sourceHeader = from->child("tkhd");
    mp4::Box* outputHeader = into->child("tkhd");
    if (sourceHeader && outputHeader && sourceHeader->body.size() >= 84 && outputHeader->body.size() >= 84)
        outputHeader->body.replace(outputHeader->body.size() - 8, 8, sourceHeader->body.right(8));
    if (mp4::handlerType(*from) == "tmcd")
        referenceTimecode(movie, carried.outputTrackId, timecodeUsers(source, carried.sourceTrackId));
    return {};
}

} // namespace

Result<void> carryOverMovieUserData(const QString& sourcePath, const QString& outputPath,
                                    const std::vector<CarriedTrack>& carried) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return failure(outputPath, source.errorString());
    const auto sourceMovie = mp4::readMovie(source, nullptr);
    if (!sourceMovie)
        return carried.empty()
                   ? Result<void>{}
                   : failure(outputPath, QCoreApplication::translate(
                                             "TrimExport", "the source's movie header is unreadable"));

    QFile output(outputPath);
    if (!output.open(QIODevice::ReadWrite))
        return failure(outputPath, output.errorString());
    mp4::TopLevel where;
    auto movie = mp4::readMovie(output, &where);
    if (!movie)
        return failure(outputPath,
                       QCoreApplication::translate("TrimExport", "its movie header is unreadable"));
    if (!where.last)
        return failure(outputPath, QCoreApplication::translate(
                                       "TrimExport", "the movie header is not at the end of the file"));

    mergeUserData(*sourceMovie, *movie);
    if (const mp4::Box* keys = sourceMovie->child("meta"); keys && !movie->child("meta"))
        movie->children.push_back(*keys);
    for (const CarriedTrack& track : carried) {
        if (auto restored = restoreTrack(*sourceMovie, *movie, track); !restored)
            return failure(outputPath, restored.error().message);
    }

    // The movie box is last, so nothing after it moves; the media data offsets stay valid.
    const QByteArray bytes = movie->serialize();
    if (!output.seek(where.offset) || output.write(bytes) != bytes.size() || !output.flush())
        return failure(outputPath, output.errorString());
    if (where.offset + bytes.size() < output.size() && !output.resize(where.offset + bytes.size()))
        return failure(outputPath, output.errorString());
    // The copy is made durable before it replaces anything; this change comes after that.
    if (::fdatasync(output.handle()) != 0)
        return failure(outputPath, errnoText(errno));
    return {};
}

} // namespace velarix
