#pragma once

#include "display/DisplayModel.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace ombrel {

/// A selection in a display text: where it was started and where it was ended.
struct TextSelection {
    std::int64_t anchor = 0; ///< where the selection was started
    std::int64_t caret = 0;  ///< where it ends; the caret rests here

    /// The smaller end.
    std::int64_t start() const { return std::min(anchor, caret); }
    /// The larger end.
    std::int64_t end() const { return std::max(anchor, caret); }
    /// True when it holds at least one character.
    bool isEmpty() const { return anchor == caret; }
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};

/// Carries a selection from one display text to the next, as an editor keeps a selection while
/// text is added elsewhere: it stays when its text is found again at the same line and column
/// counted from the end, or up to maxAppendedLines lines further up (lines were appended and
/// as many dropped off the top), or else counted from the start (the text only grew).
class SelectionMemo {
public:
    /// How many appended lines a selection is followed through.
    static constexpr std::int64_t maxAppendedLines = 4096;

    /// Remembers selection of model; an empty selection is not remembered.
    SelectionMemo(const DisplayModel& model, const TextSelection& selection);

    /// The selection in next, when the same text is there; nothing otherwise.
    std::optional<TextSelection> restore(const DisplayModel& next) const;

private:
    struct Place {
        std::int64_t line = 0; // counted from the first line
        std::int64_t column = 0;
    };
    std::optional<TextSelection> placeIn(const DisplayModel& next, std::int64_t lineShift) const;

    LogText text_; // the earlier model's text
    std::int64_t start_ = 0;
    std::int64_t length_ = 0;
    Place anchor_;
    Place caret_;
    std::int64_t lineCount_ = 0;
    bool empty_ = true;
};

} // namespace ombrel
