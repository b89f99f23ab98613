#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace ombrel {

class AboutBox;
class ConfigDocument;
struct ManualSearchDirs;

/// Opens the user manual's contents page in the desktop's browser. True when it was handed on;
/// otherwise a message box over reportTo (when given) tells that no manual was found in dirs
/// or names the page nothing could open.
bool openHelp(const ManualSearchDirs& dirs, QWidget* reportTo = nullptr);

/// Opens the address that the configuration element pattern ("//WebsiteURL", "//ForumURL")
/// holds, through openAddress (which tells reportTo of a failure); a missing element does
/// nothing. True when it was handed on.
bool openConfigAddress(const ConfigDocument& config, const QString& pattern,
                       QWidget* reportTo = nullptr);

/// The about box over parent, with the picture of the archive this process finds; with config,
/// its "//Credits" scroll over the picture, without one the picture stands alone.
std::unique_ptr<AboutBox> makeAboutBox(const ConfigDocument* config, QWidget* parent);

} // namespace ombrel
