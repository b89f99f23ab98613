#pragma once

#include <QIcon>
#include <array>

namespace ombrel {

/// The program's own pictures: application (running), paused, and the change animation frames.
struct Icons {
    /// Loads every icon from the program's resources.
    static Icons load();

    QIcon application;
    QIcon paused;
    std::array<QIcon, 8> frames;
};

} // namespace ombrel
