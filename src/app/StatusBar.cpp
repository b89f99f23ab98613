#include "app/StatusBar.h"

#include "app/ElidedLabel.h"

#include <QLabel>
#include <QStyle>

namespace ombrel {

StatusBar::StatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("statusBar"));
    setAccessibleName(QStringLiteral("Status"));
    setSizeGripEnabled(true);

    auto* message = new ElidedLabel(this);
    message->setObjectName(QStringLiteral("messagePane"));
    addWidget(message, 1);

    auto* state = new QLabel(this);
    state->setObjectName(QStringLiteral("statePane"));
    state->setAccessibleName(QStringLiteral("State"));
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    state->setFixedWidth(iconSize + fontMetrics().horizontalAdvance(QStringLiteral("     ")) + 6);
    state->setAlignment(Qt::AlignCenter);
    addPermanentWidget(state);

    panes_[messagePane].label = message;
    panes_[statePane].label = state;
    setPaneText(messagePane, QStringLiteral("Ready"));
}

void StatusBar::setPaneText(int paneId, const QString& text) {
    const auto it = panes_.find(paneId);
    if (it == panes_.end()) {
        return;
    }
    it->second.text = text;
    // A pane is one line: a trailing newline (the time text has one) must not add a second.
    QString oneLine = text;
    while (oneLine.endsWith(u'\n') || oneLine.endsWith(u'\r')) {
        oneLine.chop(1);
    }
    oneLine.replace(u'\n', u' ').replace(u'\r', u' ');
    if (auto* elided = qobject_cast<ElidedLabel*>(it->second.label)) {
        elided->setFullText(oneLine);
    } else {
        it->second.label->setText(oneLine);
        it->second.label->setAccessibleName(oneLine);
    }
}

void StatusBar::setPaneIcon(int paneId, const QIcon& icon) {
    const auto it = panes_.find(paneId);
    if (it == panes_.end()) {
        return;
    }
    it->second.icon = icon;
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    it->second.label->setPixmap(icon.pixmap(size, size));
}

QString StatusBar::paneText(int paneId) const {
    const auto it = panes_.find(paneId);
    return it == panes_.end() ? QString() : it->second.text;
}

QIcon StatusBar::paneIcon(int paneId) const {
    const auto it = panes_.find(paneId);
    return it == panes_.end() ? QIcon() : it->second.icon;
}

} // namespace ombrel
