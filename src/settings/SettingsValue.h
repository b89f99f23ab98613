#pragma once

#include <QString>
#include <QStringView>

namespace ombrel {

/// The value a settings line holds after its first "=": blanks (space, tab) at either end are
/// dropped; a value wholly in double quotes is unquoted, reading the backslash escapes inside
/// (\\ \" \n \r \t \a \b \f \v \xHEX \OCTAL); any other value is text exactly as written.
QString decodeSettingsValue(QStringView written);

/// What to write after "=" so that decodeSettingsValue gives value back: the value as it is
/// when it reads back unchanged and holds no control character, else quoted with escapes.
QString encodeSettingsValue(QStringView value);

} // namespace ombrel
