#pragma once
// The dialog "Backup": a week's races or the whole database saved to a folder or to removable
// media, read back from there, and the repair of the database.
#include <QString>
#include <functional>

#include "core/backup/backup.h"
#include "gui/app/form.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace vemora::gui {

class Backup : public DialogForm {
    Q_OBJECT
public:
    explicit Backup(AppState& app, QWidget* parent = nullptr);

    QLineEdit* txtDestination;
    QPushButton* cmdBrowse;
    QComboBox* Uge;
    QPushButton* cmdGem;
    QPushButton* cmdIndlæs;
    QPushButton* btnRestore;
    QPushButton* cmdLuk;

    // Which folders are the root of a removable medium; tests stand in for one.
    std::function<bool(const QString&)> isRemovable;
    // The outcome of the last command, for whoever drives the dialog.
    BackupOutcome lastOutcome = BackupOutcome::Stopped;

    void cmdBrowse_Click();
    void cmdGem_Click();
    void cmdIndlæs_Click();
    void btnRestore_Click();

protected:
    void afterClose() override;  // Form_Unload

private:
    // The week chosen, 0 for "Total"; false (after its message) when there is none.
    bool chosenWeek(int& week);
    std::filesystem::path destination() const;
};

}  // namespace vemora::gui
