#include "i18n/Translators.h"
#include "media/DurableFileOutput.h"
#include "media/MediaIo.h"
#include "media/MediaOpen.h"
#include "media/TrimErrors.h"
#include "storage/PosixFile.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TestSupport.h"
#include "tests/support/TmpfsMount.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace velarix;
using namespace velarix::test;

namespace {

// Bytes in memory, as a muxer writes them and a demuxer reads them back.
struct MemoryBytes final : ByteAccess {
    QByteArray bytes;
    qint64 readAt(qint64 position, char* buffer, qint64 size) override {
        const qint64 n = std::clamp<qint64>(bytes.size() - position, 0, size);
        std::memcpy(buffer, bytes.constData() + position, size_t(n));
        return n;
    }
    int writeAt(qint64 position, const char* data, qint64 size) override {
        if (position + size > bytes.size())
            bytes.resize(position + size);
        std::memcpy(bytes.data() + position, data, size_t(size));
        return 0;
    }
    qint64 size() override { return bytes.size(); }
};

// The packets of every stream of an opened input, read to the end.
int packetCount(AVFormatContext* format) {
    av::PacketPtr packet(av_packet_alloc());
    int count = 0;
    while (av_read_frame(format, packet.get()) >= 0) {
        ++count;
        av_packet_unref(packet.get());
    }
    return count;
}

} // namespace

class MediaIoTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_clip;

