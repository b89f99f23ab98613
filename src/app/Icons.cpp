#include "app/Icons.h"

static void initIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace ombrel {

Icons Icons::load() {
    initIconResources(); // the resources live in a static library
    Icons icons;
    icons.application = QIcon(QStringLiteral(":/icons/ombrel.svg"));
    icons.paused = QIcon(QStringLiteral(":/icons/paused.svg"));
    for (std::size_t i = 0; i < icons.frames.size(); ++i) {
        icons.frames[i] = QIcon(QStringLiteral(":/icons/frame%1.svg").arg(i));
    }
    return icons;
}

} // namespace ombrel
