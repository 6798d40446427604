#include "gui/settings/postnrtown.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include "core/settings/postnr.h"
#include "gui/app/behaviours.h"

namespace vemora::gui {

PostnrTown::PostnrTown(AppState& app, QLineEdit* code, QLineEdit* town)
    : QObject(code), app_(app), code_(code), town_(town) {
    code_->installEventFilter(this);
    town_->installEventFilter(this);
    town_->setReadOnly(true);
}

bool PostnrTown::eventFilter(QObject* obj, QEvent* ev) {
    if (ev->type() == QEvent::FocusOut) {
        auto reason = static_cast<QFocusEvent*>(ev)->reason();
        // Another window taking the focus (a message box, a menu) does not leave the box.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (obj == code_ && (refused_ || code_->text() != textAtFocus(code_))) codeLeft();
        else if (obj == town_ && !town_->isReadOnly() && town_->text() != textAtFocus(town_)) townLeft();
    }
    return false;
}

void PostnrTown::leaveFocusedBox() {
    QWidget* f = code_->window()->focusWidget();
    QString code = code_->text();
    if (f == code_ && code != textAtFocus(code_) && (code.isEmpty() || code.size() == 4)) lookup();
    else if (f == town_ && !town_->isReadOnly() && town_->text() != textAtFocus(town_))
        townLeft();
}

void PostnrTown::codeLeft() {
    QString code = code_->text();
    if (!code.isEmpty() && code.size() != 4) {
        refused_ = true;
        town_->setReadOnly(false);
        // The focus is moving on right now; it is taken back once that move is done.
        QPointer<QLineEdit> box(code_);
        AppState* app = &app_;
        QTimer::singleShot(0, code_, [box, app] {
            if (!box) return;
            box->setFocus(Qt::OtherFocusReason);
            app->userInterface().message("Indtast 4-cifret postnummer.", "Fejl", Icon::Exclamation);
        });
        return;
    }
    refused_ = false;
    lookup();
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

void PostnrTown::townLeft() {
    try {
        StoreTown(app_.database(), code_->text().toStdString(), town_->text().toStdString());
    } catch (const DbError&) {
        app_.userInterface().message("Fejl ved opdatering af postnummer.", "Fejl", Icon::Exclamation);
    }
}

}  // namespace vemora::gui
