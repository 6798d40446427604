#include "gui/settings/postnrtown.h"

#include <QLineEdit>

#include "core/settings/postnr.h"
#include "gui/app/behaviours.h"
#include "gui/app/leave.h"

namespace vemora::gui {

PostnrTown::PostnrTown(AppState& app, QLineEdit* code, QLineEdit* town)
    : QObject(code), app_(app), code_(code), town_(town) {
    onLeave(code_, [this] { return codeLeft(); });
    onLeave(town_, [this] { return townLeft(); });
    town_->setReadOnly(true);
}

bool PostnrTown::codeLeft() {
    QString code = code_->text();
    if (!refused_ && code == textAtFocus(code_)) return true;
    if (!code.isEmpty() && code.size() != 4) {
        refused_ = true;
        town_->setReadOnly(false);
        app_.userInterface().message("Indtast 4-cifret postnummer.", "Fejl", Icon::Exclamation);
        focusBack(code_);
        return false;
    }
    refused_ = false;
    lookup();
    return true;
}

void PostnrTown::lookup() {
    try {
        PostnrLookup r = LookupPostnr(app_.database(), code_->text().toStdString());
        switch (r.result) {
            case PostnrLookup::Empty:
                town_->clear();
                town_->setReadOnly(true);
                break;
            case PostnrLookup::Added:
                town_->clear();
                town_->setReadOnly(false);
                break;
            case PostnrLookup::Found:
                town_->setText(QString::fromStdString(r.town));
                town_->setReadOnly(false);
                break;
            case PostnrLookup::WrongLength: town_->setReadOnly(false); break;
        }
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved opdatering af postnummer.", "Fejl", Icon::Exclamation);
    }
}

bool PostnrTown::townLeft() {
    if (town_->isReadOnly() || town_->text() == textAtFocus(town_)) return true;
    try {
        StoreTown(app_.database(), code_->text().toStdString(), town_->text().toStdString());
        setTextAtFocus(town_, town_->text());
        return true;
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved opdatering af postnummer.", "Fejl", Icon::Exclamation);
        return false;
    }
}

}  // namespace vemora::gui
