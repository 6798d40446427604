#pragma once
// Building club result files for the import tests with the demo writer.
#include <string>
#include <vector>

#include "core/db/database.h"
#include "core/import/demo.h"

namespace vemora::test {

inline BirdRecord makeBird(const std::string& cc, const std::string& slag, const std::string& ring, const std::string& kon = "A") {
    BirdRecord b;
    b.cc = cc;
    b.slag = Value(slag);
    b.ring = ring;
    b.kon = Value(kon);
    b.klZ = false;
    b.klR = false;
    b.foreningskrydsT = Value();
    b.afstand = Value(250.5);
    b.omrade = Value("Nord");
    b.slagNavn = Value("Søren Sørensen");
    return b;
}

inline BirdRecord clocked(BirdRecord b, const std::string& time, double speed) {
    b.hjemkomst = Value(time);
    b.dogn = Value(1);
    b.speed = Value(speed);
    return b;
}

// Lines already in Windows-1252, joined with CR LF.
inline std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

}  // namespace vemora::test
