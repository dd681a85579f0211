#include "tests/support/LoopMount.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <sys/mount.h>
#include <unistd.h>

namespace velarix::test {

QString toolPath(const QString& tool) {
    const QString found = QStandardPaths::findExecutable(tool);
    return found.isEmpty()
               ? QStandardPaths::findExecutable(tool, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")})
               : found;
}

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(toolPath(program), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        const QString output = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        return program + QStringLiteral(" failed") +
               (output.isEmpty() ? QString() : QStringLiteral(": ") + output);
    }
    return {};
}

LoopMount::LoopMount(const QString& where, int megabytes, const QString& options)
    : m_path(where)
    , m_image(where + QStringLiteral(".img"))
    , m_options(options) {
    if (::geteuid() != 0) {
        m_skipReason = QStringLiteral("loop mounts need root");
        return;
    }
    for (const char* tool : {"losetup", "mkfs.exfat", "mount.exfat-fuse"}) {
        if (toolPath(QLatin1String(tool)).isEmpty()) {
            m_skipReason = QLatin1String(tool) + QStringLiteral(" is not installed (scripts/install-deps.sh "
                                                                "installs it)");
            return;
        }
    }
    if (!QFileInfo(QStringLiteral("/dev/fuse")).exists()) {
        m_skipReason = QStringLiteral("/dev/fuse is missing");
        return;
    }
    QDir().mkpath(m_path);
    QFile image(m_image);
    if (!image.open(QIODevice::WriteOnly) || !image.resize(qint64(megabytes) << 20)) {
        m_skipReason = QStringLiteral("cannot make the image %1").arg(m_image);
        return;
    }
    image.close();
    if (QString failed = runTool(QStringLiteral("mkfs.exfat"), {m_image}); !failed.isEmpty()) {
        m_skipReason = failed;
        return;
    }
    if (!mount())
        m_skipReason = QStringLiteral("mounting %1 failed").arg(m_image);
}

bool LoopMount::mount() {
    // A fresh loop device each time: the last one's block cache may hold what the image had before.
    QProcess losetup;
    losetup.start(toolPath(QStringLiteral("losetup")),
                  {QStringLiteral("-f"), QStringLiteral("--show"), m_image});
    losetup.waitForFinished();
    m_device = QString::fromLocal8Bit(losetup.readAllStandardOutput()).trimmed();
    if (losetup.exitCode() != 0 || m_device.isEmpty()) {
        m_device.clear();
        return false;
    }
    QStringList arguments;
    if (!m_options.isEmpty())
        arguments << QStringLiteral("-o") << m_options;
    m_mounted = runTool(QStringLiteral("mount.exfat-fuse"), arguments << m_device << m_path).isEmpty();
    return m_mounted;
}

bool LoopMount::unmount() {
    if (m_mounted && ::umount2(QFile::encodeName(m_path).constData(), 0) != 0)
        return false;
    m_mounted = false;
    if (!m_device.isEmpty())
        runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_device});
    m_device.clear();
    return true;
}

bool LoopMount::remount() {
    return unmount() && mount();
}

LoopMount::~LoopMount() {
    if (m_mounted && ::umount2(QFile::encodeName(m_path).constData(), 0) != 0)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
    if (!m_device.isEmpty())
        runTool(QStringLiteral("losetup"), {QStringLiteral("-d"), m_device});
    QFile::remove(m_image);
}

} // namespace velarix::test
