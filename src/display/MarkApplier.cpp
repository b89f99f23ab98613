#include "display/MarkApplier.h"

#include <QFontInfo>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <unordered_map>

namespace ombrel {

void MarkApplier::apply(QTextDocument& document, const MarkRuns& marks) {
    if (marks.empty()) {
        return;
    }
    // The size a step grows from is the display's own; a font sized in pixels is asked for
    // its size in points.
    const QFont font = document.defaultFont();
    const double basePoints =
        font.pointSizeF() > 0 ? font.pointSizeF() : QFontInfo(font).pointSizeF();
    std::unordered_map<int, QTextCharFormat> formats; // one per size, shared by its runs
    const auto formatFor = [&](int sizeSteps) -> const QTextCharFormat& {
        auto [entry, added] = formats.try_emplace(sizeSteps);
        if (added) {
            QTextCharFormat& format = entry->second;
            format.setFontWeight(QFont::Bold);
            format.setUnderlineStyle(QTextCharFormat::DotLine);
            if (sizeSteps > 0) {
                format.setFontPointSize(basePoints + sizeSteps * MarkRun::markGrowthPoints);
            }
        }
        return entry->second;
    };

    // The last position is the document's closing paragraph mark, which is never marked.
    const std::int64_t lastPosition = document.characterCount() - 1;
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (const MarkRun& run : marks) {
        const std::int64_t end = std::min(run.end(), lastPosition);
        if (run.start >= end) {
            break;
        }
        cursor.setPosition(static_cast<int>(run.start));
        cursor.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        cursor.setCharFormat(formatFor(run.sizeSteps));
    }
    cursor.endEditBlock();
}

} // namespace ombrel
