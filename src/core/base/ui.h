#pragma once
// The one small interface through which core code shows messages, asks questions and
// switches the busy cursor. The GUI answers with message boxes, the command-line tool on
// the terminal or from --yes/--answers, and the tests from a script.
#include <deque>
#include <string>
#include <vector>

namespace vemora {

enum class Icon { None, Information, Exclamation, Question, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

class Ui {
public:
    virtual ~Ui() = default;
    virtual void message(const std::string& text, const std::string& title, Icon icon) = 0;
    virtual Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon,
                       Answer defaultAnswer) = 0;
    virtual void busy(bool /*on*/) {}
    // A remark that needs no answer and no OK, such as that the program is waiting for the
    // database. The desktop program lets the busy pointer say it; the command line prints it.
    virtual void notice(const std::string& /*text*/) {}
};

// Says nothing and takes every default; for batch work where no one is there to answer.
class SilentUi : public Ui {
public:
    void message(const std::string&, const std::string&, Icon) override {}
    Answer ask(const std::string&, const std::string&, Buttons, Icon, Answer def) override { return def; }
};

// Answers from a list given in advance and records everything it was shown, so tests can
// check the exact texts, titles and buttons.
class ScriptedUi : public Ui {
public:
    struct Shown {
        std::string text, title;
        Icon icon;
        bool question;
        Buttons buttons;
        Answer defaultAnswer;
    };
    std::deque<Answer> answers;
    std::vector<Shown> shown;
    int busyOn = 0, busyOff = 0;

    explicit ScriptedUi(std::deque<Answer> a = {}) : answers(std::move(a)) {}
    void message(const std::string& text, const std::string& title, Icon icon) override {
        shown.push_back({text, title, icon, false, Buttons::Ok, Answer::Ok});
    }
    // An unscripted question takes its default button, like a user pressing Enter.
    Answer ask(const std::string& text, const std::string& title, Buttons b, Icon icon, Answer def) override {
        shown.push_back({text, title, icon, true, b, def});
        if (answers.empty()) return def;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void busy(bool on) override { (on ? busyOn : busyOff)++; }
    std::vector<std::string> notices;
    void notice(const std::string& text) override { notices.push_back(text); }
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (auto& s : shown) out.push_back(s.title + ": " + s.text);
        return out;
    }
};

}  // namespace vemora
