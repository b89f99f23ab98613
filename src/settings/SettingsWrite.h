#pragma once

#include <QString>

namespace ombrel {

/// The outcome of writing settings: true when written, otherwise why not, in words for the user.
class SettingsWrite {
public:
    /// A write that succeeded.
    SettingsWrite() = default;
    /// A write that failed for reason (never empty).
    static SettingsWrite failed(QString reason) { return SettingsWrite(std::move(reason)); }

    /// The values were written.
    explicit operator bool() const { return reason_.isEmpty(); }
    /// Why the write failed; empty when it succeeded.
    const QString& reason() const { return reason_; }
    /// This outcome unless it failed already: a run of writes reports its first failure.
    SettingsWrite& operator&=(const SettingsWrite& next) {
        if (reason_.isEmpty()) {
            reason_ = next.reason_;
        }
        return *this;
    }

private:
    explicit SettingsWrite(QString reason)
        : reason_(reason.isEmpty() ? QStringLiteral("unknown error") : std::move(reason)) {}

    QString reason_;
};

} // namespace ombrel
