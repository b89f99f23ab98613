#include "options/KeywordsPage.h"

#include "options/OptionCheckBox.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>

namespace ombrel {

KeywordsPage::KeywordsPage(const KeywordValues& values, QWidget* parent) : QWidget(parent) {
    highlight_ = optionCheckBox(QStringLiteral("Highlight Keywords"), 1021, values.highlight, this);
    showOnly_ = optionCheckBox(QStringLiteral("Only show lines with keywords"), 1023,
                               values.showOnly, this);
    showWithout_ = optionCheckBox(QStringLiteral("Only show lines without keywords"), 1025,
                                  values.showWithout, this);
    keywords_ = new QPlainTextEdit(values.editText, this);
    keywords_->setObjectName(QStringLiteral("control1022"));
    keywords_->setAccessibleName(QStringLiteral("Keywords"));
    keywords_->setLineWrapMode(QPlainTextEdit::NoWrap);
    keywords_->setTabChangesFocus(true);
    keywords_->installEventFilter(this);
    auto* label = new QLabel(QStringLiteral("Keywords"), this);
    label->setBuddy(keywords_);
    auto* hint = new QLabel(QStringLiteral("(hit Ctrl-Enter between keywords)"), this);
    // The stored list has no escape for its separator.
    auto* note =
        new QLabel(QStringLiteral("A keyword cannot hold \";;\" or end in \";\": the stored list "
                                  "separates keywords with \";;\"."),
                   this);
    note->setObjectName(QStringLiteral("separatorNote"));
    note->setWordWrap(true);
    regex_ =
        optionCheckBox(QStringLiteral("Keywords are regular expressions"), 0, values.regex, this);
    regex_->setObjectName(QStringLiteral("keywordsRegex"));
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("keywordsProblem"));
    problem_->setWordWrap(true);
    problem_->setTextFormat(Qt::PlainText);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();

    auto* grid = new QGridLayout(this);
    grid->addWidget(highlight_, 0, 0, 1, 2);
    grid->addWidget(label, 1, 0);
    grid->addWidget(hint, 1, 1);
    grid->addWidget(keywords_, 2, 0, 1, 2);
    grid->addWidget(note, 3, 0, 1, 2);
    grid->addWidget(regex_, 4, 0, 1, 2);
    grid->addWidget(problem_, 5, 0, 1, 2);
    grid->addWidget(showOnly_, 6, 0, 1, 2);
    grid->addWidget(showWithout_, 7, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    followHighlight();
    connect(highlight_, &QCheckBox::clicked, this, &KeywordsPage::followHighlight);
    // The two filters exclude each other; both may be off.
    connect(showOnly_, &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            showWithout_->setChecked(false);
        }
    });
    connect(showWithout_, &QCheckBox::clicked, this, [this](bool on) {
        if (on) {
            showOnly_->setChecked(false);
        }
    });
}

KeywordValues KeywordsPage::values() const {
    return {highlight_->isChecked(), showOnly_->isChecked(), showWithout_->isChecked(),
            keywords_->toPlainText(), regex_->isChecked()};
}

bool KeywordsPage::validate() {
    const KeywordValues now = values();
    const QString problem = KeywordValues::firstProblem(now.editText, now.regex);
    problem_->setText(problem);
    problem_->setAccessibleName(problem);
    problem_->setVisible(!problem.isEmpty());
    if (problem.isEmpty()) {
        return true;
    }
    // The wrong line, selected: "Line n: ..." names it.
    const int line = problem.section(u' ', 1, 1).chopped(1).toInt() - 1;
    QTextCursor cursor(keywords_->document()->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    keywords_->setTextCursor(cursor);
    keywords_->setFocus();
    return false;
}

void KeywordsPage::followHighlight() {
    const bool on = highlight_->isChecked();
    showOnly_->setEnabled(on);
    showWithout_->setEnabled(on);
    keywords_->setEnabled(on);
    regex_->setEnabled(on);
}

bool KeywordsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == keywords_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // Enter is the dialog's; Ctrl+Enter starts the next keyword.
            if (key->modifiers() & Qt::ControlModifier) {
                keywords_->insertPlainText(QStringLiteral("\n"));
            } else {
                Q_EMIT submitRequested();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ombrel
