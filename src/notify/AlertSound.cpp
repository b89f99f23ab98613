#include "notify/AlertSound.h"

#include <canberra.h>

namespace ombrel {

void AlertSound::ContextRelease::operator()(ca_context* context) const {
    ca_context_destroy(context);
}

AlertSound::AlertSound(AlertSoundOptions options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {
    thread_.setObjectName(QStringLiteral("alert sound"));
    onThread_.moveToThread(&thread_);
    thread_.start();
}

AlertSound::~AlertSound() {
    thread_.quit();
    thread_.wait();
    context_.reset(); // the thread has ended: nothing else touches it
}

void AlertSound::play() {
    if (waiting_.exchange(true)) {
        return; // the play waiting will do
    }
    QMetaObject::invokeMethod(&onThread_, [this] {
        waiting_ = false;
        const bool byCanberra = playOnThread();
        QMetaObject::invokeMethod(this, [this, byCanberra] {
            if (!byCanberra && options_.fallback) {
                options_.fallback();
            }
            Q_EMIT played(byCanberra);
        });
    });
}

bool AlertSound::playOnThread() {
    if (!context_) {
        // Opened at the first play and again after a failure: a sound server may come later.
        ca_context* context = nullptr;
        if (ca_context_create(&context) != CA_SUCCESS) {
            return false;
        }
        std::unique_ptr<ca_context, ContextRelease> opened(context);
        if (!options_.driver.isEmpty() &&
            ca_context_set_driver(context, options_.driver.constData()) != CA_SUCCESS) {
            return false;
        }
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Ombrel", CA_PROP_APPLICATION_ID,
                                "org.dravik.Ombrel", CA_PROP_APPLICATION_ICON_NAME, "ombrel",
                                nullptr);
        if (ca_context_open(context) != CA_SUCCESS) {
            return false;
        }
        context_ = std::move(opened);
    }
    for (const char* event : {"message-new-instant", "bell"}) {
        const int played =
            ca_context_play(context_.get(), 0, CA_PROP_EVENT_ID, event, CA_PROP_EVENT_DESCRIPTION,
                            "A watched log changed", nullptr);
        if (played == CA_SUCCESS) {
            return true;
        }
        if (played != CA_ERROR_NOTFOUND) {
            break; // the server, not the theme: another event plays no better
        }
    }
    return false;
}

} // namespace ombrel
