#pragma once
// Small event helpers the forms share: running a check when the user leaves a box,
// sending the Enter key that moves on, putting the focus back after a refused entry, and
// filtering the keys a box accepts.
#include <QWidget>
#include <functional>

class QAbstractButton;
class QComboBox;

namespace vemora::gui {

// Runs `check` when the box loses the focus to another control of the program (not to a
// popup list or another window, such as a message box, and not to a button that cancels the
// form). The check returns false when it refused the entry (it has shown its message and put
// the focus back). A box may have several checks; they run in the order they were added.
void onLeave(QWidget* box, std::function<bool()> check);
// Runs the checks of the box that has the focus in `form` (or of the box an inner widget
// belongs to, such as a combo box's line edit) as if it were being left; false when one
// refused. The closing of every form calls this, so closing never stores what leaving the
// box would refuse.
bool leaveFocusedBox(QWidget* form);
// True while a box of the window refused an entry and the focus is on its way back to it;
// the window must not close meanwhile (the click that moved the focus away must not close it).
bool refusalPending(QWidget* window);

// Focus moving to this button runs no checks: it cancels the form, and cancelling never
// validates.
void markCancels(QAbstractButton* button);

// Presses Enter in the box, as the forms do when a box has been typed full; with the shared
// Enter behaviour this moves the focus on. The key is pressed once the key being typed has
// been handled completely, so its own notifications cannot arrive after the box was left
// (and undo what leaving did, such as putting back a refused entry).
void sendEnter(QWidget* box);
// Gives the focus back to the box after the current focus change has finished.
void focusBack(QWidget* box);
// Lets `accept` decide about each printable key typed into the box (or its line edit);
// returning false swallows the key. Control keys (Backspace, Tab, Enter, arrows) always pass.
void filterKeys(QWidget* box, std::function<bool(QWidget* box, const QString& typed)> accept);

// A combo box the user types a code into: once `full` finds the typed text complete the focus
// moves on, and leaving the box or choosing an entry from its list runs `check`.
void codeComboBox(QComboBox* box, std::function<bool(const QString& typed)> full, std::function<bool()> check);

}  // namespace vemora::gui
