#include "about/CreditsLayout.h"

#include "archive/ConfigDocument.h"

namespace ombrel {

int CreditsMetrics::lineHeight(CreditsLineKind kind) {
    return kind == CreditsLineKind::Heading ? 20 : 14;
}

QString expandCreditsEscapes(const QString& stored) {
    QString text = stored;
    // One pass per escape, in this order: a text relying on the order reads as it always did.
    text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    text.replace(QStringLiteral("\\n"), QStringLiteral("\n"));
    text.replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    return text;
}

QString creditsFromConfig(const ConfigDocument& config) {
    return expandCreditsEscapes(config.text(QStringLiteral("//Credits")).value_or(QString()));
}

std::vector<CreditsLine> layoutCredits(const QString& credits) {
    std::vector<CreditsLine> lines;
    if (credits.isEmpty()) {
        return lines;
    }
    int top = 0;
    for (const QStringView part : QStringView(credits).split(u'\n')) {
        if (top >= CreditsMetrics::height) {
            break; // the rest would fall below the text image
        }
        CreditsLine line;
        line.top = top;
        QChar lead = part.isEmpty() ? QChar() : part.front();
        if (lead == u'\t' || lead == u'\r') {
            line.kind = lead == u'\t' ? CreditsLineKind::Heading : CreditsLineKind::Emphasis;
            qsizetype skip = 0;
            while (skip < part.size() && part[skip] == lead) {
                ++skip;
            }
            line.text = part.sliced(skip).toString();
        } else {
            line.text = part.toString();
        }
        top += CreditsMetrics::lineHeight(line.kind);
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace ombrel
