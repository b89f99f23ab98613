#include "display/SelectionMemo.h"

namespace ombrel {

SelectionMemo::SelectionMemo(const DisplayModel& model, const TextSelection& selection)
    : lineCount_(model.lineCount()), empty_(selection.isEmpty()) {
    if (empty_) {
        return;
    }
    const auto placeOf = [&model](std::int64_t position) {
        const std::int64_t line = model.lineOf(position);
        return Place{line, position - model.lineStart(line)};
    };
    anchor_ = placeOf(selection.anchor);
    caret_ = placeOf(selection.caret);
    // Shared, not copied: a large selection costs nothing to remember.
    text_ = model.content();
    start_ = selection.start();
    length_ = selection.end() - selection.start();
}

std::optional<TextSelection> SelectionMemo::placeIn(const DisplayModel& next,
                                                    std::int64_t lineShift) const {
    const auto positionOf = [&](const Place& place) -> std::optional<std::int64_t> {
        const std::int64_t line = place.line + lineShift;
        if (line < 0 || line >= next.lineCount() || place.column > next.lineLength(line)) {
            return std::nullopt;
        }
        return next.lineStart(line) + place.column;
    };
    const auto anchor = positionOf(anchor_);
    const auto caret = positionOf(caret_);
    if (!anchor || !caret) {
        return std::nullopt;
    }
    const TextSelection selection{*anchor, *caret};
    if (!next.content().holdsAt(selection.start(), text_, start_, length_)) {
        return std::nullopt;
    }
    return selection;
}

std::optional<TextSelection> SelectionMemo::restore(const DisplayModel& next) const {
    if (empty_) {
        return std::nullopt;
    }
    // Lines appended since push the text up, further than the growth of the line count says
    // once lines drop off the top; a bounded search keeps the cost apart from the text's size.
    const std::int64_t fromEnd = next.lineCount() - lineCount_;
    for (std::int64_t appended = 0; appended <= maxAppendedLines; ++appended) {
        if (auto found = placeIn(next, fromEnd - appended)) {
            return found;
        }
    }
    return placeIn(next, 0);
}

} // namespace ombrel
