#include "app/ControlFactory.h"

#include "app/DialogUnits.h"
#include "display/LogView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace ombrel {

namespace {

QWidget* makeWidget(const ControlSpec& spec, QWidget* parent) {
    switch (spec.kind) {
    case ControlKind::GroupBox:
        return new QGroupBox(spec.text, parent);
    case ControlKind::Label:
    case ControlKind::CentredLabel: {
        auto* label = new QLabel(spec.text, parent);
        label->setTextFormat(Qt::PlainText);
        if (spec.kind == ControlKind::CentredLabel) {
            label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        return label;
    }
    case ControlKind::ComboBox: {
        auto* box = new QComboBox(parent);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert); // Enter starts; it never adds to the list
        box->setMaxVisibleItems(10);
        return box;
    }
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        auto* button = new QPushButton(spec.text, parent);
        button->setAutoDefault(false);
        button->setDefault(spec.kind == ControlKind::DefaultButton);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(spec.text, parent);
    case ControlKind::NumberEdit: {
        auto* edit = new QLineEdit(parent);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        return edit;
    }
    case ControlKind::Display:
        return new LogView(parent);
    }
    return nullptr;
}

} // namespace

QWidget* createControl(const ControlSpec& spec, const DialogUnits& units, QWidget* parent) {
    QWidget* widget = makeWidget(spec, parent);
    QRect rect = units.toPixels(spec.dialogRect);
    if (spec.kind == ControlKind::ComboBox) {
        rect.setHeight(widget->sizeHint().height()); // the template height is the open list's
    }
    if (spec.kind == ControlKind::Label || spec.kind == ControlKind::CheckBox) {
        // The template measured its texts in another font: never cut a text short.
        const QSize hint = widget->sizeHint();
        rect.setWidth(std::max(rect.width(), hint.width()));
        rect.setHeight(std::max(rect.height(), hint.height()));
    }
    widget->setGeometry(rect);
    if (!spec.text.isEmpty()) {
        widget->setAccessibleName(spec.text);
    }
    widget->setObjectName(spec.id != 0 ? QStringLiteral("control%1").arg(spec.id)
                                       : QStringLiteral("eventLogLabel"));
    return widget;
}

} // namespace ombrel
