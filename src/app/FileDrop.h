#pragma once

#include <QString>

class QMimeData;

namespace ombrel {

/// What the window takes from a drop: files only, the first of them.
class FileDrop {
public:
    /// The path of the first local file in data, or empty when it holds none.
    static QString firstLocalFile(const QMimeData& data);
};

} // namespace ombrel
