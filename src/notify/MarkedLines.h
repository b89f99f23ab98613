#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace ombrel {

class DisplayModel;

/// A line of a display text and what tells it from other lines: a hash of its characters.
struct NamedLine {
    std::int64_t line = 0;  ///< the line's number in its text
    std::uint64_t hash = 0; ///< equal for equal lines (LineHash)

    friend bool operator==(const NamedLine&, const NamedLine&) = default;
};

/// The newest marked lines of a display text, and its newest line that is not empty: what a
/// change is told by. Made off the window's thread with the display's model; bounded in size
/// whatever the text, so comparing two of them costs the window microseconds.
class MarkedLines {
public:
    /// Marked lines kept, newest first: more than any burst between two checks is likely to add.
    static constexpr std::size_t kept = 1000;
    /// Characters of a line that its hash reads (with its length): long lines hash quickly.
    static constexpr std::int64_t hashedChars = 4096;

    /// No lines.
    MarkedLines() = default;
    /// The lines of model that hold a mark (the newest `kept` of them) and its newest non-empty
    /// line.
    static MarkedLines of(const DisplayModel& model);
    /// The hash of line of model.
    static std::uint64_t lineHash(const DisplayModel& model, std::int64_t line);

    /// The newest marked lines, in text order.
    const std::vector<NamedLine>& marked() const { return marked_; }
    /// The newest line that is not empty, if any.
    const std::optional<NamedLine>& newest() const { return newest_; }
    /// The newest line (marked, or the newest line) with that hash, if any.
    std::optional<std::int64_t> find(std::uint64_t hash) const;

private:
    std::vector<NamedLine> marked_;
    std::optional<NamedLine> newest_;
};

} // namespace ombrel
