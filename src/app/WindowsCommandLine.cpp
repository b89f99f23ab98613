#include "app/WindowsCommandLine.h"

#include "app/CommandLine.h"

#include <algorithm>
#include <initializer_list>

namespace ombrel {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

bool isOneOf(QStringView word, std::initializer_list<QStringView> forms) {
    return std::any_of(forms.begin(), forms.end(), [word](QStringView form) {
        return word.compare(form, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

QString textAfterProgramName(QStringView commandLine) {
    qsizetype at = 0;
    if (commandLine.startsWith(u'"')) {
        const qsizetype closing = commandLine.indexOf(u'"', 1);
        at = closing < 0 ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && !isBlank(commandLine[at])) {
            ++at;
        }
    }
    while (at < commandLine.size() && isBlank(commandLine[at])) {
        ++at;
    }
    return commandLine.sliced(at).toString();
}

ArgumentsResult parseWindowsCommandLine(const QString& text, QSize primaryScreen,
                                        StartupOptions& options) {
    QString line = text;
    bool quoted = false;
    for (qsizetype start = 0; start < line.size();) {
        if (isBlank(line[start])) {
            ++start;
            continue;
        }
        // One word: up to the next blank outside quotes.
        qsizetype end = start;
        const bool wordQuoted = quoted || line[start] == u'"';
        for (; end < line.size() && (quoted || !isBlank(line[end])); ++end) {
            if (line[end] == u'"') {
                quoted = !quoted;
            }
        }
        const QStringView word = QStringView(line).sliced(start, end - start);
        if (!wordQuoted) {
            if (isOneOf(word, {u"--help", u"-?", u"/?"})) {
                return {ArgumentsAction::ShowUsage, QString()};
            }
            if (isOneOf(word, {u"--version"})) {
                return {ArgumentsAction::ShowVersion, QString()};
            }
            if (isOneOf(word, {u"--no-splash"})) {
                options.showSplash = false;
                line.replace(start, end - start, QString(end - start, u' '));
            } else if (word.startsWith(u'-') && matchOptionForm(word)) {
                line[start] = u'/';
            }
        }
        start = end;
    }
    parseCommandLineText(line, primaryScreen, options);
    return {};
}

QString windowsUsageText() {
    return QStringLiteral(
        "Usage: ombrel [options] [file]\n"
        "\n"
        "Shows the end of a growing text file and refreshes it when the file changes, or the\n"
        "newest records of the Application or System event log (ticked in the window).\n"
        "A file name given here is watched at once; put it in double quotes when it holds\n"
        "blanks. The command line is read in lower case, and an option is found anywhere in\n"
        "it, so a path must not hold an option's text (such as /s or /t).\n"
        "\n"
        "Options are written with \"/\" (or \"-\" as a word of its own); only the first of each\n"
        "counts.\n"
        "  /h                     open with the controls hidden\n"
        "  /ka                    close every other running copy of ombrel\n"
        "  /k                     close the other copy that watches the same file\n"
        "  /s<bytes>              bytes to display, e.g. /s4000\n"
        "  /t<seconds>            seconds between checks, 1 to 600 (default 5)\n"
        "  /pp<x>,<y>,<w>,<h>     window place and size in percent of the screen\n"
        "  /pc<x>,<y>,<w>,<h>     window place and size in pixels (wins over /pp)\n"
        "  /font:<face>           font face of the display (one word), e.g. /font:consolas\n"
        "  --no-splash            start without the splash picture (scripts, autostart)\n"
        "  /?, --help             show this help and exit\n"
        "  --version              show the version and exit\n");
}

} // namespace ombrel
