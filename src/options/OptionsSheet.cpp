#include "options/OptionsSheet.h"

#include "options/BehaviorPage.h"
#include "options/EmailSetupPage.h"
#include "options/KeywordsPage.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace ombrel {

namespace {
enum PageIndex { BehaviorIndex, KeywordsIndex, EmailIndex };
} // namespace

OptionsSheet::OptionsSheet(SettingsStore store, bool withEmailSetup, QWidget* parent)
    : QDialog(parent), store_(std::move(store)) {
    setObjectName(QStringLiteral("optionsSheet"));
    setWindowTitle(QStringLiteral("Ombrel Options"));
    setModal(true);
    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(QStringLiteral("Pages"));
    // Placeholders: a page is built, and loaded, when its tab is first shown.
    for (const QString& title : {QStringLiteral("Behavior"), QStringLiteral("Keywords")}) {
        tabs_->addTab(new QWidget, title);
    }
    if (withEmailSetup) {
        tabs_->addTab(new QWidget, QStringLiteral("Email Setup"));
    }
    buildPage(BehaviorIndex);
    connect(tabs_, &QTabWidget::currentChanged, this, &OptionsSheet::buildPage);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    for (QAbstractButton* button : buttons->buttons()) {
        button->setAccessibleName(button->text().remove(u'&'));
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsSheet::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

QWidget* OptionsSheet::page(int index) {
    buildPage(index);
    return tabs_->widget(index);
}

void OptionsSheet::buildPage(int index) {
    QWidget* placeholder = tabs_->widget(index);
    if (!placeholder || placeholder->layout()) {
        return; // no such tab, or built already
    }
    QWidget* page = nullptr;
    switch (index) {
    case BehaviorIndex:
        page = behavior_ = new BehaviorPage(BehaviorValues::load(store_));
        break;
    case KeywordsIndex:
        page = keywords_ = new KeywordsPage(KeywordValues::load(store_));
        connect(keywords_, &KeywordsPage::submitRequested, this, &OptionsSheet::accept);
        break;
    default:
        page = new EmailSetupPage;
        break;
    }
    auto* holder = new QVBoxLayout(placeholder);
    holder->setContentsMargins(0, 0, 0, 0);
    holder->addWidget(page);
}

void OptionsSheet::accept() {
    // The sheet closes whether or not the store took the values: the window applies them all
    // the same and tells what could not be saved.
    if (keywords_ && !keywords_->validate()) {
        tabs_->setCurrentIndex(KeywordsIndex); // an expression that cannot be used: say so
        return;
    }
    saved_ = {};
    if (behavior_) {
        saved_.behavior = behavior_->values();
        saved_.written &= saved_.behavior->save(store_);
    }
    if (keywords_) {
        saved_.keywords = keywords_->values();
        saved_.written &= saved_.keywords->save(store_);
    }
    QDialog::accept();
}

} // namespace ombrel
