#include "gui/races/nykapfl.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/domain/catalogue.h"
#include "core/races/races.h"
#include "gui/app/behaviours.h"
#include "gui/app/leave.h"
#include "gui/races/kapflyvningsdialog.h"

namespace vemora::gui {



namespace {

QComboBox* entryBox(const char* name, const std::vector<std::string>& items) {
    auto* c = new QComboBox;
    c->setObjectName(name);
    c->setEditable(true);
    // No completion and no new list entries: what is typed is checked against the list.
    c->setCompleter(nullptr);
    c->setInsertPolicy(QComboBox::NoInsert);
    for (const auto& i : items) c->addItem(QString::fromStdString(i));
    return c;
}

void refuse(AppState& app, QComboBox* box, const std::string& text) {
    app.userInterface().message(text, "Fejl", Icon::Exclamation);
    box->setEditText(textAtFocus(box));
    focusBack(box);
}

}  // namespace

NyKapfl::NyKapfl(AppState& app, QWidget* parent) : DialogForm(app, "NyKapfl", "Ny kapflyvning", parent) {
    Uge = entryBox("Uge", races::weekEntries());
    Uge->lineEdit()->setMaxLength(2);
    Uge->setEditText(QString::number(app.currentWeek));
    Farvekode = entryBox("Farvekode", creationColourCodes());
    Farvekode->setEditText(QString());
    Farvekode->setMinimumContentsLength(16);
    Farvekode->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    regi = new QLineEdit;
    regi->setObjectName("regi");
    regi->setReadOnly(true);
    regi->setFocusPolicy(Qt::NoFocus);
    cmdOpret = new QPushButton("&Opret");
    cmdOpret->setObjectName("cmdOpret");
    cmdAnnuller = new QPushButton("&Annuller");
    cmdAnnuller->setObjectName("cmdAnnuller");
    cmdOpret->setAutoDefault(false);
    cmdAnnuller->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow("Uge :", Uge);
    form->addRow("Farvekode :", Farvekode);
    form->addRow("Regi :", regi);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOpret);
    buttons->addWidget(cmdAnnuller);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(buttons);

    EnterAsTab(this);
    SelectAllOnFocus(Uge);
    SelectAllOnFocus(Farvekode);

    connect(Farvekode, &QComboBox::editTextChanged, this, &NyKapfl::Farvekode_Change);
    auto twoTyped = [](const QString& t) { return t.size() == 2; };
    codeComboBox(Uge, twoTyped, [this] { Uge_LostFocus(); });
    codeComboBox(Farvekode, twoTyped, [this] { Farvekode_LostFocus(); });
    connect(cmdOpret, &QPushButton::clicked, this, &NyKapfl::cmdOpret_Click);
    connect(cmdAnnuller, &QPushButton::clicked, this, &NyKapfl::cmdAnnuller_Click);
}

void NyKapfl::Farvekode_Change(const QString& text) {
    regi->setText(text.isEmpty() ? QString() : QString::fromStdString(raceCategory(text.toStdString())));
}

bool NyKapfl::Uge_LostFocus() {
    QString t = Uge->currentText();
    if (t.isEmpty() || races::isWeekEntry(t.toStdString())) return true;
    refuse(app(), Uge, "Ugyldig uge.");
    return false;
}

bool NyKapfl::Farvekode_LostFocus() {
    QString t = Farvekode->currentText();
    if (t.isEmpty()) return true;
    if (auto entry = races::matchColourCode(t.toStdString(), creationColourCodes())) {
        Farvekode->setEditText(QString::fromStdString(*entry));
        return true;
    }
    refuse(app(), Farvekode, "Ugyldig farvekode.");
    return false;
}

void NyKapfl::cmdOpret_Click() {
    // A box still holding a half-typed entry is checked as if it had been left.
    if (!Uge_LostFocus() || !Farvekode_LostFocus()) return;
    auto r = races::CreateRace(app(), Uge->currentText().toStdString(), Farvekode->currentText().toStdString());
    switch (r.outcome) {
        case races::CreateOutcome::Created:
            created_ = r.nr;
            accept();
            break;
        case races::CreateOutcome::NoWeek: Uge->setFocus(); break;
        case races::CreateOutcome::NoColourCode: Farvekode->setFocus(); break;
        default: break;
    }
}

void NyKapfl::cmdAnnuller_Click() { reject(); }

long long NyKapfl::run(AppState& app, QWidget* parent) {
    long long nr = 0;
    {
        NyKapfl dlg(app, parent);
        dlg.exec();
        nr = dlg.createdRace();
    }
    if (nr) {
        Kapflyvningsdialog race(app, parent);
        race.setRace(nr);
        race.exec();
    }
    return nr;
}

}  // namespace vemora::gui
