#pragma once

#include <QByteArray>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

struct ca_context;

namespace ombrel {

/// How the alert sound is played.
struct AlertSoundOptions {
    QByteArray driver;              ///< libcanberra's output driver; empty: its own choice
    std::function<void()> fallback; ///< what sounds when libcanberra cannot play (the beep)
};

/// The desktop's own alert sound for a change: the sound theme's "message-new-instant", else
/// its "bell", played by libcanberra through the desktop's sound server on a thread of its
/// own (opening the server may take a while). When no sound can be played the fallback sounds,
/// on the owner's thread.
class AlertSound : public QObject {
    Q_OBJECT
public:
    /// A player that has not opened libcanberra yet: the first play opens it.
    explicit AlertSound(AlertSoundOptions options, QObject* parent = nullptr);
    /// Waits for a play under way.
    ~AlertSound() override;

    /// Plays the sound, returning at once; a play asked for while another waits to start is
    /// the same play.
    void play();

Q_SIGNALS:
    /// A play ended: through libcanberra, or by the fallback (tests and measurements).
    void played(bool byCanberra);

private:
    struct ContextRelease {
        void operator()(ca_context* context) const;
    };

    bool playOnThread(); // on thread_ only

    AlertSoundOptions options_;
    QThread thread_;
    QObject onThread_; // the player thread's context for queued calls
    std::unique_ptr<ca_context, ContextRelease> context_; // touched on thread_ only
    std::atomic<bool> waiting_{false};
};

} // namespace ombrel
