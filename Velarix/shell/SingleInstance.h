#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;

namespace velarix {

// One running application per user: the first instance listens on a local socket, later launches
// hand their arguments to it and end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString socketPath = defaultSocketPath(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // In $XDG_RUNTIME_DIR when set (private to the user), else a per-user name in the temp folder.
    static QString defaultSocketPath();

    // Sends the arguments to a running instance; true when one took them.
    bool sendToRunning(const QStringList& arguments, int timeoutMs = 3000) const;
    // Becomes the running instance; false when the socket cannot be created.
    bool listen();

Q_SIGNALS:
    void messageReceived(const QStringList& arguments);

private:
    QString m_socketPath;
    QLocalServer* m_server = nullptr;
};

} // namespace velarix
