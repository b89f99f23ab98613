#pragma once

#include <QString>
#include <QStringView>
#include <array>

namespace ombrel {

/// Folds text for comparison without regard to case, keeping every position: the result has
/// the same length, and the character at each position is the fold of the one at the same
/// position of text. Uses Unicode simple case folding, which maps one character to one
/// ("ÄRGER" to "ärger", "ẞ" to "ß"); a character whose only folding would change the length
/// ("İ", "ß" to "ss") stays as it is. ASCII runs take a fast path.
QString foldCaseAligned(QStringView text);

/// The fold of each character below U+10000 as foldCaseAligned folds it alone (a surrogate
/// folds to itself), by its code.
const std::array<char16_t, 0x10000>& basicPlaneFolds();

/// Folds text as above into out, which holds text.size() characters and must not overlap it.
void foldCaseAligned(QStringView text, char16_t* out);

} // namespace ombrel
