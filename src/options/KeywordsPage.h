#pragma once

#include "options/OptionValues.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace ombrel {

/// The "Keywords" page: marking, the two filters and the keyword lines.
class KeywordsPage : public QWidget {
    Q_OBJECT
public:
    /// Builds the page showing values.
    explicit KeywordsPage(const KeywordValues& values, QWidget* parent = nullptr);
    /// The values as the controls hold them now (disabled controls included).
    KeywordValues values() const;
    /// True when every keyword can be used; otherwise shows the first wrong line and why,
    /// selects that line and puts the focus on it.
    bool validate();

Q_SIGNALS:
    /// Enter was pressed in the keywords edit: the sheet's default button should act.
    void submitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followHighlight();

    QCheckBox* highlight_ = nullptr;
    QCheckBox* showOnly_ = nullptr;
    QCheckBox* showWithout_ = nullptr;
    QPlainTextEdit* keywords_ = nullptr;
    QCheckBox* regex_ = nullptr;
    QLabel* problem_ = nullptr;
};

} // namespace ombrel
