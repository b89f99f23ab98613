#pragma once

#include <QFont>
#include <QString>

class QFontDialog;

namespace ombrel {

/// The style name of the face of family closest to like in slant, weight and width; empty
/// when the family has no faces listed.
QString closestStyle(const QString& family, const QFont& like);

/// font with the style name of its own face, so the font dialog selects that face in its list
/// (it cannot match a plain "Normal" to a family's "Book" or "Regular" face).
QFont withStyleName(QFont font);

/// Keeps the slant and weight of the dialog's font when the user picks another family; left to
/// itself the dialog takes the family's first face, often a bold or slanted one.
void keepStyleAcrossFamilies(QFontDialog& dialog);

} // namespace ombrel
