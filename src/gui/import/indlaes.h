#pragma once
// The dialog "Indlæs fra Foreningsprogram": drive, folder, the club result files of the
// folder as list entries, the entry-check switch, and the import of the chosen entry. It
// stays open after a run so the next file can be chosen.
#include <filesystem>

#include "gui/app/form.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vemora::gui {

class DriveList;
class FolderList;

class Indlaes : public DialogForm {
    Q_OBJECT
public:
    explicit Indlaes(AppState& app, QWidget* parent = nullptr);

    // Points the folder list at a folder and refills the file list.
    void setFolder(const QString& folder);
    QString folder() const { return folder_; }
    QListWidget* filer() const { return filer_; }

    void cmdOK_Click();
    void chkCheckRes_Click();
    void Drev_Change();
    void Filer_Refresh();

private:
    void showFolder(const QString& folder);
    DriveList* drev_;
    FolderList* dirList_;
    QLabel* folderLabel_;
    QListWidget* filer_;
    QCheckBox* chkCheckRes_;
    QPushButton* ok_;
    QPushButton* close_;
    QString folder_;
};

}  // namespace vemora::gui
