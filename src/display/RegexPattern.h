#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct pcre2_real_code_8;
struct pcre2_real_code_16;

namespace ombrel {

/// How a search pattern is read.
struct RegexOptions {
    bool matchCase = false;  ///< letters as they are; else folded (Unicode simple case folding)
    bool literal = false;    ///< plain text, not an expression
    bool wholeWords = false; ///< no letter, digit, mark or '_' right before or after a match
};

/// Why a pattern was not accepted.
struct RegexError {
    QString message;      ///< the engine's own words
    qsizetype offset = 0; ///< where in the pattern it stopped, in characters
};

/// A compiled pattern (PCRE2 with its JIT): the 16-bit form for UTF-16 text and, when the
/// pattern is Latin-1, the 8-bit form that searches narrow text in place. Shared by threads.
class RegexPattern {
public:
    /// Steps one match attempt may take: a backtracking disaster stops here, not in a hang.
    static constexpr std::uint32_t defaultMatchLimit = 1'000'000;

    /// Compiles pattern; null with error filled when the engine refuses it.
    static std::shared_ptr<const RegexPattern> compile(const QString& pattern, RegexOptions options,
                                                       RegexError* error);
    ~RegexPattern();
    RegexPattern(const RegexPattern&) = delete;
    RegexPattern& operator=(const RegexPattern&) = delete;

    /// The form for narrow text, null when the pattern needs characters above U+00FF.
    pcre2_real_code_8* narrowCode() const { return narrow_; }
    /// The form for UTF-16 text.
    pcre2_real_code_16* wideCode() const { return wide_; }
    /// True when no match can hold or depend on a line end (a literal): the text may then be
    /// searched many lines at a time.
    bool lineSafe() const { return lineSafe_; }
    /// Code units of which every match holds one (any of them); empty when none is known.
    const std::vector<char16_t>& requiredUnits() const { return required_; }

private:
    RegexPattern() = default;

    pcre2_real_code_8* narrow_ = nullptr;
    pcre2_real_code_16* wide_ = nullptr;
    bool lineSafe_ = false;
    std::vector<char16_t> required_;
};

} // namespace ombrel
