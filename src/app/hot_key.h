#pragma once

// The system-wide hot key. Where the platform offers no global hot key the
// registration is refused, which the program treats like any other refusal.

#include <QtGlobal>

namespace mz {

// The tilde/grave-accent key of a US keyboard.
constexpr unsigned hotKeyVirtualKey = 0xC0;
// Identifiers are handed out from here upwards.
constexpr int firstHotKeyId = 33001;

// Registers virtualKey without modifiers for the native window; the identifier,
// or 0 when refused. The registration ends with the process.
int registerGlobalHotKey(quintptr nativeWindow, unsigned virtualKey);

} // namespace mz
