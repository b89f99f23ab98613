#pragma once

#include "options/OptionValues.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace ombrel {

/// The "Behavior" page: notifications (beep, flash, desktop), tray, window and editor defaults.
class BehaviorPage : public QWidget {
    Q_OBJECT
public:
    /// Builds the page showing values.
    explicit BehaviorPage(const BehaviorValues& values, QWidget* parent = nullptr);
    /// The values as the controls hold them now (disabled boxes included).
    BehaviorValues values() const;

private:
    void browseForEditor();

    QCheckBox* beep_ = nullptr;
    QCheckBox* flash_ = nullptr;
    QComboBox* notify_ = nullptr;
    QCheckBox* sysTray_ = nullptr;
    QCheckBox* minTray_ = nullptr;
    QCheckBox* storeLast_ = nullptr;
    QCheckBox* hide_ = nullptr;
    QLineEdit* checkSize_ = nullptr;
    QLineEdit* editor_ = nullptr;
};

} // namespace ombrel
