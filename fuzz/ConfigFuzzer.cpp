// Loads the input as the configuration document and runs the program's lookups on it.
#include "archive/ConfigDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ombrel::ConfigDocument document;
    document.loadText(QByteArrayView(data, static_cast<qsizetype>(size)));
    const QStringList times = document.texts(QStringLiteral("//Time"));
    const auto firstTime = document.text(QStringLiteral("//Time"));
    // The single lookup is the first of all lookups.
    if (times.isEmpty() != !firstTime.has_value() || (firstTime && *firstTime != times.front())) {
        std::abort();
    }
    for (const QString& pattern :
         {QStringLiteral("//Credits"), QStringLiteral("//WebsiteURL"), QStringLiteral("//ForumURL"),
          QStringLiteral("//EmailSupport")}) {
        const auto text = document.text(pattern);
        if (text && *text != text->trimmed()) {
            std::abort();
        }
    }
    return 0;
}
