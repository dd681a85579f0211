#include "import/RecordingImport.h"

#include "platform/ChapterJoin.h"
#include "platform/FileStatus.h"
#include "platform/PosixFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velarix {

namespace {

// Named and locked like the temporaries of copies, so that the sweep of a later run removes it when
// this process dies; removed here unless it was given its final name.
class JoinTemporary {
public:
    static Result<std::unique_ptr<JoinTemporary>> create(int dirFd, const QString& folder) {
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray name = ".velarix-import-" +
                                    QByteArray::number(QRandomGenerator::global()->generate64(), 16) + ".tmp";
            UniqueFd fd(::openat(dirFd, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (!fd.valid()) {
                if (errno != EEXIST)
                    return errnoError(errno);
                continue;
            }
            struct stat info {};
            if (::flock(fd.get(), LOCK_EX) == 0 && ::fstat(fd.get(), &info) == 0 && info.st_nlink == 0)
                continue;
            return std::unique_ptr<JoinTemporary>(new JoinTemporary(dirFd, folder, name, std::move(fd)));
        }
        return errnoError(EEXIST);
    }
    ~JoinTemporary() {
        m_fd = UniqueFd();
        if (!m_published)
            ::unlinkat(m_dirFd, m_name.constData(), 0);
    }
    int fd() const { return m_fd.get(); }
    const QByteArray& name() const { return m_name; }
    QString path() const { return m_folder + u'/' + QFile::decodeName(m_name); }
    Result<void> close() { return m_fd.close(); }
    void published() { m_published = true; }

private:
    JoinTemporary(int dirFd, QString folder, QByteArray name, UniqueFd fd)
        : m_dirFd(dirFd)
        , m_folder(std::move(folder))
        , m_name(std::move(name))
        , m_fd(std::move(fd)) {}
    int m_dirFd;
    QString m_folder;
    QByteArray m_name;
    UniqueFd m_fd;
    bool m_published = false;
};

} // namespace

QString chapterDestination(const QString& plannedName, const QString& firstChapter, const QString& chapter) {
    const qsizetype slash = plannedName.lastIndexOf(u'/');
    const QString folder = plannedName.left(slash + 1);
    QString name = plannedName.mid(slash + 1);
    const QString firstBase = QFileInfo(firstChapter).completeBaseName();
    const qsizetype at = name.lastIndexOf(firstBase);
    if (at < 0)
        return plannedName; // the no-replace naming numbers them
    name.replace(at, firstBase.size(), QFileInfo(chapter).completeBaseName());
    return folder + name;
}

Result<QString> importRecording(const QStringList& chapters, const QString& destination,
                                const CopyControl& control) {
    const auto isCancelled = [&] {
        return control.isCancelled && control.isCancelled();
    };
    if (isCancelled())
        return Error::cancellation();
    qint64 lastModifiedNs = 0;
    qint64 lastAccessedNs = 0;
    for (const QString& chapter : chapters) {
        auto status = fileStatus(chapter);
        if (!status)
            return Error::make(
                kCopyErrorDomain, 1,
                QStringLiteral("%1: %2").arg(QFileInfo(chapter).fileName(), status.error().message));
        if (status->type != FileStatus::Type::regular || status->size < 1)
            return Error::make(kCopyErrorDomain, 1,
                               QStringLiteral("%1: Invalid file size").arg(QFileInfo(chapter).fileName()));
        lastModifiedNs = status->modifiedNs;
        lastAccessedNs = status->accessedNs;
    }

    const QFileInfo target(destination);
    const QString folder = target.absolutePath();
    UniqueFd dir(::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid())
        return errnoError(errno);
    auto created = JoinTemporary::create(dir.get(), folder);
    if (!created)
        return created.error();
    const std::unique_ptr<JoinTemporary> temporary = std::move(*created);

    // libav's blocking reads and writes watch this flag; the loop asks `isCancelled` itself.
    CancelFlag cancel{false};
    JoinControl join;
    join.cancel = &cancel;
    join.isCancelled = [&] {
        if (isCancelled())
            cancel = true;
        return cancel.load();
    };
    join.progress = [&](qint64 done, qint64 total) {
        if (control.afterChunk)
            control.afterChunk(done);
        if (control.progress)
            control.progress(done, total);
    };
    auto joined = joinChapters(chapters, temporary->fd(), temporary->path(), join);
    if (!joined)
        return joined.error();
    if (auto kept = setFileTimes(temporary->fd(), lastAccessedNs, lastModifiedNs); !kept)
        return kept.error();
    if (::fsync(temporary->fd()) != 0)
        return errnoError(errno);
    if (control.verify) {
        if (auto verified = verifyJoin(temporary->fd(), temporary->path(), *joined, &cancel); !verified)
            return verified.error();
    }
    if (isCancelled())
        return Error::cancellation();
    if (auto closed = temporary->close(); !closed)
        return closed.error();

    auto named = nameWithoutReplacing(dir.get(), temporary->name(), folder, target.fileName());
    if (named)
        temporary->published();
    return named;
}

} // namespace velarix
