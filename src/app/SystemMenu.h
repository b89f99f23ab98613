#pragma once

#include <QAbstractNativeEventFilter>
#include <QString>
#include <functional>

class QWidget;

namespace ombrel {

/// The program's additions to a window's system menu (Options, Launch Editor, Launch New
/// Ombrel, Hide Controls, Set Window Font, Print, Help, About), where the platform has such a
/// menu: on Windows, with the "windows" platform. Elsewhere it adds nothing and chooses nothing.
class SystemMenu : public QAbstractNativeEventFilter {
public:
    /// Adds the items to window's system menu; chosen gets the command of an item picked there
    /// (its About opens the box without the credits, as the tray's does).
    SystemMenu(QWidget& window, std::function<void(int command)> chosen);
    ~SystemMenu() override;
    SystemMenu(const SystemMenu&) = delete;
    SystemMenu& operator=(const SystemMenu&) = delete;

    /// Sets the text of the item with the given command identifier.
    void setText(int command, const QString& text);
    /// Takes the window's WM_SYSCOMMAND of an added item.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget* widget_;
    void* menu_ = nullptr;   // the system menu's handle; null where there is none
    void* window_ = nullptr; // the window's handle
    std::function<void(int)> chosen_;
};

} // namespace ombrel
