#pragma once

#include <QString>
#include <QStringList>

namespace ombrel {

/// Name of the settings value that holds the computers an event-log Start reads.
inline const QString journalHostsSetting = QStringLiteral("JournalHosts");

/// The computers named in a stored or typed text: names separated by ";;" (as the keyword list
/// stores its list), blanks around each dropped, empty ones dropped. None: every computer.
QStringList parseJournalHosts(const QString& text);

/// The text that names hosts, joined by ";;".
QString journalHostsText(const QStringList& hosts);

} // namespace ombrel
