#pragma once

#include <QString>

namespace ombrel {

/// The folders where the program looks for its user manual, in this order.
struct ManualSearchDirs {
    /// The folder of the running executable (a build keeps the manual beside its program).
    QString executableDir;
    /// The installed data folder.
    QString dataDir;

    /// The folders of this process; needs a QCoreApplication for the executable's folder.
    static ManualSearchDirs forThisProcess();
};

/// The manual's contents page ("manual/index.html") in the first of dirs that holds it, or an
/// empty text when none does.
QString findManualContents(const ManualSearchDirs& dirs);

} // namespace ombrel
