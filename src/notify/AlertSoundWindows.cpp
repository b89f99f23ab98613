// The alert sound on Windows: the fallback alone, which is the system's own beep there
// (QApplication::beep plays the sound scheme's default sound); there is no libcanberra.
#include "notify/AlertSound.h"

namespace ombrel {

void AlertSound::ContextRelease::operator()(ca_context*) const {}

AlertSound::AlertSound(AlertSoundOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

AlertSound::~AlertSound() = default;

void AlertSound::play() {
    if (waiting_.exchange(true)) {
        return; // the play waiting will do
    }
    // Queued, as on the player thread elsewhere: play never sounds before it returns.
    QMetaObject::invokeMethod(
        this,
        [this] {
            waiting_ = false;
            if (options_.fallback) {
                options_.fallback();
            }
            Q_EMIT played(false);
        },
        Qt::QueuedConnection);
}

} // namespace ombrel
