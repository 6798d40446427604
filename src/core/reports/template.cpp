#include "core/reports/template.h"

#include <charconv>
#include <functional>
#include <stdexcept>

#include "core/base/text.h"

namespace vemora::reports {

namespace {

[[noreturn]] void bad(const std::string& message) { throw std::invalid_argument(message); }

Formula::Op op(Formula::Op::Kind kind, double number = 0, std::string field = {}) {
    Formula::Op o;
    o.kind = kind;
    o.number = number;
    o.field = std::move(field);
    return o;
}

Segment parseField(const std::string& inner) {
    Segment seg;
    std::string body = inner;
    auto bar = body.find('|');
    if (bar != std::string::npos) {
        std::string fmt = trim(body.substr(bar + 1));
        if (!parseFormat(fmt, seg.format)) bad("ukendt format \"" + fmt + "\"");
        body = body.substr(0, bar);
    }
    body = trim(body);
    if (body.empty()) bad("tomt felt \"{}\"");
    auto agg = [&](std::string_view w, Aggregate a) {
        if (body.size() > w.size() && body.compare(0, w.size(), w) == 0 && body[w.size()] == ' ') {
            seg.kind = Segment::Aggregated;
            seg.aggregate = a;
            seg.text = trim(body.substr(w.size() + 1));
            return true;
        }
        return false;
    };
    if (body == "side") {
        seg.kind = Segment::Page;
    } else if (body == "sider") {
        seg.kind = Segment::Pages;
    } else if (body == "titel") {
        seg.kind = Segment::Title;
    } else if (body == "antal") {
        seg.kind = Segment::Aggregated;
        seg.aggregate = Aggregate::Count;
    } else if (agg("sum", Aggregate::Sum) || agg("antal", Aggregate::Count) || agg("min", Aggregate::Min) ||
               agg("maks", Aggregate::Max) || agg("gns", Aggregate::Average)) {
    } else {
        seg.kind = Segment::Field;
        seg.text = body;
    }
    return seg;
}

}  // namespace

Segment literalSegment(std::string text) {
    Segment s;
    s.text = std::move(text);
    return s;
}

Template parseTemplate(const std::string& s) {
    Template t;
    std::string lit;
    auto flush = [&] {
        if (!lit.empty()) t.segments.push_back(literalSegment(lit));
        lit.clear();
    };
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '{' && i + 1 < s.size() && s[i + 1] == '{') {
            lit.push_back('{');
            ++i;
        } else if (s[i] == '}' && i + 1 < s.size() && s[i + 1] == '}') {
            lit.push_back('}');
            ++i;
        } else if (s[i] == '{') {
            size_t close = s.find('}', i);
            if (close == std::string::npos) bad("\"{\" lukkes ikke i \"" + s + "\"");
            flush();
            t.segments.push_back(parseField(s.substr(i + 1, close - i - 1)));
            i = close;
        } else if (s[i] == '}') {
            bad("\"}\" uden \"{\" i \"" + s + "\"");
        } else {
            lit.push_back(s[i]);
        }
    }
    flush();
    return t;
}

Formula parseFormula(const std::string& name, const std::string& expr) {
    Formula f;
    f.name = name;
    size_t i = 0;
    auto skip = [&] {
        while (i < expr.size() && (expr[i] == ' ' || expr[i] == '\t')) ++i;
    };
    // Recursive descent into reverse Polish order.
    std::function<void()> sum, product, factor;
    factor = [&] {
        skip();
        if (i >= expr.size()) bad("formlen \"" + name + "\" slutter for tidligt");
        char c = expr[i];
        if (c == '(') {
            ++i;
            sum();
            skip();
            if (i >= expr.size() || expr[i] != ')') bad("\")\" mangler i formlen \"" + name + "\"");
            ++i;
        } else if (c == '-') {
            ++i;
            factor();
            f.rpn.push_back(op(Formula::Op::Neg));
        } else if (c == '[') {
            size_t close = expr.find(']', i);
            if (close == std::string::npos) bad("\"]\" mangler i formlen \"" + name + "\"");
            f.rpn.push_back(op(Formula::Op::Field, 0, expr.substr(i + 1, close - i - 1)));
            i = close + 1;
        } else if ((c >= '0' && c <= '9') || c == '.') {
            size_t start = i;
            while (i < expr.size() && ((expr[i] >= '0' && expr[i] <= '9') || expr[i] == '.' || expr[i] == ',')) ++i;
            std::string n = expr.substr(start, i - start);
            for (char& ch : n)
                if (ch == ',') ch = '.';
            double d = 0;
            auto r = std::from_chars(n.data(), n.data() + n.size(), d);
            if (r.ec != std::errc() || r.ptr != n.data() + n.size()) bad("\"" + n + "\" er ikke et tal");
            f.rpn.push_back(op(Formula::Op::Number, d));
        } else {
            size_t start = i;
            while (i < expr.size() && expr[i] != ' ' && expr[i] != '\t' && expr[i] != '+' && expr[i] != '-' &&
                   expr[i] != '*' && expr[i] != '/' && expr[i] != '(' && expr[i] != ')')
                ++i;
            if (i == start) bad("uventet \"" + std::string(1, c) + "\" i formlen \"" + name + "\"");
            f.rpn.push_back(op(Formula::Op::Field, 0, expr.substr(start, i - start)));
        }
    };
    product = [&] {
        factor();
        for (;;) {
            skip();
            if (i < expr.size() && (expr[i] == '*' || expr[i] == '/')) {
                char sign = expr[i++];
                factor();
                f.rpn.push_back(op(sign == '*' ? Formula::Op::Mul : Formula::Op::Div));
            } else {
                return;
            }
        }
    };
    sum = [&] {
        product();
        for (;;) {
            skip();
            if (i < expr.size() && (expr[i] == '+' || expr[i] == '-')) {
                char sign = expr[i++];
                product();
                f.rpn.push_back(op(sign == '+' ? Formula::Op::Add : Formula::Op::Sub));
            } else {
                return;
            }
        }
    };
    sum();
    skip();
    if (i != expr.size()) bad("uventet \"" + expr.substr(i) + "\" i formlen \"" + name + "\"");
    return f;
}

}  // namespace vemora::reports
