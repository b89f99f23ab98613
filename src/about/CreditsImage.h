#pragma once

#include <QImage>
#include <QString>

namespace ombrel {

/// The credits drawn once, line by line as layoutCredits places them, into a white
/// 220 x 300 image: headings blue (16, 140, 231) and bold, emphasis bold, body plain, all black
/// but the headings, in an Arial-like face whose cell fits the line's height.
QImage renderCredits(const QString& credits);

} // namespace ombrel
