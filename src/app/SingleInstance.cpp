#include "SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kWaitMs = 2000;
constexpr char kShow[] = "show\n";

QString instanceName(const QString& folder)
{
    const QString canonical = QDir(folder).canonicalPath();
    const QByteArray key = (QDir::homePath() + QLatin1Char('\n') + canonical).toUtf8();
    return QStringLiteral("kelmo-note-") +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

} // namespace

SingleInstance::SingleInstance(const QString& folder)
    : name_(instanceName(folder))
    , lock_(QDir(QDir::tempPath()).filePath(name_ + QStringLiteral(".lock")))
{}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    if (!lock_.tryLock(0)) {
        if (askRunningCopyToShow())
            return false;
        // The first copy may still be starting, or just ending; give it a moment.
        if (!lock_.tryLock(kWaitMs)) {
            askRunningCopyToShow();
            return false;
        }
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(name_); // left by a copy that crashed; the lock is ours
    server_->listen(name_);
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains("show"))
                    emit showRequested();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

bool SingleInstance::askRunningCopyToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kShow);
    socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return true;
}
