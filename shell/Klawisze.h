// The translation of Qt key events into Windows virtual-key codes
// (common/KlawiszeWindows.h), shared by the main window and the text viewer.
#pragma once

class QKeyEvent;

// Windows virtual-key code of a Qt key event (arrows 37..40, keypad + 107,
// keypad - 109, Escape 27, letters 65..90, ...); 0 for keys without one.
int KodKlawiszaWindows(const QKeyEvent* e);
