#pragma once

#include <QString>
#include <vector>

namespace ombrel {

class ConfigDocument;

/// How a credits line is drawn.
enum class CreditsLineKind {
    Heading,  ///< began with a tab: blue, bold, 20-pixel cell
    Emphasis, ///< began with a carriage return: black, bold, 14-pixel cell
    Body,     ///< anything else, empty lines included: black, 14-pixel cell
};

/// One line of the credits, placed in the text image.
struct CreditsLine {
    CreditsLineKind kind = CreditsLineKind::Body;
    QString text; ///< without the leading tabs or carriage returns of its kind
    int top = 0;  ///< first row in the text image
};

/// The text image the credits are drawn into once, and what a line of each kind takes.
struct CreditsMetrics {
    static constexpr int width = 220;  ///< columns of the text image
    static constexpr int height = 300; ///< rows of the text image; lower lines are cut off
    /// Rows a line of the kind advances by (its font's cell height).
    static int lineHeight(CreditsLineKind kind);
};

/// The stored credits text with each two-character escape replaced: backslash-t by a tab,
/// then backslash-n by a line feed, then backslash-r by a carriage return.
QString expandCreditsEscapes(const QString& stored);

/// The credits of the configuration document ("//Credits"), escapes expanded; empty when the
/// document has none.
QString creditsFromConfig(const ConfigDocument& config);

/// The lines of credits split at line feeds, each with its kind and top row, as far as they
/// start inside the text image.
std::vector<CreditsLine> layoutCredits(const QString& credits);

} // namespace ombrel
