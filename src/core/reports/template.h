#pragma once
// The texts with fields of a report definition ("Side {side} af {sider}", "{Præmie|kr}") and
// its calculated fields. A mistake is an std::invalid_argument whose text the definition
// reader puts after the file and line.
#include <string>

#include "core/reports/definition.h"

namespace vemora::reports {

Template parseTemplate(const std::string& text);
// name = expr: + - * /, parentheses, numbers and fields ([Felt med mellemrum]).
Formula parseFormula(const std::string& name, const std::string& expr);
Segment literalSegment(std::string text);

}  // namespace vemora::reports
