#pragma once

#include <QString>
#include <QStringView>

namespace ombrel {

/// Which characters separate the elements of a path.
enum class PathStyle {
    Windows, ///< "\" and "/" separate elements; ":" also ends a drive or device prefix
    Posix,   ///< only "/" separates elements
#ifdef Q_OS_WIN
    Native = Windows, ///< the running platform's style
#else
    Native = Posix, ///< the running platform's style
#endif
};

/// Shortens a path for a window title or tooltip so that it fits limit characters counting
/// a terminator (at most limit - 1 characters), keeping its start and its last element.
/// Characters are Unicode code points; a cut never splits one.
QString compactPath(QStringView text, int limit, PathStyle style = PathStyle::Native);

} // namespace ombrel
