#include "app/SystemMenu.h"

#include "app/CommandId.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#ifdef _WIN32
#include <windows.h>
#endif

namespace ombrel {

#ifdef _WIN32
namespace {

struct Addition {
    int id; // 0: a separator
    const wchar_t* text;
};

// Their identifiers are multiples of 16 below 0xF000, as the system menu requires.
constexpr Addition additions[] = {
    {0, nullptr},
    {IdSystemOptions, L"&Options..."},
    {IdLaunchEditor, L"&Launch Editor"},
    {IdLaunchNew, L"Launch &New Ombrel"},
    {0, nullptr},
    {IdHideControls, L"Hide &Controls"},
    {IdWindowFont, L"Set Window F&ont"},
    {IdPrint, L"&Print..."},
    {0, nullptr},
    {IdHelp, L"&Help..."},
    {IdAbout, L"&About Ombrel..."},
};

} // namespace
#endif

SystemMenu::SystemMenu(QWidget& window, std::function<void(int command)> chosen)
    : widget_(&window), chosen_(std::move(chosen)) {
#ifdef _WIN32
    if (QGuiApplication::platformName() != u"windows") {
        return; // offscreen and the like: no native window, no system menu
    }
    window_ = reinterpret_cast<void*>(window.winId());
    menu_ = GetSystemMenu(static_cast<HWND>(window_), FALSE);
    if (!menu_) {
        return;
    }
    for (const Addition& addition : additions) {
        AppendMenuW(static_cast<HMENU>(menu_), addition.id ? MF_STRING : MF_SEPARATOR,
                    static_cast<UINT_PTR>(addition.id), addition.text);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
#endif
}

SystemMenu::~SystemMenu() {
    if (menu_ && QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void SystemMenu::setText([[maybe_unused]] int command, [[maybe_unused]] const QString& text) {
#ifdef _WIN32
    if (menu_) {
        ModifyMenuW(static_cast<HMENU>(menu_), static_cast<UINT>(command), MF_BYCOMMAND | MF_STRING,
                    static_cast<UINT_PTR>(command), reinterpret_cast<const wchar_t*>(text.utf16()));
    }
#endif
}

bool SystemMenu::nativeEventFilter([[maybe_unused]] const QByteArray& eventType,
                                   [[maybe_unused]] void* message,
                                   [[maybe_unused]] qintptr* result) {
#ifdef _WIN32
    const MSG* msg = static_cast<const MSG*>(message);
    if (!menu_ || msg->message != WM_SYSCOMMAND || msg->hwnd != static_cast<HWND>(window_)) {
        return false;
    }
    // The system sets the low four bits of its own commands.
    const int command = static_cast<int>(msg->wParam & 0xFFF0);
    for (const Addition& addition : additions) {
        if (addition.id != 0 && addition.id == command) {
            // The system menu's About shows the picture alone, as the tray's does. Posted, so a
            // dialog it opens does not run inside the window's own message.
            const int id = command == IdAbout           ? IdTrayAbout
                           : command == IdSystemOptions ? IdOptions
                                                        : command;
            QMetaObject::invokeMethod(
                widget_, [this, id] { chosen_(id); }, Qt::QueuedConnection);
            *result = 0;
            return true;
        }
    }
#endif
    return false;
}

} // namespace ombrel
