#include "about/HelpCommands.h"

#include "about/AboutBox.h"
#include "about/CreditsLayout.h"
#include "about/ManualLocation.h"
#include "about/OpenAddress.h"
#include "archive/ArchivePath.h"
#include "archive/ConfigDocument.h"

#include <QDesktopServices>
#include <QUrl>

namespace ombrel {

bool openHelp(const ManualSearchDirs& dirs) {
    const QString contents = findManualContents(dirs);
    return !contents.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(contents));
}

bool openConfigAddress(const ConfigDocument& config, const QString& pattern) {
    const std::optional<QString> address = config.text(pattern);
    return address && openAddress(*address);
}

std::unique_ptr<AboutBox> makeAboutBox(const ConfigDocument* config, QWidget* parent) {
    return std::make_unique<AboutBox>(findArchivePath(ArchiveSearchDirs::forThisProcess()),
                                      config ? creditsFromConfig(*config) : QString(), parent);
}

} // namespace ombrel
