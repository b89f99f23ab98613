#include "options/EmailSetupPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ombrel {

namespace {
// Adds a field under its label; the label names it for screen readers.
template <typename Field> Field* addField(QFormLayout* form, const QString& label, int id) {
    auto* field = new Field(form->parentWidget());
    field->setObjectName(QStringLiteral("control%1").arg(id));
    field->setAccessibleName(QString(label).remove(u'&'));
    auto* caption = new QLabel(label, form->parentWidget());
    caption->setBuddy(field);
    form->addRow(caption, field);
    return field;
}
} // namespace

EmailSetupPage::EmailSetupPage(QWidget* parent) : QWidget(parent) {
    auto* server = new QGroupBox(QStringLiteral("Server"), this);
    auto* serverForm = new QFormLayout(server);
    addField<QLineEdit>(serverForm, QStringLiteral("&Host Name / Address:"), 1011);
    addField<QLineEdit>(serverForm, QStringLiteral("P&ort Number:"), 1012);

    auto* sender = new QGroupBox(QStringLiteral("Sender"), this);
    auto* senderForm = new QFormLayout(sender);
    addField<QLineEdit>(senderForm, QStringLiteral("&Name:"), 1009);
    addField<QLineEdit>(senderForm, QStringLiteral("&Address:"), 1010);
    addField<QComboBox>(senderForm, QStringLiteral("Authentication Method:"), 1018);
    addField<QLineEdit>(senderForm, QStringLiteral("&Username:"), 1014);
    addField<QLineEdit>(senderForm, QStringLiteral("&Password:"), 1015)
        ->setEchoMode(QLineEdit::Password);

    auto* page = new QVBoxLayout(this);
    page->addWidget(server);
    page->addWidget(sender);
    page->addStretch(1);
}

} // namespace ombrel
