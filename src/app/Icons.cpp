#include "app/Icons.h"

// Qt's SVG icon engine draws the icons at every size; a build without it (Windows) packs
// them drawn beforehand into .ico files.
#ifndef OMBREL_ICON_SUFFIX
#define OMBREL_ICON_SUFFIX ".svg"
#endif

static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace ombrel {

Icons Icons::load() {
    initIconResources(); // the resources live in a static library
    Icons icons;
    icons.application = QIcon(QStringLiteral(":/icons/ombrel" OMBREL_ICON_SUFFIX));
    icons.paused = QIcon(QStringLiteral(":/icons/paused" OMBREL_ICON_SUFFIX));
    for (std::size_t i = 0; i < icons.frames.size(); ++i) {
        icons.frames[i] = QIcon(QStringLiteral(":/icons/frame%1" OMBREL_ICON_SUFFIX).arg(i));
    }
    return icons;
}

} // namespace ombrel
