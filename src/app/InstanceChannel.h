#pragma once

#include <QDir>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QLocalServer;

namespace ombrel {

/// How running copies of the program reach each other: each copy listens on a per-user local
/// socket registered in one folder, and can ask the others to close.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    /// Decides whether this copy watches the given source (for a "close the same" request).
    using SourceMatcher = std::function<bool(const QString& source)>;

    /// A channel registered in folder (created if missing; normally the user's runtime folder).
    explicit InstanceChannel(QString folder, QObject* parent = nullptr);
    ~InstanceChannel() override;

    /// The user's default folder for the channel.
    static QString defaultFolder();
    /// Starts listening; false when the socket cannot be made (the copy then stays unreachable).
    bool listen();
    /// Sets how this copy answers a "close the same source" request.
    void setSourceMatcher(SourceMatcher matcher) { matcher_ = std::move(matcher); }
    /// Asks every other copy to close; never waits for an answer.
    void closeAllOthers();
    /// Asks the other copies one after another, until one that watches source agrees to close.
    void closeSameSource(const QString& source);

Q_SIGNALS:
    /// Another copy asked this one to close.
    void closeRequested();
    /// Every request sent by closeAllOthers / closeSameSource has been answered or given up.
    void requestsFinished();

private:
    QStringList peerSockets() const;
    void askNext(const QString& request, QStringList remaining, bool stopAtFirstYes);
    void serve();

    QDir folder_;
    QString socketPath_;
    std::unique_ptr<QLocalServer> server_;
    SourceMatcher matcher_;
    int pending_ = 0;
};

} // namespace ombrel
