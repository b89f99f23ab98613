#include "find/FindBar.h"

#include "app/ElidedLabel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ombrel {

namespace {
QCheckBox* choice(const QString& text, const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setAccessibleName(text);
    return box;
}

// Tool buttons: as wide as their text, where push buttons would not fit a narrow window.
QToolButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* result = new QToolButton(parent);
    result->setText(text);
    result->setObjectName(name);
    result->setAccessibleName(text);
    result->setFocusPolicy(Qt::StrongFocus);
    return result;
}
} // namespace

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(QStringLiteral("Find bar"));
    box_ = new QLineEdit(this);
    box_->setObjectName(QStringLiteral("findBox"));
    box_->setAccessibleName(QStringLiteral("Find"));
    box_->setPlaceholderText(QStringLiteral("Find"));
    box_->setClearButtonEnabled(false);
    matchCase_ = choice(QStringLiteral("Match case"), QStringLiteral("findMatchCase"), this);
    regex_ = choice(QStringLiteral("Regular expression"), QStringLiteral("findRegex"), this);
    wholeWords_ = choice(QStringLiteral("Whole words"), QStringLiteral("findWholeWords"), this);
    previous_ = button(QStringLiteral("Previous"), QStringLiteral("findPrevious"), this);
    next_ = button(QStringLiteral("Next"), QStringLiteral("findNext"), this);
    close_ = button(QStringLiteral("Close"), QStringLiteral("findClose"), this);
    count_ = new ElidedLabel(this);
    count_->setObjectName(QStringLiteral("findCount"));
    count_->setMinimumWidth(10);
    count_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    // Two short rows, so that the bar fits a window at its minimum width.
    auto* top = new QHBoxLayout;
    top->addWidget(box_, 1);
    top->addWidget(previous_);
    top->addWidget(next_);
    top->addWidget(close_);
    auto* choices = new QGridLayout;
    choices->addWidget(matchCase_, 0, 0);
    choices->addWidget(wholeWords_, 0, 1);
    choices->addWidget(regex_, 1, 0);
    choices->addWidget(count_, 1, 1);
    choices->setColumnStretch(1, 1);
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(0, 2, 0, 0);
    rows->setSpacing(2);
    rows->addLayout(top);
    rows->addLayout(choices);
    setTabOrder(box_, previous_);
    setTabOrder(previous_, next_);
    setTabOrder(next_, close_);
    setTabOrder(close_, matchCase_);
    setTabOrder(matchCase_, wholeWords_);
    setTabOrder(wholeWords_, regex_);

    connect(box_, &QLineEdit::textChanged, this, &FindBar::queryChanged);
    for (QCheckBox* box : {matchCase_, regex_, wholeWords_}) {
        connect(box, &QCheckBox::toggled, this, &FindBar::queryChanged);
    }
    connect(previous_, &QToolButton::clicked, this, &FindBar::previousRequested);
    connect(next_, &QToolButton::clicked, this, &FindBar::nextRequested);
    connect(close_, &QToolButton::clicked, this, &FindBar::close);
    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    setCountText(QString());
    hide();
}

FindQuery FindBar::query() const {
    return {box_->text(), matchCase_->isChecked(), regex_->isChecked(), wholeWords_->isChecked()};
}

void FindBar::open() {
    show();
    box_->setFocus(Qt::ShortcutFocusReason);
    box_->selectAll();
}

void FindBar::close() {
    hide();
    Q_EMIT closed();
}

void FindBar::setCountText(const QString& text) {
    count_->setFullText(text);
    // Named by what it says, so assistive tools read the count itself.
    count_->setAccessibleName(text.isEmpty() ? QStringLiteral("Matches") : text);
    count_->setAccessibleDescription(text);
}

QString FindBar::countText() const {
    return count_->fullText();
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    auto* key = static_cast<QKeyEvent*>(event);
    const bool escape = key->key() == Qt::Key_Escape;
    const bool enter =
        watched == box_ && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
    if (!escape && !enter) {
        return QWidget::eventFilter(watched, event);
    }
    if (type == QEvent::ShortcutOverride) {
        event->accept(); // the bar's own: the window's Escape and Enter stay out of it
        return true;
    }
    if (escape) {
        close();
    } else if (key->modifiers() & Qt::ShiftModifier) {
        Q_EMIT previousRequested();
    } else {
        Q_EMIT nextRequested();
    }
    return true;
}

} // namespace ombrel
