#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace ombrel {

/// Start-up values for the main window, from the settings first and the command line second.
struct StartupOptions {
    std::int32_t byteCount = 1000;  ///< bytes (or entries) to display
    std::int32_t checkInterval = 5; ///< seconds between checks
    QString sourceText;             ///< file named on the command line
    bool startRequested = false;    ///< a file was named: start monitoring once the window is up
    bool hideControls = false;      ///< open with the controls hidden
    bool closeAllOthers = false;    ///< close every other running copy ("/ka")
    bool closeSameSource = false;   ///< close the copy watching the same source ("/k")
    bool placementGiven = false;    ///< startRect holds the window's first placement
    QRect startRect;                ///< left, top, width, height in pixels
    QString faceName;               ///< display font face ("/font:")
    bool showSplash = true;         ///< show the splash at start ("--no-splash" clears it)
    QString journalDirectory;       ///< journal files to read instead of the machine's journal
    QStringList journalHosts;       ///< the computers an event-log Start reads; empty: all
};

} // namespace ombrel
