#include "display/LogText.h"

#include "display/DisplayLines.h"

#include <algorithm>
#include <cstring>

namespace ombrel {

namespace {

constexpr std::int64_t blockSize = 4096;

std::int64_t zerosIn(const char* begin, std::int64_t count) {
    return std::count(begin, begin + count, '\0');
}

// Calls f with the offset of each 0 byte among count bytes, in order.
template <class F> void forEachZero(const char* begin, std::int64_t count, F f) {
    const char* end = begin + count;
    for (const char* at = begin; at < end;) {
        const auto* zero =
            static_cast<const char*>(std::memchr(at, 0, static_cast<std::size_t>(end - at)));
        if (zero == nullptr) {
            return;
        }
        f(zero - begin);
        at = zero + 1;
    }
}

} // namespace

LogText LogText::fromNarrow(QByteArray bytes, QString wideUnits) {
    LogText text;
    text.bytes_ = std::move(bytes);
    text.wideUnits_ = std::move(wideUnits);
    text.narrow_ = true;
    text.indexWideUnits();
    return text;
}

LogText LogText::narrowed(QStringView text) {
    const auto endsLine = [](QChar c) {
        return c.unicode() > u'\r' && lineEnds::endsLine(c.unicode());
    };
    if (std::any_of(text.begin(), text.end(), endsLine)) {
        return text.toString(); // a 0 byte cannot stand for a line end
    }
    QByteArray bytes(text.size(), Qt::Uninitialized);
    QString wideUnits;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        const bool ownByte = unit != 0 && unit < 0x100;
        bytes[i] = ownByte ? static_cast<char>(unit) : '\0';
        if (!ownByte) {
            wideUnits.append(text[i]);
        }
    }
    return fromNarrow(std::move(bytes), std::move(wideUnits));
}

void LogText::indexWideUnits() {
    wideBefore_.clear();
    if (wideUnits_.isEmpty()) {
        wideBefore_.shrink_to_fit();
        return;
    }
    const std::int64_t size = bytes_.size();
    wideBefore_.reserve(static_cast<std::size_t>(size / blockSize + 1));
    std::int64_t before = 0;
    for (std::int64_t block = 0; block < size; block += blockSize) {
        wideBefore_.push_back(before);
        before += zerosIn(bytes_.constData() + block, std::min(blockSize, size - block));
    }
    // A list that does not match the 0 bytes is made to, so that no lookup leaves it.
    wideUnits_.resize(static_cast<qsizetype>(before), QChar(0xFFFD));
}

std::int64_t LogText::wideUnitsBefore(std::int64_t position) const {
    if (wideBefore_.empty()) {
        return 0;
    }
    position = std::clamp<std::int64_t>(position, 0, size());
    const auto block = static_cast<std::size_t>(position / blockSize);
    if (block >= wideBefore_.size()) {
        return wideUnits_.size();
    }
    const std::int64_t blockStart = static_cast<std::int64_t>(block) * blockSize;
    return wideBefore_[block] + zerosIn(bytes_.constData() + blockStart, position - blockStart);
}

QChar LogText::at(std::int64_t position) const {
    const auto index = static_cast<qsizetype>(position);
    if (!narrow_) {
        return wide_.at(index);
    }
    const auto byte = static_cast<unsigned char>(bytes_.at(index));
    if (byte == 0 && !wideUnits_.isEmpty()) {
        return wideUnits_.at(static_cast<qsizetype>(wideUnitsBefore(position)));
    }
    return QChar(static_cast<char16_t>(byte));
}

QString LogText::mid(std::int64_t start, std::int64_t length) const {
    start = std::clamp<std::int64_t>(start, 0, size());
    length = std::clamp<std::int64_t>(length, 0, size() - start);
    const auto from = static_cast<qsizetype>(start);
    const auto count = static_cast<qsizetype>(length);
    if (!narrow_) {
        return wide_.mid(from, count);
    }
    QString text = QString::fromLatin1(bytes_.constData() + from, count);
    if (!wideUnits_.isEmpty()) {
        auto next = static_cast<qsizetype>(wideUnitsBefore(start));
        forEachZero(bytes_.constData() + from, length, [&](std::int64_t offset) {
            text[static_cast<qsizetype>(offset)] = wideUnits_.at(next++);
        });
    }
    return text;
}

bool LogText::holdsAt(std::int64_t start, const LogText& other, std::int64_t otherStart,
                      std::int64_t length) const {
    if (start < 0 || otherStart < 0 || length < 0 || start + length > size() ||
        otherStart + length > other.size()) {
        return false;
    }
    const auto count = static_cast<std::size_t>(length);
    if (narrow_ && other.narrow_) {
        if (narrow().substr(static_cast<std::size_t>(start), count) !=
            other.narrow().substr(static_cast<std::size_t>(otherStart), count)) {
            return false;
        }
        // The same bytes stand for as many units listed apart in both.
        const std::int64_t first = wideUnitsBefore(start);
        const std::int64_t units = wideUnitsBefore(start + length) - first;
        const std::int64_t otherFirst = other.wideUnitsBefore(otherStart);
        return units == 0 ||
               (otherFirst + units <= other.wideUnits().size() &&
                wideUnits().sliced(first, units) == other.wideUnits().sliced(otherFirst, units));
    }
    if (!narrow_ && !other.narrow_) {
        return wide().substr(static_cast<std::size_t>(start), count) ==
               other.wide().substr(static_cast<std::size_t>(otherStart), count);
    }
    // One of each: the narrow one's characters a stretch at a time.
    const LogText& narrowText = narrow_ ? *this : other;
    const std::int64_t narrowStart = narrow_ ? start : otherStart;
    const std::u16string_view wideChars =
        (narrow_ ? other : *this)
            .wide()
            .substr(static_cast<std::size_t>(narrow_ ? otherStart : start), count);
    constexpr std::int64_t stretch = 1 << 16;
    for (std::int64_t done = 0; done < length; done += stretch) {
        const QString part = narrowText.mid(narrowStart + done, std::min(stretch, length - done));
        if (QStringView(part) !=
            QStringView(wideChars.substr(static_cast<std::size_t>(done),
                                         static_cast<std::size_t>(part.size())))) {
            return false;
        }
    }
    return true;
}

void LogText::truncate(std::int64_t size) {
    if (narrow_) {
        bytes_.truncate(static_cast<qsizetype>(size));
        bytes_.squeeze();
        indexWideUnits();
    } else {
        wide_.truncate(static_cast<qsizetype>(size));
        wide_.squeeze();
    }
}

bool operator==(const LogText& a, const LogText& b) {
    if (a.narrow_ && b.narrow_) {
        return a.bytes_ == b.bytes_ && a.wideUnits_ == b.wideUnits_;
    }
    if (!a.narrow_ && !b.narrow_) {
        return a.wide_ == b.wide_;
    }
    const LogText& narrow = a.narrow_ ? a : b;
    const LogText& wide = a.narrow_ ? b : a;
    return narrow.size() == wide.size() && narrow.toString() == wide.wide_;
}

} // namespace ombrel
