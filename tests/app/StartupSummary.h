#pragma once

#include "app/StartupOptions.h"

#include <QStringList>
#include <string>

namespace ombrel::test {

/// The options that differ from the defaults, in a fixed order, such as
/// "size=250 interval=9 hide ka k rect=1,2,3,4 font=arial nosplash start name=a.log".
inline std::string summary(const StartupOptions& o) {
    QStringList parts;
    if (o.byteCount != 1000) {
        parts << QStringLiteral("size=%1").arg(o.byteCount);
    }
    if (o.checkInterval != 5) {
        parts << QStringLiteral("interval=%1").arg(o.checkInterval);
    }
    const std::pair<bool, const char*> flags[] = {
        {o.hideControls, "hide"}, {o.closeAllOthers, "ka"}, {o.closeSameSource, "k"}};
    for (const auto& [on, name] : flags) {
        if (on) {
            parts << QString::fromLatin1(name);
        }
    }
    if (o.placementGiven) {
        const QRect& r = o.startRect;
        parts << QStringLiteral("rect=%1,%2,%3,%4")
                     .arg(r.left())
                     .arg(r.top())
                     .arg(r.width())
                     .arg(r.height());
    }
    if (!o.faceName.isEmpty()) {
        parts << QStringLiteral("font=") + o.faceName;
    }
    if (!o.journalDirectory.isEmpty()) {
        parts << QStringLiteral("journal=") + o.journalDirectory;
    }
    if (!o.showSplash) {
        parts << QStringLiteral("nosplash");
    }
    if (o.startRequested) {
        parts << QStringLiteral("start");
    }
    if (!o.sourceText.isEmpty()) {
        parts << QStringLiteral("name=") + o.sourceText;
    }
    return parts.join(u' ').toStdString();
}

} // namespace ombrel::test
