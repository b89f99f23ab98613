#include "display/LogText.h"

#include <QLatin1StringView>
#include <QStringView>
#include <algorithm>

namespace ombrel {

LogText LogText::fromLatin1(QByteArray bytes) {
    LogText text;
    text.bytes_ = std::move(bytes);
    text.latin1_ = true;
    return text;
}

QString LogText::mid(std::int64_t start, std::int64_t length) const {
    start = std::clamp<std::int64_t>(start, 0, size());
    length = std::clamp<std::int64_t>(length, 0, size() - start);
    const auto from = static_cast<qsizetype>(start);
    const auto count = static_cast<qsizetype>(length);
    return latin1_ ? QString::fromLatin1(bytes_.constData() + from, count) : wide_.mid(from, count);
}

bool LogText::holdsAt(std::int64_t start, QStringView text) const {
    if (start < 0 || start + text.size() > size()) {
        return false;
    }
    const auto from = static_cast<qsizetype>(start);
    return latin1_ ? QLatin1StringView(bytes_.constData() + from, text.size()) == text
                   : QStringView(wide_).sliced(from, text.size()) == text;
}

void LogText::truncate(std::int64_t size) {
    if (latin1_) {
        bytes_.truncate(static_cast<qsizetype>(size));
        bytes_.squeeze();
    } else {
        wide_.truncate(static_cast<qsizetype>(size));
        wide_.squeeze();
    }
}

bool operator==(const LogText& a, const LogText& b) {
    if (a.latin1_ && b.latin1_) {
        return a.bytes_ == b.bytes_;
    }
    if (!a.latin1_ && !b.latin1_) {
        return a.wide_ == b.wide_;
    }
    const LogText& narrow = a.latin1_ ? a : b;
    const LogText& wide = a.latin1_ ? b : a;
    return QLatin1StringView(narrow.bytes_) == QStringView(wide.wide_);
}

} // namespace ombrel
