#include "core/stats/statexport.h"

#include <cstdio>
#include <optional>

#include "core/app/procs.h"
#include "core/base/text.h"
#include "core/calc/calc.h"
#include "core/stats/exportfile.h"
#include "core/stats/statquery.h"
#include "core/stats/statformat.h"

namespace vemora {

namespace fs = std::filesystem;

namespace {

// A race calculation failed and has shown its own message.
struct CalcFailed {};
// Cancel at a diskette question.
struct CancelledByUser {};

std::string twoDigitYear(int year) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", ((year % 100) + 100) % 100);
    return buf;
}

int yearOf(const Value& slipDato) {
    auto d = parseIsoDate(slipDato.toText());
    if (!d) throw ExportError("Slipdatoen \"" + slipDato.toText() + "\" er ikke en gyldig dato.");
    return static_cast<int>(d->year());
}

class Exporter {
public:
    Exporter(AppState& app, ExportKind kind, const ExportTarget& target, ExportResult& result)
        : app_(app), ui_(app.userInterface()), db_(app.database()), kind_(kind), target_(target), result_(result) {}

    void run(const std::string& clubText) {
        std::string yy, section;
        std::vector<std::string> plan;
        int year = app_.currentYear();
        switch (kind_) {
            case ExportKind::ClubStats: {
                Value earlier = db_.scalar("SELECT Nr FROM Kapflyvninger WHERE SlipDato < ? LIMIT 1",
                                           {Value(std::to_string(year) + "-01-01")});
                if (!earlier.isNull())
                    throw ExportError(
                        "Statistik kan kun udtrækkes for indeværende år. Der er registreret kapflyvninger med slipdato "
                        "fra tidligere år.");
                yy = twoDigitYear(year);
                break;
            }
            case ExportKind::TotalStats: {
                RowSet span = db_.query("SELECT min(SlipDato) AS St, max(SlipDato) AS Sl FROM Kapflyvninger");
                const Value& st = span.get(0, "St");
                if (st.isNull()) {
                    yy = twoDigitYear(year);
                } else {
                    int first = yearOf(st);
                    if (first != yearOf(span.get(0, "Sl")))
                        throw ExportError("Der er registreret kapflyvninger med slipdato fra forskellige år.");
                    yy = twoDigitYear(first);
                }
                Value nr = GetSectionNumber(db_);
                if (nr.isNull())
                    throw ExportError(
                        "Ukendt sektionsnummer. Vælg \"Vis, Indskud, præmier og sektionsdata\" og tilføj sektionsnummeret "
                        "i sektionsnavnet.");
                section = nr.toText();
                break;
            }
            case ExportKind::Plan: plan = BuildPlanText(db_); break;
        }

        // A diskette drive is looked at when the diskette is asked for; a folder must be there now.
        std::error_code ec;
        if (!target_.removable && !fs::is_directory(target_.folder, ec))
            throw ExportError("Folderen " + target_.folder.string() + " findes ikke.");

        std::string club = ChosenClub(clubText);
        if (kind_ == ExportKind::Plan) {
            writePlans(plan, club);
        } else {
            calculateEveryRace();
            db_.createOrReplaceView("Q_Statistik", StatistikSql(kind_ == ExportKind::ClubStats ? club : ""));
            writeStatistics(yy, section, club);
        }
    }

private:
    void writePlans(const std::vector<std::string>& plan, const std::string& club) {
        std::string sql = "SELECT Nr AS Forening FROM Foreninger";
        std::vector<Value> params;
        if (!club.empty()) {
            sql += " WHERE Nr = ?";
            params.push_back(club);
        }
        // Read the clubs before the files are written: the questions of a diskette export may
        // take long, and the club register must not be held open meanwhile.
        RowSet clubs = db_.query(sql + " ORDER BY Nr", params);
        std::string previous;
        for (const auto& row : clubs.rows) {
            std::string forening = row[0].toText();
            // A club without a number has no file name; a repeated number gets one file.
            if (forening.empty() || forening == previous) continue;
            previous = forening;
            std::string nr = padZero(forening, 3);
            open(planFileName(nr), "Indsæt diskette for forening " + nr + ".");
            for (const auto& line : plan) file_->line(line);
        }
        close();
    }

