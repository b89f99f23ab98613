#pragma once

#include "app/ControlTemplate.h"

class QWidget;

namespace ombrel {

class DialogUnits;

/// Makes the widget of one template control, placed by the dialog units and named by its
/// text; the caller connects it.
QWidget* createControl(const ControlSpec& spec, const DialogUnits& units, QWidget* parent);

} // namespace ombrel
