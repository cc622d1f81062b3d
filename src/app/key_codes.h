// The key codes and shift state the window hands to Form_KeyDown: the numbers the original
// platform gives its keys (Shift 16, Ctrl 17, Alt 18, ...), so a modifier or a function key is
// never taken for Space, Enter, Esc, a letter or a digit.
#pragma once

class QKeyEvent;

namespace kelpie {

// A key the original platform has no code for gets this one; no procedure acts on it.
inline constexpr int kKeyWithoutCode = 0;

int keyCodeOf(const QKeyEvent* e);
// 1 Shift, 2 Ctrl, 4 Alt, added together.
int shiftStateOf(const QKeyEvent* e);

}  // namespace kelpie
