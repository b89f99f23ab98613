#pragma once

#include <QRect>
#include <QString>
#include <vector>

namespace ombrel {

/// The kinds of control the main window is built from.
enum class ControlKind {
    GroupBox,
    Label,
    CentredLabel,
    ComboBox,
    Button,
    DefaultButton,
    CheckBox,
    NumberEdit,
    Display
};

/// One control of the main window: identifier (0 for none), kind, text and place in dialog units.
struct ControlSpec {
    int id;
    ControlKind kind;
    QString text;
    QRect dialogRect;
};

/// The main window's controls in creation (and tab) order.
const std::vector<ControlSpec>& mainWindowTemplate();

/// The client size of the main window, in dialog units.
QSize mainWindowDialogSize();

} // namespace ombrel
