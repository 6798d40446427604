#pragma once
// The texts a rendered report places on one page, in the order they are drawn.
#include <algorithm>
#include <string>
#include <vector>

#include "report/document.h"

namespace vemora::test {

inline std::vector<std::string> pageTexts(const report::ReportDocument& doc, int page) {
    std::vector<std::string> out;
    for (const auto& t : doc.pageTexts(page)) out.push_back(t.text.toStdString());
    return out;
}

inline bool contains(const std::vector<std::string>& texts, const std::string& s) {
    return std::find(texts.begin(), texts.end(), s) != texts.end();
}

}  // namespace vemora::test
