#pragma once

#include "app/StartupOptions.h"

#include <QSize>
#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <utility>

namespace ombrel {

/// The start-up options, in the order in which a command line is processed.
enum class CommandOption {
    Hide,             ///< "h": open with the controls hidden
    CloseAllOthers,   ///< "ka": close every other running copy
    CloseSameSource,  ///< "k": close the copy that watches the same source
    ByteCount,        ///< "s%d": bytes to display
    CheckInterval,    ///< "t%d": seconds between checks, clamped to 1..600
    PercentPlacement, ///< "pp%d,%d,%d,%d": placement in percent of the primary screen
    PixelPlacement,   ///< "pc%d,%d,%d,%d": placement in pixels, wins over "pp"
    FontFace,         ///< "font:face": the display font's face
};

/// Every option, in order of processing.
inline constexpr std::array<CommandOption, 8> commandOptions = {
    CommandOption::Hide,           CommandOption::CloseAllOthers, CommandOption::CloseSameSource,
    CommandOption::ByteCount,      CommandOption::CheckInterval,  CommandOption::PercentPlacement,
    CommandOption::PixelPlacement, CommandOption::FontFace,
};

/// The option's name as written after its slash, in lower case ("h", "ka", ..., "font:").
QString commandOptionName(CommandOption option);

/// True for the options that take nothing after their name ("h", "ka", "k").
bool isFlagOption(CommandOption option);

/// Carries out one option; argument is the text after the option's name, read as C's
/// sscanf would ("%d", "%d,%d,%d,%d" or "%s"). A number that cannot be read leaves its field,
/// an incomplete placement sets nothing, and the interval is clamped even without a number.
void applyCommandOption(CommandOption option, QStringView argument, QSize primaryScreen,
                        StartupOptions& options);

/// The option whose whole form argument is, written with "/" or "-" in any case, with the text
/// after the option's name; nothing for "/srv/log" or "-sx", which only begin like one.
std::optional<std::pair<CommandOption, QStringView>> matchOptionForm(QStringView argument);

/// Parses a command line (the text after the program name) as the Windows build receives it:
/// lower-cased as a whole, options found anywhere (first occurrence), then the file name.
void parseCommandLineText(const QString& text, QSize primaryScreen, StartupOptions& options);

} // namespace ombrel