private Q_SLOTS:
    void initTestCase() {
        m_clip = m_dir.filePath(QStringLiteral("clip.mp4"));
        QCOMPARE(makeClip(m_clip, ClipRecipe{.seconds = 4}), QString());
    }

    // A real remux through the adapter: the MP4 muxer writes, then seeks back to fill in the sizes,
    // and the demuxer asks for the size and seeks to the index at the end.
    void muxesAndDemuxesThroughTheAdapter() {
        auto input = openVideoAsset(m_clip, OpenOptions{nullptr, 4096, true});
        QVERIFY2(input, qPrintable(input ? QString() : input.error().message));
        const AVFormatContext* from = input->get();

        // Declared in the order they refer to each other, so that they are freed in the reverse one.
        MemoryBytes memory;
        auto writer = MediaIo::create(memory, MediaIo::Mode::write, 4096, nullptr);
        QVERIFY(writer);
        AVFormatContext* raw = nullptr;
        QVERIFY(avformat_alloc_output_context2(&raw, nullptr, "mp4", nullptr) >= 0);
        av::OutputContextPtr out(raw);
        writer->attach(out.get());
        for (unsigned i = 0; i < from->nb_streams; ++i) {
            AVStream* stream = avformat_new_stream(out.get(), nullptr);
            QVERIFY(avcodec_parameters_copy(stream->codecpar, from->streams[i]->codecpar) >= 0);
            stream->codecpar->codec_tag = 0;
            stream->time_base = from->streams[i]->time_base;
        }
        QCOMPARE(avformat_write_header(out.get(), nullptr), 0);
        av::PacketPtr packet(av_packet_alloc());
        int written = 0;
        while (av_read_frame(input->get(), packet.get()) >= 0) {
            av_packet_rescale_ts(packet.get(), from->streams[packet->stream_index]->time_base,
                                 out->streams[packet->stream_index]->time_base);
            packet->pos = -1;
            QCOMPARE(av_interleaved_write_frame(out.get(), packet.get()), 0);
            ++written;
        }
        QCOMPARE(av_write_trailer(out.get()), 0);
        QVERIFY(written > 0);
        QVERIFY(input->bytesRead() >= QFileInfo(m_clip).size() / 2);

        // Read back from memory: the index sits at the end, so the demuxer must seek there.
        auto reader = MediaIo::create(memory, MediaIo::Mode::read, 4096, nullptr);
        av::FormatContextPtr allocated(avformat_alloc_context());
        reader->attach(allocated.get());
        AVFormatContext* context = allocated.release();
        QCOMPARE(avformat_open_input(&context, nullptr, nullptr, nullptr), 0);
        const av::FormatContextPtr back(context);
        QCOMPARE(back->nb_streams, from->nb_streams);
        QCOMPARE(packetCount(back.get()), written);
        QVERIFY(av_seek_frame(back.get(), -1, 0, AVSEEK_FLAG_BACKWARD) >= 0);
        QCOMPARE(packetCount(back.get()), written);
    }

    // A cancelled token stops the reads themselves with AVERROR_EXIT, which is a cancellation.
    void cancellationStopsReads() {
        CancelToken cancel;
        MemoryBytes memory;
        memory.bytes = readFile(m_clip);
        auto io = MediaIo::create(memory, MediaIo::Mode::read, 4096, &cancel);
        uint8_t buffer[16];
        QCOMPARE(avio_read(io->context(), buffer, sizeof buffer), int(sizeof buffer));
        cancel.cancel();
        avio_seek(io->context(), 1 << 20, SEEK_SET); // past the buffer: the next read goes to the bytes
        QCOMPARE(avio_read(io->context(), buffer, sizeof buffer), AVERROR_EXIT);
        QCOMPARE(avErrorKind(AVERROR_EXIT), ErrorKind::cancelled);

        auto cancelledOpen = openVideoAsset(m_clip, OpenOptions{&cancel, 4096, true});
        QVERIFY(cancelledOpen.isCancelled());
    }

    // Real failures come out as their kind, whichever layer saw them first.
    void failuresHaveTheirKind() {
        const QString missing = m_dir.filePath(QStringLiteral("missing.mp4"));
        for (const int buffer : {0, 4096}) {
            auto opened = openVideoAsset(missing, OpenOptions{nullptr, buffer, true});
            QVERIFY(!opened);
            QCOMPARE(opened.error().kind, ErrorKind::notFound);
        }
        const QString text = m_dir.filePath(QStringLiteral("notes.mp4"));
        QVERIFY(writeFile(text, QByteArray(4096, 'x')));
        for (const int buffer : {0, 4096}) {
            auto opened = openVideoAsset(text, OpenOptions{nullptr, buffer, true});
            QVERIFY(!opened);
            QCOMPARE(opened.error().kind, ErrorKind::invalidData);
        }
        QCOMPARE(openPath(missing, O_RDONLY).error().kind, ErrorKind::notFound);

        // A trimmed copy that cannot be written has the trim domain's own code, and the kind says why.
        auto output = DurableFileOutput::create(m_dir.filePath(QStringLiteral("no/such/folder/out.mp4")));
        QVERIFY(!output);
        QCOMPARE(output.error().domain, kTrimErrorDomain);
        QCOMPARE(output.error().code, int(TrimErrorCode::failed));
        QCOMPARE(output.error().kind, ErrorKind::notFound);

        if (::geteuid() == 0) {
            // Root reads any file, but not from a file system mounted read-only or full.
            TmpfsMount tmpfs(m_dir.filePath(QStringLiteral("small")));
            if (!tmpfs.mounted)
                QSKIP("No tmpfs could be mounted here.");
            const QString big = tmpfs.path + QStringLiteral("/big");
            QFile fill(big);
            QVERIFY(fill.open(QIODevice::WriteOnly));
            const QByteArray block(1 << 20, 'x');
            while (fill.write(block) == block.size()) {
            }
            fill.close();
            {
                auto full = DurableFileOutput::create(tmpfs.path + QStringLiteral("/out.mp4"));
                QVERIFY(full);
                avio_write((*full)->context(), reinterpret_cast<const uint8_t*>(block.constData()),
                           block.size());
                auto finished = (*full)->finish();
                QVERIFY(!finished);
                QCOMPARE(finished.error().kind, ErrorKind::noSpace);
            } // closed: a file open for writing keeps the remount from happening
            QVERIFY(QFile::remove(big));
            QVERIFY(tmpfs.remountReadOnly());
            auto readOnly = DurableFileOutput::create(tmpfs.path + QStringLiteral("/other.mp4"));
            QVERIFY(!readOnly);
            QCOMPARE(readOnly.error().kind, ErrorKind::readOnly);
        } else {
            const QString locked = m_dir.filePath(QStringLiteral("locked.mp4"));
            QVERIFY(QFile::copy(m_clip, locked));
            QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
            auto opened = openVideoAsset(locked, OpenOptions{nullptr, 4096, true});
            QVERIFY(!opened);
            QCOMPARE(opened.error().kind, ErrorKind::permissionDenied);
            QVERIFY(!opened.error().message.contains(QLatin1String("Not a video")));
        }
    }

    // The messages come in the user's language from the built translation.
    void errorsAreTranslated() {
        QCOMPARE(installTranslators(QLocale(QLocale::German, QLocale::Germany)), QStringLiteral("de"));
        auto opened = openVideoAsset(m_dir.filePath(QStringLiteral("missing.mp4")));
        const QString message = opened.error().message;
        installTranslators(QLocale(QLocale::English));
        QVERIFY2(message.contains(QLatin1String("existiert nicht")), qPrintable(message));
    }
};

QTEST_GUILESS_MAIN(MediaIoTest)
#include "test_media_io.moc"
