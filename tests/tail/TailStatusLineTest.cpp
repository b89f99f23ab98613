#include "tail/TailStatusLine.h"

#include <QByteArray>
#include <ctime>
#include <gtest/gtest.h>

using ombrel::ctimeText;
using ombrel::FileStatus;
using ombrel::tailStatusLine;

namespace {
// Local time is the process's time zone: pinned for a test and put back after it.
class PinnedZone {
public:
    PinnedZone() : saved_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {}
    ~PinnedZone() {
        had_ ? qputenv("TZ", saved_) : qunsetenv("TZ");
        tzset();
    }
    PinnedZone(const PinnedZone&) = delete;
    PinnedZone& operator=(const PinnedZone&) = delete;
    void use(const char* zone) {
        qputenv("TZ", zone);
        tzset();
    }

private:
    QByteArray saved_;
    bool had_;
};
} // namespace

TEST(TailStatusLine, CtimeTextIsTheCLibrarysLocalTimeWithoutAYearLimit) {
    PinnedZone zones;
    // POSIX zones, which the Windows C library reads too.
    for (const char* zone : {"UTC0", "EST5EDT"}) {
        zones.use(zone);
        for (const std::time_t t : {std::time_t{1'690'000'000}, // summer
                                    std::time_t{4'102'444'800}, std::time_t{-86'400}}) {
            // The Windows C library has no text for times before 1970.
            if (const char* text = std::ctime(&t)) {
                EXPECT_EQ(ctimeText(t), QString::fromLatin1(text)) << zone << " " << t;
            }
        }
    }
    EXPECT_EQ(ctimeText(1'700'000'000), QStringLiteral("Tue Nov 14 17:13:20 2023\n"));
#ifndef _WIN32 // the Windows C library's times end with the year 3000
    zones.use("UTC0");
    EXPECT_EQ(ctimeText(253'402'300'800), QStringLiteral("Sat Jan  1 00:00:00 10000\n"));
#endif
}

TEST(TailStatusLine, Has64BitSizeAndLineCount) {
    PinnedZone zone;
    zone.use("UTC0");
    const FileStatus stat{(std::int64_t{5} << 30) + 1, {1'700'000'000, 999'999'999}};
    EXPECT_EQ(
        tailStatusLine(stat, 42),
        QStringLiteral("Update: Tue Nov 14 22:13:20 2023\n   Filesize: 5368709121   Lines: 42"));
}
