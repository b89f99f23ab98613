#include "about/HelpCommands.h"

#include "about/AboutBox.h"
#include "about/CreditsLayout.h"
#include "about/ManualLocation.h"
#include "about/OpenAddress.h"
#include "app/MessageBoxes.h"
#include "archive/ArchivePath.h"
#include "archive/ConfigDocument.h"

#include <QDesktopServices>
#include <QUrl>

namespace ombrel {

bool openHelp(const ManualSearchDirs& dirs, QWidget* reportTo) {
    const QString contents = findManualContents(dirs);
    if (contents.isEmpty()) {
        if (reportTo) {
            openMessageBox(reportTo, QMessageBox::Warning, QStringLiteral("Ombrel"),
                           QStringLiteral("The user manual was not found."),
                           QStringLiteral("manualNotFoundBox"));
        }
        return false;
    }
    const QUrl page = QUrl::fromLocalFile(contents);
    if (QDesktopServices::openUrl(page)) {
        return true;
    }
    if (reportTo) {
        reportUnopenedAddress(reportTo, page.toString());
    }
    return false;
}

bool openConfigAddress(const ConfigDocument& config, const QString& pattern, QWidget* reportTo) {
    const std::optional<QString> address = config.text(pattern);
    return address && openAddress(*address, reportTo);
}

std::unique_ptr<AboutBox> makeAboutBox(const ConfigDocument* config, QWidget* parent) {
    return std::make_unique<AboutBox>(findArchivePath(ArchiveSearchDirs::forThisProcess()),
                                      config ? creditsFromConfig(*config) : QString(), parent);
}

} // namespace ombrel
