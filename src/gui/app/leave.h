#pragma once
// Small event helpers the forms share: running a check when the user leaves a box,
// sending the Enter key that moves on, putting the focus back after a refused entry, and
// filtering the keys a box accepts.
#include <QWidget>
#include <functional>

class QComboBox;

namespace vemora::gui {

// Runs `check` when the box loses the focus to another control of the program (not to a
// popup list or another window, such as a message box).
void onLeave(QWidget* box, std::function<void()> check);
// Presses Enter in the box, as the forms do when a box has been typed full; with the shared
// Enter behaviour this moves the focus on.
void sendEnter(QWidget* box);
// Gives the focus back to the box after the current focus change has finished.
void focusBack(QWidget* box);
// Lets `accept` decide about each printable key typed into the box (or its line edit);
// returning false swallows the key. Control keys (Backspace, Tab, Enter, arrows) always pass.
void filterKeys(QWidget* box, std::function<bool(QWidget* box, const QString& typed)> accept);

// A combo box the user types a code into: once `full` finds the typed text complete the focus
// moves on, and leaving the box or choosing an entry from its list runs `check`.
void codeComboBox(QComboBox* box, std::function<bool(const QString& typed)> full, std::function<void()> check);

}  // namespace vemora::gui
