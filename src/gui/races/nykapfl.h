#pragma once
// The dialog that creates one race of a week: week and colour code, the category shown as
// it is typed, and "&Opret" that creates the race and then opens the race dialog on it.
#include "gui/app/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vemora::gui {

class NyKapfl : public DialogForm {
    Q_OBJECT
public:
    explicit NyKapfl(AppState& app, QWidget* parent = nullptr);

    // Shows the dialog modally; when it created a race, the race dialog follows on it.
    // Returns the new race's number, or 0.
    static long long run(AppState& app, QWidget* parent);

    long long createdRace() const { return created_; }

    QComboBox* Uge;
    QComboBox* Farvekode;
    QLineEdit* regi;
    QPushButton* cmdOpret;
    QPushButton* cmdAnnuller;

    void cmdOpret_Click();
    void cmdAnnuller_Click();
    bool Uge_LostFocus();
    bool Farvekode_LostFocus();

private:
    void Farvekode_Change(const QString& text);
    long long created_ = 0;
};

}  // namespace vemora::gui