    void calculateEveryRace() {
        RowSet races = db_.query("SELECT Nr FROM Kapflyvninger ORDER BY Nr");
        for (const auto& row : races.rows)
            if (!CalcKapflyvning(app_, row[0].toInt())) throw CalcFailed{};
    }

    void writeStatistics(const std::string& yy, const std::string& section, const std::string& club) {
        bool total = kind_ == ExportKind::TotalStats;
        // The rows are read first, so a failing query leaves the target as it was.
        OrderedLines rows = ReadStatistics(db_, total ? "" : club, total);
        if (total) open(statFileName(yy, section), "Indsæt diskette.");
        std::string previous;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (!total) {
                std::string forening(rows.club(i));
                if (forening.empty()) continue;  // no club number, no club file
                if (forening != previous) {
                    previous = forening;
                    std::string nr = padZero(forening, 3);
                    open(statFileName(yy, nr), "Indsæt diskette for forening " + nr + ".");
                }
            }
            file_->line(rows.line(i));
        }
        close();
    }

    // Finishes the open file, gets the target ready and opens the next file under its name.
    void open(const std::string& name, const std::string& diskettePrompt) {
        close();
        file_.emplace(prepareTarget(name, diskettePrompt));
    }

    void close() {
        if (!file_) return;
        file_->commit();
        result_.files.push_back(file_->target());
        file_.reset();
    }

    fs::path prepareTarget(const std::string& name, const std::string& diskettePrompt) {
        if (!target_.removable) {
            fs::path p = target_.folder / name;
            removeExisting(p);
            return p;
        }
        for (;;) {
            if (ui_.ask(diskettePrompt, "Ny diskette", Buttons::OkCancel, Icon::Exclamation, Answer::Ok) == Answer::Cancel)
                throw CancelledByUser{};
            std::optional<fs::path> root = target_.inserted ? target_.inserted() : std::optional<fs::path>(target_.folder);
            std::error_code ec;
            if (!root || !fs::is_directory(*root, ec)) throw ExportError("Der er ingen diskette i drevet.");
            if (holdsFiles(*root)) {
                Answer a = ui_.ask("Disketten er ikke tom. Ønsker du at overskrive dens indhold?", "Slet diskette",
                                   Buttons::YesNoCancel, Icon::Question, Answer::Yes);
                if (a == Answer::Cancel) throw CancelledByUser{};
                if (a == Answer::No) continue;
                deleteFiles(*root);
            }
            return *root / name;
        }
    }

    AppState& app_;
    Ui& ui_;
    Database& db_;
    ExportKind kind_;
    const ExportTarget& target_;
    ExportResult& result_;
    std::optional<ExportFile> file_;
};

}  // namespace

ExportResult ExportStatistics(AppState& app, ExportKind kind, const std::string& clubText, const ExportTarget& target) {
    ExportResult result;
    std::string error;
    {
        // The busy pointer is off again before any message is shown.
        BusyScope busy(app);
        try {
            Exporter(app, kind, target, result).run(clubText);
            result.outcome = ExportOutcome::Done;
        } catch (const CancelledByUser&) {
            result.outcome = ExportOutcome::Cancelled;
        } catch (const CalcFailed&) {
            result.outcome = ExportOutcome::Failed;
        } catch (const std::exception& e) {
            error = e.what();
            result.outcome = ExportOutcome::Failed;
        }
    }
    if (result.outcome == ExportOutcome::Failed && !error.empty())
        app.userInterface().message(error, "Fejl", Icon::Exclamation);
    return result;
}

std::string ChosenClub(const std::string& clubText) {
    auto dash = clubText.find('-');
    return trim(dash == std::string::npos ? clubText : clubText.substr(0, dash));
}

std::string planFileName(const std::string& club) { return "SEK" + club + ".DAT"; }

std::string statFileName(const std::string& yy, const std::string& clubOrSection) {
    return "SEKSTA" + yy + "." + clubOrSection;
}

}  // namespace vemora
