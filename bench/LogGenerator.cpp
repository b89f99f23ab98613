#include "LogGenerator.h"

#include <random>

namespace ombrel::bench {

namespace {
const char* const hosts[] = {"web01", "web02", "db-main", "cache3", "batch"};
const char* const services[] = {"nginx", "postgres", "cron", "sshd", "app-server", "kernel"};
const char* const levels[] = {"INFO", "INFO", "INFO", "INFO", "DEBUG", "DEBUG", "NOTICE", "WARN"};
const char* const words[] = {
    "request",   "completed", "user",     "session",  "token",  "cache",  "miss",
    "hit",       "query",     "rows",     "returned", "in",     "ms",     "connection",
    "accepted",  "from",      "port",     "worker",   "queue",  "length", "job",
    "scheduled", "retrying",  "upstream", "response", "status", "bytes",  "sent",
    "checksum",  "verified",  "flush",    "buffer",   "pool",   "idle"};
// Rare events that the sparse keyword list looks for.
const char* const rareEvents[] = {"ERROR disk quota exceeded", "FATAL out of memory",
                                  "timeout waiting for lock",  "segfault at address",
                                  "Exception in handler",      "connection refused by peer",
                                  "panic: unexpected state",   "denied by policy",
                                  "critical temperature",      "Traceback (most recent call last)"};
} // namespace

QByteArray generateLog(std::int64_t byteCount, std::uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&random](auto& array) {
        return array[std::uniform_int_distribution<std::size_t>(0, std::size(array) - 1)(random)];
    };
    QByteArray log;
    log.reserve(byteCount + 256);
    std::int64_t second = 0;
    while (log.size() < byteCount) {
        const int target = std::uniform_int_distribution<int>(80, 200)(random);
        QByteArray line =
            QByteArray("Dec  6 ") +
            QByteArray::number(10 + second / 3600 % 14).rightJustified(2, '0') + ':' +
            QByteArray::number(second / 60 % 60).rightJustified(2, '0') + ':' +
            QByteArray::number(second % 60).rightJustified(2, '0') + ' ' + pick(hosts) + ' ' +
            pick(services) + '[' +
            QByteArray::number(std::uniform_int_distribution<int>(100, 99999)(random)) +
            "]: " + pick(levels) + ' ';
        ++second;
        if (std::uniform_int_distribution<int>(0, 999)(random) < 4) {
            line += pick(rareEvents);
            line += ' ';
        }
        while (line.size() < target - 1) {
            line += pick(words);
            line += ' ';
        }
        line.truncate(target - 1);
        line += '\n';
        log += line;
    }
    log.truncate(byteCount);
    return log;
}

QStringList sparseKeywords() {
    return {QStringLiteral("error"),    QStringLiteral("fatal"),     QStringLiteral("timeout"),
            QStringLiteral("segfault"), QStringLiteral("exception"), QStringLiteral("refused"),
            QStringLiteral("panic"),    QStringLiteral("denied"),    QStringLiteral("critical"),
            QStringLiteral("traceback")};
}

QStringList denseKeywords() {
    // The levels and a few common words: about 10 000 hits per megabyte.
    return {QStringLiteral("warn"),     QStringLiteral("notice"), QStringLiteral("miss"),
            QStringLiteral("retrying"), QStringLiteral("hit"),    QStringLiteral("error")};
}

} // namespace ombrel::bench
