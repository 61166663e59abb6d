#pragma once

class QMainWindow;
class QMenuBar;

namespace quolix::menubar {

// Moves the menu bar into keyboard mode (its first menu highlighted, the
// arrow keys, Enter and the mnemonics working on it, Escape leaving it) or
// back out of it, exactly as a tap of Alt does.
void ToggleKeyboardMode(QMenuBar& bar);

// The window's menu bar as the keyboard user of the platform the program was
// made for expects it: F10 toggles keyboard mode, as Alt does, while the
// window itself is active (a dialog's keys stay the dialog's); and the menu
// highlighted in keyboard mode is drawn highlighted, which Qt's own style
// does only while the menu is dropped down.
void EnableKeyboardMode(QMainWindow& window);

}  // namespace quolix::menubar
