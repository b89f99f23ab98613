#pragma once

#include <QCheckBox>

namespace ombrel {

/// A check box of an options page: named after its control id, announced by its text.
inline QCheckBox* optionCheckBox(const QString& text, int id, bool checked, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QStringLiteral("control%1").arg(id));
    box->setAccessibleName(text);
    box->setChecked(checked);
    return box;
}

} // namespace ombrel
