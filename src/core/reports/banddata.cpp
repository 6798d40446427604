#include "core/reports/banddata.h"

#include <algorithm>
#include <limits>
#include <set>

#include "core/base/text.h"

namespace vemora::reports {

std::string ReportData::firstRowValue(std::string_view column) const {
    for (size_t i = 0; i < columnNames.size() && i < firstRow_.size(); ++i)
        if (iequals(columnNames[i], column)) return firstRow_[i];
    return {};
}

std::string ReportData::pageText(std::string_view text, int page, int pages) {
    std::string out;
    out.reserve(text.size() + 8);
    for (char c : text) {
        if (c == kPageMarker)
            out += std::to_string(page);
        else if (c == kPagesMarker)
            out += std::to_string(pages);
        else
            out.push_back(c);
    }
    return out;
}

std::string orderedSql(const Definition& def, const std::string& sql) {
    if (def.sort.empty()) return sql;
    std::string inner = sql;
    while (!inner.empty() && (inner.back() == ';' || inner.back() == ' ' || inner.back() == '\n' || inner.back() == '\r'))
        inner.pop_back();
    std::string out = "SELECT * FROM (" + inner + ") ORDER BY ";
    for (size_t i = 0; i < def.sort.size(); ++i)
        out += (i ? ", " : "") + sqlIdent(def.sort[i].field) + (def.sort[i].descending ? " DESC" : "");
    return out;
}

namespace {

struct Accumulator {
    Aggregate kind = Aggregate::Sum;
    int slot = -1;
    int scope = -1;  // group level, or -1 for the whole report
    double sum = 0;
    long long count = 0;  // rows, or non-Null values when a field is named
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();

    void reset() {
        sum = 0;
        count = 0;
        min = std::numeric_limits<double>::infinity();
        max = -std::numeric_limits<double>::infinity();
    }
    void add(const Value& v) {
        if (slot < 0) {
            ++count;
            return;
        }
        if (v.isNull()) return;
        ++count;
        double d = v.toDouble();
        sum += d;
        min = std::min(min, d);
        max = std::max(max, d);
    }
    Value value() const {
        switch (kind) {
            case Aggregate::Sum: return Value(sum);
            case Aggregate::Count: return Value(static_cast<long long>(count));
            case Aggregate::Min: return count ? Value(min) : Value();
            case Aggregate::Max: return count ? Value(max) : Value();
            case Aggregate::Average: return count ? Value(sum / static_cast<double>(count)) : Value();
        }
        return {};
    }
};

// "hvis FELT" prints when the field holds something: not Null, not blank text, not 0 (so a
// Boolean field reads as its truth).
bool blank(const Value& v) {
    if (v.isNull()) return true;
    if (!v.isText()) return v.toDouble() == 0;
    return isBlank(v.text());
}

}  // namespace

class ReportDataBuilder {
public:
    ReportDataBuilder(Definition& def, ReportData& out) : def_(def), out_(out) {}

    void run(Database& db, const std::string& sql) {
        Statement st = db.prepare(orderedSql(def_, sql));
        nameColumns(st);
        resolve();
        std::vector<Value> cur(slotCount_), prev(slotCount_);
        const int levels = static_cast<int>(def_.groups.size());
        bool first = true;
        while (st.step()) {
            for (int c : used_) cur[c] = st.column(c);
            evalFormulas(cur);
            if (first) {
                first = false;
                firstRow(st);
                pageTexts(cur);
                headings(cur);
                emit(0, cur);
                for (int l = 0; l < levels; ++l) emit(Definition::groupHeaderId(l), cur);
            } else {
                int brk = -1;
                for (int l = 0; l < levels && brk < 0; ++l)
                    for (int s : def_.groups[l].keySlots)
                        if (!(cur[s] == prev[s])) {
                            brk = l;
                            break;
                        }
                if (brk >= 0) {
                    for (int l = levels - 1; l >= brk; --l) {
                        emit(Definition::groupFooterId(l), prev);
                        for (auto& a : accs_)
                            if (a.scope == l) a.reset();
                    }
                    for (int l = brk; l < levels; ++l) emit(Definition::groupHeaderId(l), cur);
                }
            }
            for (auto& a : accs_) a.add(a.slot >= 0 ? cur[a.slot] : Value());
            emit(2, cur);
            ++out_.rowCount;
            std::swap(cur, prev);
        }
        if (first) {
            std::vector<Value> none(slotCount_);
            pageTexts(none);
            headings(none);
            emit(0, none);
            emit(3, none);
            return;
        }
        for (int l = levels - 1; l >= 0; --l) emit(Definition::groupFooterId(l), prev);
        emit(3, prev);
    }

private:
    Definition& def_;
    ReportData& out_;
    int columnCount_ = 0;
    int slotCount_ = 0;
    std::vector<int> used_;  // data columns read for each row
    std::vector<Accumulator> accs_;

    [[noreturn]] void unknown(const std::string& field) const {
        throw DefinitionError("Rapportdefinitionen " + def_.fileName + " bruger feltet \"" + field +
                              "\", som ikke findes i udskriftens data.");
    }

    void nameColumns(const Statement& st) {
        columnCount_ = st.columnCount();
        std::set<std::string> seen;
        for (int i = 0; i < columnCount_; ++i) {
            std::string n = st.columnName(i);
            std::string key = upper(n);
            if (seen.count(key)) {
                for (int k = 1;; ++k) {
                    std::string cand = n + ":" + std::to_string(k);
                    if (!seen.count(upper(cand))) {
                        n = cand;
                        key = upper(cand);
                        break;
                    }
                }
            }
            seen.insert(key);
            out_.columnNames.push_back(n);
        }
        slotCount_ = columnCount_ + static_cast<int>(def_.formulas.size());
    }

