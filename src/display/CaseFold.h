#pragma once

#include <QString>
#include <QStringView>

namespace ombrel {

/// Folds text for comparison without regard to case, keeping every position: the result has
/// the same length, and the character at each position is the fold of the one at the same
/// position of text. Uses Unicode simple case folding, which maps one character to one
/// ("ÄRGER" to "ärger", "ẞ" to "ß"); a character whose only folding would change the length
/// ("İ", "ß" to "ss") stays as it is. ASCII runs take a fast path.
QString foldCaseAligned(QStringView text);

/// Folds text as above into out, which holds text.size() characters and must not overlap it.
void foldCaseAligned(QStringView text, char16_t* out);

} // namespace ombrel
