#pragma once

#include <QString>
#include <QUrl>
#include <optional>

namespace ombrel {

/// The address text as a URL that may be handed to the desktop: only http, https and ftp
/// addresses with a host, and mailto addresses with a recipient, in any case of the scheme.
/// Anything else (files, programs, other schemes, malformed text) gives nothing.
std::optional<QUrl> openableAddress(const QString& text);

} // namespace ombrel
