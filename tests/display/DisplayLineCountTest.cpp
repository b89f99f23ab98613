// The line count of the status line must agree with the display's own count of lines.
#include "display/DisplayLines.h"
#include "tail/TailTextDecoder.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

using ombrel::DisplayLines;
using ombrel::TailTextDecoder;

TEST(DisplayLineCount, AgreesWithThePlainTextDisplay) {
    QPlainTextEdit display;
    const QString texts[] = {
        QString(),
        QStringLiteral("one"),
        QStringLiteral("one\n"),
        QStringLiteral("a\r\nb\nc\rd"),
        QStringLiteral("\n\r\n\r"),
        QStringLiteral("\r\r\r"),
        QStringLiteral("a\u2029b\u2028c"),
        QStringLiteral("a\uFDD0b\uFDD1c"),
        QStringLiteral("a\vb\fc\u0085d"),
        TailTextDecoder::decode("x\r\r\ny\r\r\n", 0, "x\r\r\n"),
    };
    for (const QString& text : texts) {
        display.setPlainText(text);
        EXPECT_EQ(DisplayLines::count(text), display.blockCount()) << text.toStdString();
    }
}
