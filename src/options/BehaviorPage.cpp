#include "options/BehaviorPage.h"

#include "options/OptionCheckBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace ombrel {

namespace {

QLineEdit* labelledEdit(const QString& label, int id, const QString& text, QLabel*& caption,
                        QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QStringLiteral("control%1").arg(id));
    edit->setAccessibleName(label);
    caption = new QLabel(label, parent);
    caption->setBuddy(edit);
    return edit;
}
} // namespace

BehaviorPage::BehaviorPage(const BehaviorValues& values, QWidget* parent) : QWidget(parent) {
    auto* notifications = new QGroupBox(QStringLiteral("Notifications"), this);
    beep_ = optionCheckBox(QStringLiteral("Beep when changes"), 1019, values.beep, notifications);
    flash_ =
        optionCheckBox(QStringLiteral("Flash when changes"), 1020, values.flash, notifications);
    notify_ = new QComboBox(notifications);
    notify_->setObjectName(QStringLiteral("control1038"));
    // In the order of the stored values "0", "1", "2".
    notify_->addItems({QStringLiteral("Off"), QStringLiteral("When a keyword appears"),
                       QStringLiteral("On every change")});
    notify_->setCurrentIndex(static_cast<int>(values.notify));
    const QString notifyText = QStringLiteral("Desktop notification");
    notify_->setAccessibleName(notifyText);
    auto* notifyLabel = new QLabel(notifyText, notifications);
    notifyLabel->setBuddy(notify_);
    auto* notificationGrid = new QGridLayout(notifications);
    notificationGrid->addWidget(beep_, 0, 0);
    notificationGrid->addWidget(flash_, 0, 1);
    notificationGrid->addWidget(notifyLabel, 1, 0);
    notificationGrid->addWidget(notify_, 1, 1);

    auto* defaults = new QGroupBox(QStringLiteral("Default Behaviors"), this);
    sysTray_ =
        optionCheckBox(QStringLiteral("Show Icon in SysTray"), 1027, values.sysTray, defaults);
    minTray_ =
        optionCheckBox(QStringLiteral("Minimize to SysTray"), 1028, values.minTray, defaults);
    storeLast_ = optionCheckBox(QStringLiteral("Store Last Size/Position"), 1029, values.storeLast,
                                defaults);
    hide_ = optionCheckBox(QStringLiteral("Hide Controls"), 1026, values.hide, defaults);
    QLabel* sizeLabel = nullptr;
    checkSize_ = labelledEdit(QStringLiteral("Bytes to Display"), 1031, values.checkSize, sizeLabel,
                              defaults);
    checkSize_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), checkSize_));
    QLabel* editorLabel = nullptr;
    editor_ = labelledEdit(QStringLiteral("Editor"), 1024, values.editor, editorLabel, defaults);
    auto* browse = new QPushButton(QStringLiteral("..."), defaults);
    browse->setObjectName(QStringLiteral("control1006"));
    browse->setAccessibleName(QStringLiteral("Browse for the editor"));
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);

    auto* grid = new QGridLayout(defaults);
    grid->setColumnMinimumWidth(0, 16); // the indent that ties "Minimize" to the tray icon
    grid->addWidget(sysTray_, 0, 0, 1, 2);
    grid->addWidget(minTray_, 1, 1);
    grid->addWidget(storeLast_, 2, 0, 1, 2);
    grid->addWidget(hide_, 3, 0, 1, 2);
    grid->addWidget(sizeLabel, 2, 2);
    grid->addWidget(checkSize_, 3, 2);
    grid->addWidget(editorLabel, 4, 0, 1, 3);
    auto* editorRow = new QHBoxLayout;
    editorRow->addWidget(editor_);
    editorRow->addWidget(browse);
    grid->addLayout(editorRow, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(notifications);
    page->addWidget(defaults);
    page->addStretch(1);

    minTray_->setEnabled(values.sysTray);
    connect(sysTray_, &QCheckBox::clicked, minTray_,
            [this] { minTray_->setEnabled(sysTray_->isChecked()); });
    connect(browse, &QPushButton::clicked, this, &BehaviorPage::browseForEditor);
}

BehaviorValues BehaviorPage::values() const {
    BehaviorValues values;
    values.beep = beep_->isChecked();
    values.flash = flash_->isChecked();
    values.notify = static_cast<NotifyChoice>(notify_->currentIndex());
    values.hide = hide_->isChecked();
    values.sysTray = sysTray_->isChecked();
    values.minTray = minTray_->isChecked();
    values.storeLast = storeLast_->isChecked();
    values.editor = editor_->text();
    values.checkSize = checkSize_->text();
    return values;
}

void BehaviorPage::browseForEditor() {
    const QString program =
        QFileDialog::getOpenFileName(this, QString(), QString(), QStringLiteral("All Files (*)"));
    if (!program.isEmpty()) {
        editor_->setText(program); // saved only by OK
    }
}

} // namespace ombrel
