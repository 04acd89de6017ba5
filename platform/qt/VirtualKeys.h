#pragma once

#include <QKeyEvent>
#include <string>

namespace brenvik {

// The Windows virtual key code of a key press (Backspace 8, Delete 46, the main row's digits 48
// to 57, the keypad's 96 to 105, letters 65 to 90 ...); 0 for a key with no code.
int virtualKey(const QKeyEvent& event);

// The shift state of key events: 1 Shift, 2 Ctrl, 4 Alt, added together.
int shiftState(Qt::KeyboardModifiers modifiers);

// The character a key press types, UTF-8; empty for keys that type nothing (arrows, Backspace,
// control characters).
std::string typedText(const QKeyEvent& event);

} // namespace brenvik
