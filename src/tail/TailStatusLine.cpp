#include "tail/TailStatusLine.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

// The day of the month as the platform's C library writes it: Windows' with a leading zero.
#ifdef _WIN32
#define OMBREL_CTIME_DAY " %.2d"
#else
#define OMBREL_CTIME_DAY "%3d"
#endif

namespace ombrel {

QString ctimeText(std::int64_t secondsSinceEpoch) {
    // ctime's own layout and names, but re-entrant and safe for any year.
    static constexpr const char* weekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const auto time = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
#ifdef _WIN32
    const bool converted = localtime_s(&local, &time) == 0;
#else
    const bool converted = localtime_r(&time, &local) != nullptr;
#endif
    if (!converted || local.tm_wday < 0 || local.tm_wday > 6 || local.tm_mon < 0 ||
        local.tm_mon > 11) {
        return QStringLiteral("??? ??? ?? ??:??:?? ????\n");
    }
    // snprintf into a buffer: QString::asprintf costs several times more, and a journal's
    // thousands of blocks each show a time.
    char text[64];
    const int length =
        std::snprintf(text, sizeof text, "%.3s %.3s" OMBREL_CTIME_DAY " %.2d:%.2d:%.2d %lld\n",
                      weekdays[local.tm_wday], months[local.tm_mon], local.tm_mday, local.tm_hour,
                      local.tm_min, local.tm_sec, 1900LL + local.tm_year);
    return QString::fromLatin1(text, std::clamp(length, 0, static_cast<int>(sizeof text) - 1));
}

QString tailStatusLine(const FileStatus& lastStat, std::int64_t lines) {
    return QStringLiteral("Update: %1   Filesize: %2   Lines: %3")
        .arg(ctimeText(lastStat.modified.seconds))
        .arg(lastStat.size)
        .arg(lines);
}

} // namespace ombrel
