#include "app/InstanceChannel.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>
#include <QUuid>
#include <memory>

namespace ombrel {

namespace {
constexpr int answerTimeoutMs = 1500; // an unresponsive copy is skipped after this
const QString closeAllRequest = QStringLiteral("close-all");
const QString closeSamePrefix = QStringLiteral("close-same ");
const QString socketSuffix = QStringLiteral(".sock");

// Where the copy registered as the file at path listens: that socket file itself; on Windows,
// whose local sockets are named pipes and leave no file behind, the pipe named after the file,
// which the copy makes beside it.
QString endpointOf(const QString& path) {
#ifdef _WIN32
    return QStringLiteral("ombrel-") + QFileInfo(path).completeBaseName();
#else
    return path;
#endif
}
} // namespace

InstanceChannel::InstanceChannel(QString folder, QObject* parent)
    : QObject(parent), folder_(std::move(folder)) {}

InstanceChannel::~InstanceChannel() {
    if (server_) {
        server_->close(); // removes the socket file, so others stop finding this copy
#ifdef _WIN32
        QFile::remove(socketPath_);
#endif
    }
}

QString InstanceChannel::defaultFolder() {
#ifdef _WIN32
    // Windows' runtime location is the home folder itself: the user's temporary folder instead.
    QString base;
#else
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
#endif
    if (base.isEmpty()) {
        base = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    }
    return base + QStringLiteral("/ombrel-instances");
}

bool InstanceChannel::listen() {
    if (!folder_.mkpath(QStringLiteral("."))) {
        return false;
    }
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Unique per channel; the process id helps a person tell the copies apart.
    socketPath_ =
        folder_.filePath(QString::number(QCoreApplication::applicationPid()) + u'-' +
                         QUuid::createUuid().toString(QUuid::Id128).left(12) + socketSuffix);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(endpointOf(socketPath_))) {
        server_.reset();
        return false;
    }
#ifdef _WIN32
    if (QFile registration(socketPath_); !registration.open(QIODevice::WriteOnly)) {
        server_.reset();
        return false;
    }
#endif
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceChannel::serve);
    return true;
}

QStringList InstanceChannel::peerSockets() const {
    QStringList peers;
    const auto entries =
        folder_.entryInfoList({QStringLiteral("*") + socketSuffix}, QDir::System | QDir::Files,
                              QDir::Time | QDir::Reversed);
    for (const QFileInfo& entry : entries) {
        if (entry.absoluteFilePath() != socketPath_) {
            peers << entry.absoluteFilePath();
        }
    }
    return peers;
}

void InstanceChannel::closeAllOthers() {
    const QStringList peers = peerSockets();
    if (peers.isEmpty()) {
        Q_EMIT requestsFinished();
        return;
    }
    // Every copy is asked at once; none of them is waited for.
    for (const QString& peer : peers) {
        askNext(closeAllRequest, {peer}, false);
    }
}

void InstanceChannel::closeSameSource(const QString& source) {
    askNext(closeSamePrefix + source, peerSockets(), true);
}

void InstanceChannel::askNext(const QString& request, QStringList remaining, bool stopAtFirstYes) {
    if (remaining.isEmpty()) {
        if (pending_ == 0) {
            Q_EMIT requestsFinished();
        }
        return;
    }
    ++pending_;
    const QString peer = remaining.takeFirst();
    auto* socket = new QLocalSocket(this);
    auto* timer = new QTimer(socket);
    timer->setSingleShot(true);
    auto done = std::make_shared<bool>(false);
    auto finish = [this, socket, done, request, remaining, stopAtFirstYes](bool agreed) {
        if (*done) {
            return; // an answer, an error and the time-out may all arrive
        }
        *done = true;
        socket->deleteLater();
        --pending_;
        askNext(request, (agreed && stopAtFirstYes) ? QStringList() : remaining, stopAtFirstYes);
    };
    connect(timer, &QTimer::timeout, this, [finish] { finish(false); });
    connect(socket, &QLocalSocket::connected, this,
            [socket, request] { socket->write(request.toUtf8() + '\n'); });
    connect(socket, &QLocalSocket::readyRead, this, [socket, finish] {
        if (socket->canReadLine()) {
            finish(socket->readLine().trimmed() == "closing");
        }
    });
    connect(socket, &QLocalSocket::errorOccurred, this,
            [peer, finish](QLocalSocket::LocalSocketError error) {
                if (error == QLocalSocket::ConnectionRefusedError ||
                    error == QLocalSocket::ServerNotFoundError) {
                    QFile::remove(peer); // left behind by a copy that ended without cleaning up
                }
                finish(false);
            });
    timer->start(answerTimeoutMs);
    socket->connectToServer(endpointOf(peer));
}

void InstanceChannel::serve() {
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (!client->canReadLine()) {
                return;
            }
            const QString request = QString::fromUtf8(client->readLine()).chopped(1);
            bool agree = false;
            if (request == closeAllRequest) {
                agree = true;
            } else if (request.startsWith(closeSamePrefix)) {
                agree = matcher_ && matcher_(request.mid(closeSamePrefix.size()));
            }
            client->write(agree ? "closing\n" : "no\n");
            client->flush();
            if (agree) {
                // Answer first, then close on the next turn of the event loop.
                QTimer::singleShot(0, this, &InstanceChannel::closeRequested);
            }
        });
    }
}

} // namespace ombrel
