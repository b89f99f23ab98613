#include "display/CaseFold.h"

#include <QChar>
#include <array>
#include <cstdint>
#include <memory>

namespace ombrel {

namespace {

constexpr qsizetype asciiBlock = 16;

inline char16_t foldAscii(char16_t c) {
    // Branch-free, so that a block of them vectorises.
    const auto upper = static_cast<std::uint16_t>(static_cast<char16_t>(c - u'A') < 26);
    return static_cast<char16_t>(c | upper << 5);
}

// No aliasing between in and out lets the compiler fold the block in vector registers.
void foldAsciiBlock(const char16_t* __restrict in, char16_t* __restrict out) {
    for (qsizetype k = 0; k < asciiBlock; ++k) {
        out[k] = foldAscii(in[k]);
    }
}

bool holdsSurrogate(const char16_t* block) {
    bool any = false;
    for (qsizetype k = 0; k < asciiBlock; ++k) {
        any = any || QChar::isSurrogate(block[k]);
    }
    return any;
}

// Folds the character (or surrogate pair) at i into out; returns the next position.
qsizetype foldOne(const char16_t* in, char16_t* out, qsizetype i, qsizetype size) {
    const char16_t c = in[i];
    if (c < 0x80) {
        out[i] = foldAscii(c);
        return i + 1;
    }
    if (!QChar::isSurrogate(c)) {
        out[i] = basicPlaneFolds()[c];
        return i + 1;
    }
    if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1])) {
        const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, in[i + 1]));
        if (QChar::requiresSurrogates(folded)) {
            out[i] = QChar::highSurrogate(folded);
            out[i + 1] = QChar::lowSurrogate(folded);
        } else { // would shorten the text: keep the pair
            out[i] = c;
            out[i + 1] = in[i + 1];
        }
        return i + 2;
    }
    out[i] = c; // a lone surrogate has no case
    return i + 1;
}

} // namespace

// A log in a script with case has many characters to fold, and a lookup costs far less than
// working each one out.
const std::array<char16_t, 0x10000>& basicPlaneFolds() {
    static const auto folds = [] {
        auto table = std::make_unique<std::array<char16_t, 0x10000>>();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const char32_t folded = QChar::isSurrogate(c) ? c : QChar::toCaseFolded(c);
            (*table)[c] = static_cast<char16_t>(QChar::requiresSurrogates(folded) ? c : folded);
        }
        return table;
    }();
    return *folds;
}

QString foldCaseAligned(QStringView text) {
    QString result(text.size(), Qt::Uninitialized);
    foldCaseAligned(text, reinterpret_cast<char16_t*>(result.data()));
    return result;
}

void foldCaseAligned(QStringView text, char16_t* out) {
    const qsizetype size = text.size();
    const char16_t* in = text.utf16();
    qsizetype i = 0;
    while (size - i >= asciiBlock) {
        char16_t any = 0;
        for (qsizetype k = 0; k < asciiBlock; ++k) {
            any = static_cast<char16_t>(any | in[i + k]);
        }
        if (any < 0x80) {
            foldAsciiBlock(in + i, out + i);
            i += asciiBlock;
        } else if (!holdsSurrogate(in + i)) {
            const std::array<char16_t, 0x10000>& folds = basicPlaneFolds();
            for (qsizetype k = 0; k < asciiBlock; ++k) {
                out[i + k] = folds[in[i + k]];
            }
            i += asciiBlock;
        } else {
            const qsizetype blockEnd = i + asciiBlock;
            while (i < blockEnd) { // a pair may end one past the block
                i = foldOne(in, out, i, size);
            }
        }
    }
    while (i < size) {
        i = foldOne(in, out, i, size);
    }
}

} // namespace ombrel
