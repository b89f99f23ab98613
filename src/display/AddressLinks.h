#pragma once

#include "display/LogText.h"

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace ombrel {

/// A web or mail address found in log text.
struct AddressRange {
    std::int64_t start = 0; ///< first character
    std::int64_t end = 0;   ///< one past the last character

    friend bool operator==(const AddressRange&, const AddressRange&) = default;
};

/// Finds the addresses a display shows as links: words that begin with "http://",
/// "https://", "ftp://", "mailto:" or "www." (any case), up to a blank, a quote or a bracket,
/// without trailing punctuation. Which of them may be opened is the address rule's business.
class AddressLinks {
public:
    /// The address around position in text, if one is there.
    static std::optional<AddressRange> at(QStringView text, std::int64_t position);
    /// The same in a display text of any size: only the characters near position are read.
    static std::optional<AddressRange> inText(const LogText& text, std::int64_t position);
    /// Every address in text, in order.
    static std::vector<AddressRange> all(QStringView text);
    /// The address to open for a link's text: "www." addresses are web addresses.
    static QString addressOf(const QString& linkText);
};

} // namespace ombrel
