#pragma once
// The desktop program's message interface: message boxes with the titles each message names,
// buttons, default button and icon, in Danish, and the wait cursor.
#include <QWidget>

#include "core/base/ui.h"

namespace vemora::gui {

class GuiUi : public Ui {
public:
    explicit GuiUi(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* p) { parent_ = p; }
    void message(const std::string& text, const std::string& title, Icon icon) override;
    Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon, Answer def) override;
    void busy(bool on) override;

private:
    QWidget* parent_;
};

}  // namespace vemora::gui