    // Finds a field among the data's columns and the formulas declared so far.
    int slot(const std::string& field, int formulasVisible) {
        for (int i = 0; i < columnCount_; ++i)
            if (iequals(out_.columnNames[i], field)) {
                if (std::find(used_.begin(), used_.end(), i) == used_.end()) used_.push_back(i);
                return i;
            }
        for (int k = 0; k < formulasVisible; ++k)
            if (iequals(def_.formulas[k].name, field)) return columnCount_ + k;
        unknown(field);
    }

    void resolve() {
        const int allFormulas = static_cast<int>(def_.formulas.size());
        for (int k = 0; k < allFormulas; ++k)
            for (auto& op : def_.formulas[k].rpn)
                if (op.kind == Formula::Op::Field) op.slot = slot(op.field, k);
        for (auto& g : def_.groups) {
            g.keySlots.clear();
            for (const auto& f : g.fields) g.keySlots.push_back(slot(f, allFormulas));
        }
        for (int id = 0; id < def_.bandCount(); ++id) {
            Band& b = def_.band(id);
            int scope = b.kind == BandKind::GroupFooter ? b.level : -1;
            if (!b.ifField.empty()) b.ifSlot = slot(b.ifField, allFormulas);
            for (auto& it : b.items) {
                if (!it.ifField.empty()) it.ifSlot = slot(it.ifField, allFormulas);
                for (auto& s : it.text.segments) {
                    if (s.kind == Segment::Field) s.slot = slot(s.text, allFormulas);
                    if (s.kind == Segment::Aggregated) {
                        Accumulator a;
                        a.kind = s.aggregate;
                        a.slot = s.text.empty() ? -1 : slot(s.text, allFormulas);
                        a.scope = scope;
                        s.slot = a.slot;
                        s.accumulator = static_cast<int>(accs_.size());
                        accs_.push_back(a);
                    }
                }
            }
        }
        for (auto& c : def_.columns)
            for (auto& s : c.headingTemplate.segments)
                if (s.kind == Segment::Field) s.slot = slot(s.text, allFormulas);
        std::sort(used_.begin(), used_.end());
    }

    void headings(const std::vector<Value>& row) {
        out_.columnHeadings.clear();
        for (const auto& c : def_.columns) {
            out_.columnHeadings.emplace_back();
            appendTemplate(out_.columnHeadings.back(), c.headingTemplate, row);
        }
    }

    void evalFormulas(std::vector<Value>& row) const {
        std::vector<double> stack;
        for (size_t k = 0; k < def_.formulas.size(); ++k) {
            stack.clear();
            for (const auto& op : def_.formulas[k].rpn) {
                switch (op.kind) {
                    case Formula::Op::Number: stack.push_back(op.number); break;
                    case Formula::Op::Field: stack.push_back(row[op.slot].toDouble(0)); break;
                    case Formula::Op::Neg: stack.back() = -stack.back(); break;
                    default: {
                        double b = stack.back();
                        stack.pop_back();
                        double& a = stack.back();
                        if (op.kind == Formula::Op::Add) a += b;
                        if (op.kind == Formula::Op::Sub) a -= b;
                        if (op.kind == Formula::Op::Mul) a *= b;
                        // A division by zero prints as nothing rather than as infinity.
                        if (op.kind == Formula::Op::Div) a = b == 0 ? std::numeric_limits<double>::quiet_NaN() : a / b;
                    }
                }
            }
            double r = stack.empty() ? 0 : stack.back();
            row[columnCount_ + k] = r == r ? Value(r) : Value();
        }
    }

    void firstRow(const Statement& st) {
        Format general;
        for (int i = 0; i < columnCount_; ++i) out_.firstRow_.push_back(formatValue(st.column(i), general));
    }

    void appendTemplate(std::string& out, const Template& t, const std::vector<Value>& row) const {
        for (const auto& s : t.segments) {
            switch (s.kind) {
                case Segment::Literal: out += s.text; break;
                case Segment::Field: appendFormatted(out, row[s.slot], s.format); break;
                case Segment::Aggregated: appendFormatted(out, accs_[s.accumulator].value(), s.format); break;
                case Segment::Page: out.push_back(kPageMarker); break;
                case Segment::Pages: out.push_back(kPagesMarker); break;
                case Segment::Title: out += out_.title; break;
            }
        }
    }

    void pageTexts(const std::vector<Value>& row) {
        for (auto [band, texts] : {std::pair{&def_.pageHeader, &out_.pageHeaderTexts}, std::pair{&def_.pageFooter, &out_.pageFooterTexts}}) {
            texts->assign(band->textCount, {});
            for (const auto& it : band->items)
                if (it.kind == Item::Text && (it.ifSlot < 0 || !blank(row[it.ifSlot])))
                    appendTemplate((*texts)[it.textIndex], it.text, row);
        }
    }

    void emit(int id, const std::vector<Value>& row) {
        const Band& b = def_.band(id);
        if (!b.defined || b.hidden) return;
        if (b.ifSlot >= 0 && blank(row[b.ifSlot])) return;
        out_.instances.push_back({static_cast<uint16_t>(id), static_cast<uint32_t>(out_.starts_.size())});
        for (const auto& it : b.items) {
            if (it.kind != Item::Text) continue;
            out_.starts_.push_back(static_cast<uint32_t>(out_.arena_.size()));
            if (it.ifSlot < 0 || !blank(row[it.ifSlot])) appendTemplate(out_.arena_, it.text, row);
        }
    }
};

ReportData buildReportData(Database& db, Definition& def, const std::string& sql, const std::string& title) {
    ReportData out;
    out.title = title;
    ReportDataBuilder(def, out).run(db, sql);
    return out;
}

}  // namespace vemora::reports
