#pragma once
// A postal-code box and the town box beside it, kept in step with the shared list of postal
// codes: a code is looked up (or added) when the box is left changed, the town shows or is
// unlocked for typing, and a typed town is stored with its code. The section's bank address
// and both addresses of a club use the same pair.
#include <QObject>

#include "core/app/appstate.h"

class QLineEdit;

namespace vemora::gui {

class PostnrTown : public QObject {
    Q_OBJECT
public:
    PostnrTown(AppState& app, QLineEdit* code, QLineEdit* town);

    // Shows the town of the code now in the box (as on opening a form) and locks or unlocks
    // the town box; adds the code to the list when it is missing.
    void lookup();

private:
    // Leaving the boxes (also by closing the form): false when the code was refused.
    bool codeLeft();
    bool townLeft();
    AppState& app_;
    QLineEdit* code_;
    QLineEdit* town_;
    // A refused code is refused again when the box is left unchanged, so the focus stays
    // until the code is put right.
    bool refused_ = false;
};

}  // namespace vemora::gui
