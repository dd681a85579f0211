#include "Velarix/shell/SingleInstance.h"

#include "Velarix/widgets/AppLog.h"
#include "desktop/AppIdentity.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace velarix {

namespace {
constexpr qint64 kMaxMessageBytes = 1024 * 1024;
}

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent)
    , m_socketPath(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return runtime + u'/' + kBundleIdentifier + QStringLiteral(".socket");
    return QDir::tempPath() + u'/' + kBundleIdentifier + QStringLiteral("-%1.socket").arg(getuid());
}

bool SingleInstance::sendToRunning(const QStringList& arguments, int timeoutMs) const {
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(QJsonDocument(QJsonArray::fromStringList(arguments)).toJson(QJsonDocument::Compact) + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    // The running instance answers once it has taken the message.
    return socket.waitForReadyRead(timeoutMs) && socket.readAll().startsWith("ok");
}

bool SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Nobody answered on the socket: what is left there is from an instance that died.
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        qCWarning(lcVelarix, "cannot listen on %s: %s", qUtf8Printable(m_socketPath),
                  qUtf8Printable(m_server->errorString()));
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->bytesAvailable() > kMaxMessageBytes) {
                    socket->abort();
                    return;
                }
                if (!socket->canReadLine())
                    return;
                const QJsonDocument document = QJsonDocument::fromJson(socket->readLine());
                QStringList arguments;
                for (const auto& value : document.array())
                    arguments.append(value.toString());
                socket->write("ok\n");
                socket->flush();
                socket->disconnectFromServer();
                Q_EMIT messageReceived(arguments);
            });
        }
    });
    return true;
}

} // namespace velarix
