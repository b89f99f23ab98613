#pragma once

#include "display/RegexPattern.h"

#include <QString>

namespace ombrel {

/// What the find bar asks for.
struct FindQuery {
    QString text;            ///< what to find; empty finds nothing
    bool matchCase = false;  ///< "Match case"
    bool regex = false;      ///< "Regular expression"
    bool wholeWords = false; ///< "Whole words"

    /// The pattern options of the query.
    RegexOptions options() const { return {matchCase, !regex, wholeWords}; }
    friend bool operator==(const FindQuery&, const FindQuery&) = default;
};

} // namespace ombrel
