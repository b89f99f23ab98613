#include "eventlog/HostNameLookup.h"

#include "eventlog/SystemEventLog.h"

#include <QMetaObject>

namespace ombrel {

HostNameLookup::HostNameLookup(Reader reader, QObject* parent)
    : QObject(parent), reader_(std::move(reader)) {
    if (!reader_) {
        reader_ = [](const JournalSourceOptions& options) {
            JournalSourceOptions all = options;
            all.hosts.clear(); // every computer's name, whichever are chosen
            return systemEventLogHostNames(all);
        };
    }
}

HostNameLookup::~HostNameLookup() {
    if (thread_.joinable()) {
        thread_.join(); // its report, posted to this object, goes with it
    }
}

void HostNameLookup::start(const JournalSourceOptions& options) {
    pending_ = options;
    if (!busy_) {
        launch();
    }
}

void HostNameLookup::launch() {
    if (thread_.joinable()) {
        thread_.join(); // has reported, so it has ended or is about to
    }
    busy_ = true;
    const JournalSourceOptions options = *std::exchange(pending_, std::nullopt);
    thread_ = std::thread([this, options] {
        QStringList names = reader_(options);
        QMetaObject::invokeMethod(
            this,
            [this, names = std::move(names)] {
                busy_ = false;
                if (pending_) {
                    launch(); // asked for again meanwhile: these names may be stale
                } else {
                    Q_EMIT namesFound(names);
                }
            },
            Qt::QueuedConnection);
    });
}

} // namespace ombrel
