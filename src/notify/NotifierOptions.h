#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace ombrel {

/// What a notifier sends besides the notice.
struct NotifierOptions {
    QString appIcon = QStringLiteral("ombrel"); ///< the installed icon's name
    QImage image;                 ///< sent as the icon's pixels too, unless null (icon installed)
    std::int64_t periodMs = 5000; ///< at most one notification per source in this time
    int callTimeoutMs = 5000;     ///< how long an answer is waited for, off the window's thread
};

/// A watched source as notifications name it.
struct NoticeSource {
    QString key;  ///< tells sources apart (the full path, or the log's name)
    QString name; ///< shown after "Ombrel: "
};

} // namespace ombrel
