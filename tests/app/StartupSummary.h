#pragma once

#include "app/StartupOptions.h"

#include <QStringList>
#include <string>

namespace ombrel::test {

/// The options that differ from the defaults, in a fixed order, such as
/// "size=250 interval=9 hide ka k rect=1,2,3,4 font=arial nosplash start name=a.log".
inline std::string summary(const StartupOptions& o) {
    const QRect& r = o.startRect;
    const std::pair<bool, QString> parts[] = {
        {o.byteCount != 1000, u"size=%1"_qs.arg(o.byteCount)},
        {o.checkInterval != 5, u"interval=%1"_qs.arg(o.checkInterval)},
        {o.hideControls, u"hide"_qs},
        {o.closeAllOthers, u"ka"_qs},
        {o.closeSameSource, u"k"_qs},
        {o.placementGiven,
         u"rect=%1,%2,%3,%4"_qs.arg(r.left()).arg(r.top()).arg(r.width()).arg(r.height())},
        {!o.faceName.isEmpty(), u"font="_qs + o.faceName},
        {!o.journalDirectory.isEmpty(), u"journal="_qs + o.journalDirectory},
        {!o.journalHosts.isEmpty(), u"hosts="_qs + o.journalHosts.join(u'|')},
        {!o.showSplash, u"nosplash"_qs},
        {o.startRequested, u"start"_qs},
        {!o.sourceText.isEmpty(), u"name="_qs + o.sourceText}};
    QStringList shown;
    for (const auto& [differs, text] : parts) {
        if (differs) {
            shown << text;
        }
    }
    return shown.join(u' ').toStdString();
}

} // namespace ombrel::test
