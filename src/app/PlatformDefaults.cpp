#include "app/PlatformDefaults.h"

#ifdef _WIN32
#include <QByteArray>
#include <QtGlobal>
#include <windows.h>
#endif

namespace ombrel {

void applyPlatformDefaults() {
#ifdef _WIN32
    // Under Wine, Qt's default (GDI) font engine draws no text in line edits: the file name and
    // the numbers would look empty. Wine's DirectWrite draws them; Windows itself keeps GDI.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const bool underWine = ntdll && GetProcAddress(ntdll, "wine_get_version");
    if (underWine && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("windows:fontengine=directwrite"));
    }
#endif
}

} // namespace ombrel
