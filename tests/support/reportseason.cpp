#include "support/reportseason.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vemora::test {

void loadReportSeason(Database& db) {
    std::ifstream in(std::string(VEMORA_TEST_DATA) + "/reports/season.sql", std::ios::binary);
    std::stringstream sql;
    sql << in.rdbuf();
    if (!in) throw std::runtime_error("season.sql is missing");
    Transaction tr(db);
    db.exec("DELETE FROM Generelt; DELETE FROM Indskud; DELETE FROM Markering; DELETE FROM KM_faktorer;");
    db.exec(sql.str());
    tr.commit();
}

void copyReportDefinitions(const std::filesystem::path& folder) {
    for (const auto& e : std::filesystem::directory_iterator(VEMORA_REPORTS_DIR))
        std::filesystem::copy_file(e.path(), folder / e.path().filename(), std::filesystem::copy_options::overwrite_existing);
}

}  // namespace vemora::test
