#include "eventlog/JournalHosts.h"

#include "display/KeywordList.h"

namespace ombrel {

QStringList parseJournalHosts(const QString& text) {
    QStringList hosts;
    for (const QString& piece : KeywordList::parse(text)) {
        // A host name never holds blanks; typed ones around ";;" are not part of it.
        if (QString host = piece.trimmed(); !host.isEmpty()) {
            hosts.append(host);
        }
    }
    return hosts;
}

QString journalHostsText(const QStringList& hosts) {
    return hosts.join(KeywordList::separator);
}

} // namespace ombrel
