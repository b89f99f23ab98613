#include "app/Arguments.h"

#include "app/CommandLine.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <optional>

namespace ombrel {

namespace {

constexpr QStringView journalDirectoryOption = u"--journal-directory=";
constexpr QStringView journalHostOption = u"--journal-host=";

bool isOneOf(QStringView argument, std::initializer_list<QStringView> forms) {
    return std::any_of(forms.begin(), forms.end(), [argument](QStringView form) {
        return argument.compare(form, Qt::CaseInsensitive) == 0;
    });
}

} // namespace

ArgumentsResult parseArguments(const QStringList& args, QSize primaryScreen,
                               StartupOptions& options) {
    // The text after each option's name, from its first occurrence only.
    std::array<std::optional<QStringView>, commandOptions.size()> firstTails;
    QStringList nameParts;
    std::optional<QString> journalDirectory;
    std::optional<QStringList> journalHosts; // every one given, in order
    bool optionsEnded = false;
    for (const QString& argument : args) {
        if (optionsEnded) {
            nameParts.append(argument);
            continue;
        }
        if (argument == u"--") {
            optionsEnded = true;
            continue;
        }
        if (isOneOf(argument, {u"--help", u"-?", u"/?"})) {
            return {ArgumentsAction::ShowUsage, QString()};
        }
        if (isOneOf(argument, {u"--version"})) {
            return {ArgumentsAction::ShowVersion, QString()};
        }
        if (isOneOf(argument, {u"--no-splash"})) {
            options.showSplash = false;
            continue;
        }
        if (argument.startsWith(journalDirectoryOption, Qt::CaseInsensitive)) {
            if (!journalDirectory) {
                journalDirectory = argument.sliced(journalDirectoryOption.size());
            }
            continue;
        }
        if (argument.startsWith(journalHostOption, Qt::CaseInsensitive)) {
            const QString host = argument.sliced(journalHostOption.size()).trimmed();
            if (host.isEmpty()) {
                return {ArgumentsAction::Fail,
                        QStringLiteral("ombrel: --journal-host= needs a computer's name\n"
                                       "Try \"ombrel --help\".\n")};
            }
            journalHosts = journalHosts.value_or(QStringList()) << host;
            continue;
        }
        if (const auto match = matchOptionForm(argument)) {
            auto& tail = firstTails[static_cast<std::size_t>(match->first)];
            if (!tail) {
                tail = match->second; // a repeat is dropped
            }
            continue;
        }
        if (argument.size() > 1 && argument.startsWith(u'-')) {
            return {ArgumentsAction::Fail,
                    QStringLiteral("ombrel: unknown option \"%1\"\n"
                                   "Try \"ombrel --help\"; write \"-- %1\" for a file of that "
                                   "name.\n")
                        .arg(argument)};
        }
        nameParts.append(argument);
    }

    // In the order of processing, whatever the order of the arguments: "pc" wins over "pp".
    for (const CommandOption option : commandOptions) {
        const auto& tail = firstTails[static_cast<std::size_t>(option)];
        if (!tail) {
            continue;
        }
        if (option == CommandOption::FontFace) {
            // The shell has already split the words, so a quoted face keeps its blanks.
            if (const QString face = tail->toString().trimmed(); !face.isEmpty()) {
                options.faceName = face;
            }
        } else {
            applyCommandOption(option, *tail, primaryScreen, options);
        }
    }

    if (journalDirectory) {
        if (journalDirectory->isEmpty()) {
            return {ArgumentsAction::Fail,
                    QStringLiteral("ombrel: --journal-directory= needs a folder\n"
                                   "Try \"ombrel --help\".\n")};
        }
        // Absolute, so the journal library reads the same folder whatever happens later.
        options.journalDirectory =
            QDir::cleanPath(QDir::current().absoluteFilePath(*journalDirectory));
    }

    if (journalHosts) {
        options.journalHosts = *journalHosts; // instead of the stored choice
    }

    nameParts.removeAll(QString()); // an empty argument adds no blank
    const QString name = nameParts.join(u' ');
    if (!name.trimmed().isEmpty()) {
        options.sourceText = name;
        options.startRequested = true;
    }
    return {};
}

QString usageText() {
    return QStringLiteral(
        "Usage: ombrel [options] [--] [file]\n"
        "\n"
        "Shows the end of a growing text file and refreshes it when the file changes, or\n"
        "the newest entries of the systemd journal (\"System\" or \"Application\" ticked).\n"
        "A file name given here is watched at once; several arguments are joined by one blank.\n"
        "\n"
        "Options may be written with \"-\" or \"/\" and in any case; only the first of each "
        "counts.\n"
        "  -h                     open with the controls hidden\n"
        "  -ka                    close every other running copy of ombrel\n"
        "  -k                     close the other copy that watches the same file\n"
        "  -s<bytes>              bytes to display, e.g. -s4000\n"
        "  -t<seconds>            seconds between checks, 1 to 600 (default 5)\n"
        "  -pp<x>,<y>,<w>,<h>     window place and size in percent of the screen\n"
        "  -pc<x>,<y>,<w>,<h>     window place and size in pixels (wins over -pp)\n"
        "  -font:<face>           font face of the display, e.g. -font:\"DejaVu Sans Mono\"\n"
        "  --journal-directory=<folder>\n"
        "                         with \"System\" or \"Application\" ticked, read the journal\n"
        "                         files in the folder instead of this machine's journal:\n"
        "                         System every one but user journals (system*, remote-*,\n"
        "                         as collected from other machines), Application your\n"
        "                         user-UID* files\n"
        "  --journal-host=<name>  with \"System\" or \"Application\" ticked, show only the\n"
        "                         entries of this computer (its host name); repeat it for\n"
        "                         several; fills the \"Computer\" box\n"
        "  --                     end of the options: the rest names the file, even when it\n"
        "                         begins with \"-\"\n"
        "  --no-splash            start without the splash picture (scripts, autostart)\n"
        "  -?, --help             show this help and exit\n"
        "  --version              show the version and exit\n");
}

QString versionText() {
    return QStringLiteral("Ombrel " OMBREL_VERSION "\n");
}

} // namespace ombrel
