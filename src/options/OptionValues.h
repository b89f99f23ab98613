#pragma once

#include "notify/NotifyChoice.h"
#include "settings/SettingsWrite.h"

#include <QString>
#include <optional>

namespace ombrel {

class SettingsStore;
struct SettingsFlags;

/// The values of the Behavior page, as stored.
struct BehaviorValues {
    bool beep = false;                            ///< "Beep"
    bool flash = false;                           ///< "Flash"
    bool hide = false;                            ///< "Hide": controls hidden at the next start
    bool sysTray = false;                         ///< "SysTray"
    bool minTray = false;                         ///< "MinTray"
    bool storeLast = false;                       ///< "StoreLast"
    QString editor;                               ///< "Editor", as typed
    QString checkSize;                            ///< "CheckSize", as typed (digits, or empty)
    NotifyChoice notify = NotifyChoice::Keywords; ///< "Notify"

    /// Reads the values; a flag is on only for the exact text "1", a missing text is empty,
    /// Notify reads as notifyChoiceOf does.
    static BehaviorValues load(const SettingsStore& store);
    /// Writes Editor, CheckSize, Beep, Flash, Notify, Hide, SysTray, MinTray, StoreLast in this
    /// order; the first failure, when any.
    SettingsWrite save(const SettingsStore& store) const;
};

/// The values of the Keywords page, with the keywords as the edit shows them.
struct KeywordValues {
    bool highlight = false;   ///< "Highlight"
    bool showOnly = false;    ///< "ShowOnly"
    bool showWithout = false; ///< "ShowWithout"
    QString editText;         ///< one keyword a line, each followed by a line break
    bool regex = false;       ///< "KeywordsRegex": each keyword is a regular expression

    /// Reads the values; the stored keywords are split at ";;", empty pieces dropped.
    static KeywordValues load(const SettingsStore& store);
    /// Writes Highlight, ShowOnly, ShowWithout, Keywords (see storedKeywords), then
    /// KeywordsRegex; the first failure, when any.
    SettingsWrite save(const SettingsStore& store) const;
    /// The stored form of an edit text: its non-empty lines joined by ";;", where the last
    /// line always takes a leading ";;" (so a lone line "A" is ";;A"); empty lines dropped.
    static QString storedKeywords(const QString& editText);
    /// The edit text of a stored form: each non-empty piece followed by a line break.
    static QString editTextOf(const QString& stored);
    /// With regex, the first keyword of editText that is no valid expression, as "Line n:
    /// the engine's message at character m"; empty when there is none.
    static QString firstProblem(const QString& editText, bool regex);
};

/// What OK in the options sheet saved: the values of each page that was shown.
struct OptionsResult {
    std::optional<BehaviorValues> behavior; ///< the Behavior page, when shown
    std::optional<KeywordValues> keywords;  ///< the Keywords page, when shown
    SettingsWrite written;                  ///< whether the values reached the store

    /// Copies the saved flags into the window's running copy; Hide stays a start-up value,
    /// and the keyword flags change only when the Keywords page was shown.
    void applyTo(SettingsFlags& flags) const;
};

} // namespace ombrel
