#include "app/CommandLine.h"

#include "app/StartupSettings.h"
#include "settings/DecimalNumber.h"
#include "tail/MonitorControl.h"

#include <algorithm>
#include <optional>

namespace ombrel {

namespace {

/// One "%d" from pos: blanks, an optional sign, at least one digit. Moves pos past the number.
std::optional<std::int32_t> scanDecimal(QStringView text, qsizetype& pos) {
    qsizetype used = 0;
    const auto value = parseLeadingDecimal(text.sliced(pos), &used); // saturates, never overflows
    pos += used;
    return value;
}

struct FourNumbers {
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
};

/// "%d,%d,%d,%d": the commas must follow the numbers directly, as in scanf.
std::optional<FourNumbers> scanFourNumbers(QStringView text) {
    std::array<std::int64_t, 4> values{};
    qsizetype pos = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != u',') {
                return std::nullopt;
            }
            ++pos;
        }
        const auto value = scanDecimal(text, pos);
        if (!value) {
            return std::nullopt;
        }
        values[i] = *value;
    }
    return FourNumbers{values[0], values[1], values[2], values[3]};
}

/// "%s": the first word of non-blank characters after any blanks.
QStringView firstWord(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && isCBlank(text[start])) {
        ++start;
    }
    qsizetype end = start;
    while (end < text.size() && !isCBlank(text[end])) {
        ++end;
    }
    return text.sliced(start, end - start);
}

/// Characters that may follow an option's name for the argument to still be that option.
bool fitsOptionTail(CommandOption option, QStringView tail) {
    const auto allOf = [tail](QStringView allowed) {
        return std::all_of(tail.begin(), tail.end(),
                           [allowed](QChar c) { return allowed.contains(c); });
    };
    switch (option) {
    case CommandOption::Hide:
    case CommandOption::CloseAllOthers:
    case CommandOption::CloseSameSource:
        return tail.isEmpty();
    case CommandOption::ByteCount:
    case CommandOption::CheckInterval:
        return allOf(u"+-0123456789");
    case CommandOption::PercentPlacement:
    case CommandOption::PixelPlacement:
        return allOf(u"+-,0123456789");
    case CommandOption::FontFace:
        return true;
    }
    return false;
}

} // namespace

QString commandOptionName(CommandOption option) {
    switch (option) {
    case CommandOption::Hide:
        return QStringLiteral("h");
    case CommandOption::CloseAllOthers:
        return QStringLiteral("ka");
    case CommandOption::CloseSameSource:
        return QStringLiteral("k");
    case CommandOption::ByteCount:
        return QStringLiteral("s");
    case CommandOption::CheckInterval:
        return QStringLiteral("t");
    case CommandOption::PercentPlacement:
        return QStringLiteral("pp");
    case CommandOption::PixelPlacement:
        return QStringLiteral("pc");
    case CommandOption::FontFace:
        return QStringLiteral("font:");
    }
    return QString();
}

bool isFlagOption(CommandOption option) {
    return option == CommandOption::Hide || option == CommandOption::CloseAllOthers ||
           option == CommandOption::CloseSameSource;
}

void applyCommandOption(CommandOption option, QStringView argument, QSize primaryScreen,
                        StartupOptions& options) {
    qsizetype pos = 0;
    switch (option) {
    case CommandOption::Hide:
        options.hideControls = true;
        break;
    case CommandOption::CloseAllOthers:
        options.closeAllOthers = true;
        break;
    case CommandOption::CloseSameSource:
        options.closeSameSource = true;
        break;
    case CommandOption::ByteCount:
        if (const auto count = scanDecimal(argument, pos)) {
            options.byteCount = boundedDisplayCount(*count);
        }
        break;
    case CommandOption::CheckInterval:
        if (const auto interval = scanDecimal(argument, pos)) {
            options.checkInterval = *interval;
        }
        options.checkInterval = boundedCheckInterval(options.checkInterval);
        break;
    case CommandOption::PercentPlacement:
        if (const auto numbers = scanFourNumbers(argument)) {
            // 64-bit products: a large percentage must not overflow; division truncates to zero.
            const std::int64_t screenWidth = primaryScreen.width();
            const std::int64_t screenHeight = primaryScreen.height();
            options.startRect = placementRect(
                screenWidth * numbers->x / 100, screenHeight * numbers->y / 100,
                screenWidth * numbers->width / 100, screenHeight * numbers->height / 100);
            options.placementGiven = true;
        }
        break;
    case CommandOption::PixelPlacement:
        if (const auto numbers = scanFourNumbers(argument)) {
            options.startRect =
                placementRect(numbers->x, numbers->y, numbers->width, numbers->height);
            options.placementGiven = true;
        }
        break;
    case CommandOption::FontFace:
        if (const QStringView face = firstWord(argument); !face.isEmpty()) {
            options.faceName = face.toString();
        }
        break;
    }
}

std::optional<std::pair<CommandOption, QStringView>> matchOptionForm(QStringView argument) {
    if (argument.size() < 2 || (argument[0] != u'/' && argument[0] != u'-')) {
        return std::nullopt;
    }
    const QStringView body = argument.sliced(1);
    for (const CommandOption option : commandOptions) {
        const QString name = commandOptionName(option);
        if (body.startsWith(name, Qt::CaseInsensitive)) {
            const QStringView tail = body.sliced(name.size());
            if (fitsOptionTail(option, tail)) {
                return std::pair{option, tail};
            }
        }
    }
    return std::nullopt;
}

void parseCommandLineText(const QString& text, QSize primaryScreen, StartupOptions& options) {
    QString line = text.toLower();
    for (const CommandOption option : commandOptions) {
        const QString key = u'/' + commandOptionName(option);
        const qsizetype at = line.indexOf(key);
        if (at < 0) {
            continue;
        }
        const qsizetype argumentStart = at + key.size();
        applyCommandOption(option, QStringView(line).sliced(argumentStart), primaryScreen, options);
        // Blank the option so that it never becomes part of the file name: a flag exactly,
        // any other option up to the next blank.
        qsizetype end = argumentStart;
        if (!isFlagOption(option)) {
            end = line.indexOf(u' ', at);
            if (end < 0) {
                end = line.size();
            }
        }
        for (qsizetype i = at; i < end; ++i) {
            line[i] = u' ';
        }
    }

    // A name in double quotes loses both quotes, also when blanked options stand before it;
    // a quote anywhere else is left alone.
    qsizetype first = 0;
    while (first < line.size() && line[first].isSpace()) {
        ++first;
    }
    if (first < line.size() && line[first] == u'"') {
        line[first] = u' ';
        if (const qsizetype closing = line.indexOf(u'"', first + 1); closing >= 0) {
            line[closing] = u' ';
        }
    }

    const QString name = line.trimmed();
    if (!name.isEmpty() && !name.startsWith(u'/')) {
        options.sourceText = name;
        options.startRequested = true;
    }
}

} // namespace ombrel
