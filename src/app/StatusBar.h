#pragma once

#include <QStatusBar>
#include <map>

class QLabel;

namespace ombrel {

/// The main window's status bar: panes addressed by id, the message pane 0 and the state pane.
class StatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr int messagePane = 0;
    static constexpr int statePane = 137;

    /// Creates the bar with the message pane ("Ready") and the state pane.
    explicit StatusBar(QWidget* parent = nullptr);
    /// Puts text in a pane, shown on one line; an unknown id does nothing.
    void setPaneText(int paneId, const QString& text);
    /// Puts an icon in a pane; an unknown id does nothing.
    void setPaneIcon(int paneId, const QIcon& icon);
    /// The text last put in a pane, as given (empty for an unknown id).
    QString paneText(int paneId) const;
    /// The icon last put in a pane (null for an unknown id).
    QIcon paneIcon(int paneId) const;

private:
    struct Pane {
        QLabel* label = nullptr;
        QString text;
        QIcon icon;
    };
    std::map<int, Pane> panes_;
};

} // namespace ombrel
