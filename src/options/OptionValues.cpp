#include "options/OptionValues.h"

#include "app/SettingsFlags.h"
#include "display/KeywordList.h"
#include "display/RegexKeywords.h"
#include "settings/SettingsStore.h"

#include <QStringList>

namespace ombrel {

namespace {
QString flagText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}
} // namespace

BehaviorValues BehaviorValues::load(const SettingsStore& store) {
    BehaviorValues values;
    values.editor = store.readSetting(QStringLiteral("Editor")).value_or(QString());
    values.checkSize = store.readSetting(QStringLiteral("CheckSize")).value_or(QString());
    values.beep = store.readFlag(QStringLiteral("Beep"));
    values.flash = store.readFlag(QStringLiteral("Flash"));
    values.notify = notifyChoiceOf(store.readSetting(QStringLiteral("Notify")));
    values.hide = store.readFlag(QStringLiteral("Hide"));
    values.minTray = store.readFlag(QStringLiteral("MinTray"));
    values.storeLast = store.readFlag(QStringLiteral("StoreLast"));
    values.sysTray = store.readFlag(QStringLiteral("SysTray"));
    return values;
}

SettingsWrite BehaviorValues::save(const SettingsStore& store) const {
    // Every value is tried, so one that cannot be written does not keep back the others.
    SettingsWrite written = store.writeSetting(QStringLiteral("Editor"), editor);
    written &= store.writeSetting(QStringLiteral("CheckSize"), checkSize);
    written &= store.writeSetting(QStringLiteral("Beep"), flagText(beep));
    written &= store.writeSetting(QStringLiteral("Flash"), flagText(flash));
    written &= store.writeSetting(QStringLiteral("Notify"), storedNotifyChoice(notify));
    written &= store.writeSetting(QStringLiteral("Hide"), flagText(hide));
    written &= store.writeSetting(QStringLiteral("SysTray"), flagText(sysTray));
    written &= store.writeSetting(QStringLiteral("MinTray"), flagText(minTray));
    written &= store.writeSetting(QStringLiteral("StoreLast"), flagText(storeLast));
    return written;
}

KeywordValues KeywordValues::load(const SettingsStore& store) {
    KeywordValues values;
    values.showOnly = store.readFlag(QStringLiteral("ShowOnly"));
    values.showWithout = store.readFlag(QStringLiteral("ShowWithout"));
    values.highlight = store.readFlag(QStringLiteral("Highlight"));
    values.editText = editTextOf(store.readSetting(KeywordList::settingName).value_or(QString()));
    values.regex = store.readFlag(QStringLiteral("KeywordsRegex"));
    return values;
}

SettingsWrite KeywordValues::save(const SettingsStore& store) const {
    SettingsWrite written = store.writeSetting(QStringLiteral("Highlight"), flagText(highlight));
    written &= store.writeSetting(QStringLiteral("ShowOnly"), flagText(showOnly));
    written &= store.writeSetting(QStringLiteral("ShowWithout"), flagText(showWithout));
    written &= store.writeSetting(KeywordList::settingName, storedKeywords(editText));
    written &= store.writeSetting(QStringLiteral("KeywordsRegex"), flagText(regex));
    return written;
}

QString KeywordValues::storedKeywords(const QString& editText) {
    const QStringList lines = editText.split(u'\n');
    QString stored;
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (!lines[i].isEmpty()) {
            stored += (i != 0 ? KeywordList::separator : QString()) + lines[i];
        }
    }
    // The last line always takes a separator, even when it is the only one: stored settings
    // files hold ";;A" for a single keyword, and the keyword list reads both forms alike.
    if (!lines.last().isEmpty()) {
        stored += KeywordList::separator + lines.last();
    }
    return stored;
}

QString KeywordValues::editTextOf(const QString& stored) {
    QString text;
    for (const QString& keyword : KeywordList::parse(stored)) {
        text += keyword + u'\n';
    }
    return text;
}

QString KeywordValues::firstProblem(const QString& editText, bool regex) {
    if (!regex) {
        return {};
    }
    const QStringList lines = editText.split(u'\n');
    for (qsizetype line = 0; line < lines.size(); ++line) {
        for (const QString& keyword : KeywordList::parse(lines[line])) {
            const QString problem = RegexKeywords::problemOf(keyword);
            if (!problem.isEmpty()) {
                return QStringLiteral("Line %1: %2").arg(line + 1).arg(problem);
            }
        }
    }
    return {};
}

void OptionsResult::applyTo(SettingsFlags& flags) const {
    if (behavior) {
        flags.flashOnChange = behavior->flash;
        flags.beepOnChange = behavior->beep;
        flags.notify = behavior->notify;
        flags.showTrayIcon = behavior->sysTray;
        flags.minimizeToTray = behavior->minTray;
        flags.keepPlacement = behavior->storeLast;
    }
    if (keywords) {
        flags.keywords.highlightKeywords = keywords->highlight;
        flags.keywords.showOnlyMatching = keywords->showOnly;
        flags.keywords.showWithoutMatching = keywords->showWithout;
        flags.keywords.keywordsAreRegex = keywords->regex;
    }
}

} // namespace ombrel
