#pragma once

#include "options/OptionValues.h"
#include "settings/SettingsStore.h"

#include <QDialog>

class QTabWidget;

namespace ombrel {

class BehaviorPage;
class KeywordsPage;

/// The modal "Ombrel Options" dialog. Each page loads from the store when first shown; OK
/// saves the pages that were shown, Cancel, Escape and the close box save nothing.
class OptionsSheet : public QDialog {
    Q_OBJECT
public:
    /// Builds the sheet on store, with the "Email Setup" page when withEmailSetup.
    OptionsSheet(SettingsStore store, bool withEmailSetup, QWidget* parent = nullptr);
    /// What OK saved (after exec() returned Accepted).
    const OptionsResult& saved() const { return saved_; }
    /// The page behind a tab, built now if it was never shown (tests).
    QWidget* page(int index);

    void accept() override;

private:
    void buildPage(int index);

    SettingsStore store_;
    QTabWidget* tabs_ = nullptr;
    BehaviorPage* behavior_ = nullptr;
    KeywordsPage* keywords_ = nullptr;
    OptionsResult saved_;
};

} // namespace ombrel
