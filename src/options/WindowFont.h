#pragma once

#include <QString>

class QFont;
class QWidget;

namespace ombrel {

/// The display's font for the run: a face named on the command line is applied at every Start
/// until the user picks a font, which then stays until the program ends (it is not stored).
class WindowFont {
public:
    /// faceName: the command line's face, or empty.
    explicit WindowFont(QString faceName) : faceName_(std::move(faceName)) {}

    /// At a Start: while the command line's face is in force, display takes windowFont with
    /// that face.
    void applyAtStart(QWidget& display, const QFont& windowFont) const;
    /// The user chose font: display takes its face, size, weight and effects, and the command
    /// line's face no longer applies.
    void choose(QWidget& display, const QFont& font);
    /// The command line's face while in force, else empty.
    const QString& faceName() const { return faceName_; }

private:
    QString faceName_;
};

} // namespace ombrel
