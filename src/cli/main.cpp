#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <cstdio>
#include <iostream>
#include <vector>

#include "cli/cli.h"
#include "core/app/startup.h"

namespace vemora::cli {

static std::vector<CommandSetup>& registry() {
    static std::vector<CommandSetup> r;
    return r;
}

Register::Register(CommandSetup setup) { registry().push_back(std::move(setup)); }

void TerminalUi::message(const std::string& text, const std::string& title, Icon icon) {
    ++messageCount;
    if (title == "Fejl" || icon == Icon::Critical) ++errorCount;
    std::cerr << title << ": " << text << std::endl;
}

void TerminalUi::notice(const std::string& text) { std::cerr << text << std::endl; }

static bool allowed(Answer a, Buttons b) {
    switch (b) {
        case Buttons::Ok: return a == Answer::Ok;
        case Buttons::OkCancel: return a == Answer::Ok || a == Answer::Cancel;
        case Buttons::YesNo: return a == Answer::Yes || a == Answer::No;
        case Buttons::YesNoCancel: return a == Answer::Yes || a == Answer::No || a == Answer::Cancel;
    }
    return false;
}

// y/n/c map onto whatever the question offers: "y" is OK on an OK/Cancel question.
static Answer fromLetter(char c, Buttons b) {
    bool okStyle = b == Buttons::Ok || b == Buttons::OkCancel;
    switch (c) {
        case 'y': case 'Y': case 'j': case 'J': return okStyle ? Answer::Ok : Answer::Yes;
        case 'n': case 'N': return okStyle ? Answer::Cancel : Answer::No;
        default: return Answer::Cancel;
    }
}

Answer TerminalUi::ask(const std::string& text, const std::string& title, Buttons buttons, Icon, Answer def) {
    std::cerr << title << ": " << text << std::endl;
    if (!answers.empty()) {
        char c = answers.front();
        answers.erase(answers.begin());
        Answer a = fromLetter(c, buttons);
        return allowed(a, buttons) ? a : def;
    }
    if (yes) return fromLetter('y', buttons);
    if (isatty(STDIN_FILENO)) {
        for (;;) {
            std::cerr << (buttons == Buttons::YesNoCancel ? "[j/n/a] " : buttons == Buttons::OkCancel ? "[j/a] " : "[j/n] ")
                      << std::flush;
            std::string line;
            if (!std::getline(std::cin, line)) return def;
            if (line.empty()) return def;
            char c = line[0];
            if (c == 'a' || c == 'A') c = 'c';
            Answer a = fromLetter(c, buttons);
            if (allowed(a, buttons)) return a;
        }
    }
    return def;
}

bool Env::open(bool anyState) {
    app.ui = &ui;
    app.busyTimeout = std::chrono::milliseconds(static_cast<long long>(waitSeconds * 1000 + 0.5));
    initAppState(app, folder);
    app.currentWeek = CurrentWeekFor(app.today());
    switch (openSectionDatabaseWith(app)) {
        case OpenResult::Ready: return true;
        case OpenResult::Ended: return false;
        default: return anyState;
    }
}

}  // namespace vemora::cli

// The program folder is the folder of the running program, as for the desktop program.
static std::string programFolder(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = std::filesystem::weakly_canonical(argv0, ec);
    return ec ? std::string(".") : self.parent_path().string();
}

int main(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    using namespace vemora::cli;
    Env env;
    env.folder = programFolder(argv[0]);
    CLI::App app{"Vemora - sektionens resultatprogram, kommandolinje"};
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--folder", env.folder, "Programmappen (med SEKDATA.MDB)");
    app.add_flag("--yes", env.ui.yes, "Svar Ja (OK) på alle spørgsmål");
    app.add_option("--answers", env.ui.answers, "Svar på spørgsmålene i rækkefølge: y/n/c pr. spørgsmål");
    app.add_option("--wait", env.waitSeconds, "Sekunder der ventes på en database, som et andet program bruger (standard 30)")
        ->check(CLI::Range(0.0, 3600.0));
    for (auto& setup : registry()) setup(app, env);
    // The commands run inside parse. Whatever one of them does not handle itself (a locked,
    // write-protected or damaged database) is still an answer a script can read.
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        env.ui.message(e.what(), "Fejl", vemora::Icon::Exclamation);
        return 1;
    } catch (...) {
        env.ui.message("Uventet fejl.", "Fejl", vemora::Icon::Exclamation);
        return 1;
    }
    return env.exitCode;
}
