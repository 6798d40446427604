#include "gui/app/guiui.h"

#include <QApplication>
#include <QMessageBox>

namespace vemora::gui {

static QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::Information: return QMessageBox::Information;
        case Icon::Exclamation: return QMessageBox::Warning;
        case Icon::Question: return QMessageBox::Question;
        case Icon::Critical: return QMessageBox::Critical;
        default: return QMessageBox::NoIcon;
    }
}

static QMessageBox::StandardButton qtButton(Answer a) {
    switch (a) {
        case Answer::Ok: return QMessageBox::Ok;
        case Answer::Cancel: return QMessageBox::Cancel;
        case Answer::Yes: return QMessageBox::Yes;
        case Answer::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

static QWidget* dialogParent(QWidget* fallback) {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    if (QWidget* w = QApplication::activeWindow()) return w;
    return fallback;
}

void GuiUi::message(const std::string& text, const std::string& title, Icon icon) {
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    dialogParent(parent_));
    box.setObjectName("vemoraMessage");
    // A message shown while the wait cursor is on must still get the arrow.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QApplication::restoreOverrideCursor();
}

Answer GuiUi::ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon, Answer def) {
    QMessageBox::StandardButtons b;
    switch (buttons) {
        case Buttons::Ok: b = QMessageBox::Ok; break;
        case Buttons::OkCancel: b = QMessageBox::Ok | QMessageBox::Cancel; break;
        case Buttons::YesNo: b = QMessageBox::Yes | QMessageBox::No; break;
        case Buttons::YesNoCancel: b = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    }
    QMessageBox box(qtIcon(icon), QString::fromStdString(title), QString::fromStdString(text), b, dialogParent(parent_));
    box.setObjectName("vemoraQuestion");
    box.setDefaultButton(qtButton(def));
    if (buttons == Buttons::YesNo) box.setEscapeButton(QMessageBox::No);
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    int r = box.exec();
    QApplication::restoreOverrideCursor();
    switch (r) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Yes: return Answer::Yes;
        case QMessageBox::No: return Answer::No;
        case QMessageBox::Cancel: return Answer::Cancel;
        default: return def;
    }
}

void GuiUi::busy(bool on) {
    if (on) QApplication::setOverrideCursor(Qt::WaitCursor);
    else QApplication::restoreOverrideCursor();
}

}  // namespace vemora::gui
