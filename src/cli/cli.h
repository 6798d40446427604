#pragma once
// The command-line tool's frame: the global options, the terminal's message interface and
// a registry through which each subsystem adds its own subcommand from its own file.
#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <string>

#include "core/app/appstate.h"

namespace vemora::cli {

// Messages and questions on the terminal: every one is printed to stderr as "Title: text";
// questions take the next letter of --answers (y/n/c), Yes with --yes, the user's answer when
// stdin is a terminal, else the default button.
class TerminalUi : public Ui {
public:
    std::string answers;  // remaining y/n/c letters
    bool yes = false;
    int messageCount = 0, errorCount = 0;
    void message(const std::string& text, const std::string& title, Icon icon) override;
    Answer ask(const std::string& text, const std::string& title, Buttons buttons, Icon icon, Answer def) override;
    // Printed to stderr as it stands, so a script's log shows why the tool sits still.
    void notice(const std::string& text) override;
};

struct Env {
    std::string folder;  // the program folder; --folder overrides
    double waitSeconds = 30;  // --wait: how long to wait for a database another program holds
    TerminalUi ui;
    AppState app;
    int exitCode = 0;

    // Sets up AppState on the folder and opens (or creates) the database; false after the
    // Danish message has been printed. A command that writes needs a sound, current file; the
    // repair and the restore of the whole database (`anyState`) go on with a damaged file, one
    // from a newer program or none at all, since they replace it.
    bool open(bool anyState = false);
};

using CommandSetup = std::function<void(CLI::App& root, Env& env)>;

// Registers a subcommand; called from a static object in each command's file. A command that
// throws (a database error it does not handle itself) ends the tool with "Fejl: " and the
// error's text on stderr and exit code 1.
struct Register {
    explicit Register(CommandSetup setup);
};

}  // namespace vemora::cli
