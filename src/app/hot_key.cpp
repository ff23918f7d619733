#include "app/hot_key.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace mz {

#ifdef Q_OS_WIN
int registerGlobalHotKey(quintptr nativeWindow, unsigned virtualKey) {
    // The program's only registration, so it takes the first identifier.
    const bool ok =
        RegisterHotKey(reinterpret_cast<HWND>(nativeWindow), firstHotKeyId, 0, virtualKey);
    return ok ? firstHotKeyId : 0;
}
#else
int registerGlobalHotKey(quintptr, unsigned) {
    return 0;
}
#endif

} // namespace mz
