#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace ombrel {

class AboutBox;
class ConfigDocument;
struct ManualSearchDirs;

/// Opens the user manual's contents page in the desktop's browser; does nothing when no
/// manual is found in dirs. True when it was handed on.
bool openHelp(const ManualSearchDirs& dirs);

/// Opens the address that the configuration element pattern ("//WebsiteURL", "//ForumURL")
/// holds, through openAddress; a missing element does nothing. True when it was handed on.
bool openConfigAddress(const ConfigDocument& config, const QString& pattern);

/// The about box over parent, with the picture of the archive this process finds; with config,
/// its "//Credits" scroll over the picture, without one the picture stands alone.
std::unique_ptr<AboutBox> makeAboutBox(const ConfigDocument* config, QWidget* parent);

} // namespace ombrel
