#pragma once
// The dialog "Eksporter": race plans, club statistics or the section's total statistics as
// text files into a chosen folder, or onto removable media asked for one after another.
#include <functional>

#include "core/stats/statexport.h"
#include "gui/app/form.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vemora::gui {

class DriveList;
class FolderList;

class ExpStat : public DialogForm {
    Q_OBJECT
public:
    explicit ExpStat(AppState& app, QWidget* parent = nullptr);

    // Points the folder list at a folder.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }

    void Form_Load();
    void Drev_Change();
    void cmdOK_Click();

    // Which folders are treated as the root of a removable medium; tests stand in for one.
    std::function<bool(const QString&)> isRemovable;
    // The outcome of the last export, for the tests.
    ExportResult lastResult;

    QRadioButton* optTotStat;
    QRadioButton* optKapf;
    QRadioButton* optStat;
    QComboBox* Forening;
    DriveList* Drev;
    FolderList* DirList;
    QPushButton* cmdOK;
    QPushButton* cmdClose;

private:
    QLabel* folderLabel_;
    QString folder_;
};

}  // namespace vemora::gui
