#pragma once
// The keyboard behaviours every form shares, written once and attached to forms:
// Enter moves to the next field (and through a grid's columns), a box selects its text when
// it gets the focus and remembers that text, a box typed full moves on, number boxes take
// digits only, and code numbers are padded with "0" when the box is left.
#include <QString>

#include "core/db/value.h"

class QAbstractItemView;
class QComboBox;
class QLineEdit;
class QObject;
class QValidator;
class QWidget;

namespace vemora::gui {

// Enter (with no shift key) anywhere inside the form moves the focus to the next control; on
// a button it presses the button; inside a grid it is handed to GridEnterKey. Controls
// created later are covered too.
void EnterAsTab(QWidget* form);
// Enter inside a grid: what is typed in the cell is committed (a refused cell keeps the grid
// on it), then the next visible column is current; after the last column the row is written
// and the first column of the next row is current. The grid keeps the focus, so the next
// keys start the next cell.
void GridEnterKey(QAbstractItemView* grid);

// Selects the whole text of the box each time it gets the focus, and remembers the text it
// had then (textAtFocus), so a refused entry can be put back.
void SelectAllOnFocus(QWidget* box);
void SelectAllText(QWidget* box);
QString textAtFocus(QWidget* box);
void setTextAtFocus(QWidget* box, const QString& text);

// Number boxes: DigitsOnly accepts digits only, DecimalOnly digits and at most one decimal
// comma, from the keyboard and from pasting; control keys pass. numberValidator is the same
// rule for a box made elsewhere (a grid's cell editor).
void DigitsOnly(QLineEdit* box);
void DecimalOnly(QLineEdit* box);
QValidator* numberValidator(bool decimals, QObject* parent);
// When the user has typed the box full (its maxLength), the focus moves on.
void MovesOnWhenFull(QLineEdit* box);
// When a non-empty box is left (also by closing the form), "0" is put in front until it has
// `width` characters.
void ZeroPadOnLeave(QLineEdit* box, int width);

// The list of a combo box opens as wide as its longest entry, however narrow the box; the
// forms do this for every combo box they hold when first shown.
void FitDropDown(QComboBox* box);
void FitDropDowns(QWidget* form);

// Control <-> field, with the Null and Boolean rules of the data controls: Null shows as an
// empty text, a check box shows a true field ticked; an empty text is stored as Null and a
// check box as 1/0.
void LoadControlFromField(QWidget* control, const Value& field);
Value SaveControlToField(QWidget* control);

// True when a form with that object name is open in the main window or as a window.
bool IsFormLoaded(const QString& objectName);
QWidget* findLoadedForm(const QString& objectName);

// Places a child form at the top left of the main window's inner area and sizes it to it.
void FillMainWindow(QWidget* form);

}  // namespace vemora::gui
