#include "core/backup/parts.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/base/text.h"
#include "core/backup/files.h"
#include "core/stats/exportfile.h"

namespace vemora {

namespace fs = std::filesystem;

namespace {

bool diskFull(int err) {
    if (err == ENOSPC || err == EFBIG) return true;
#ifdef EDQUOT
    if (err == EDQUOT) return true;
#endif
    return false;
}

void removeQuietly(const fs::path& p) {
    std::error_code ec;
    fs::remove(p, ec);
}

std::string readBlock(std::ifstream& in, std::uintmax_t position, size_t length) {
    std::string block(length, '\0');
    in.seekg(static_cast<std::streamoff>(position));
    in.read(block.data(), static_cast<std::streamsize>(length));
    if (static_cast<size_t>(in.gcount()) != length) throw std::runtime_error("Databasefilen kunne ikke læses.");
    return block;
}

enum class PartWrite { Written, Full, Failed };

// Copies whole blocks from `position` on until the source is copied, the medium's room is used
// or a write fails; the part keeps exactly the blocks that were written completely.
PartWrite copyBlocks(std::ifstream& src, std::uintmax_t total, std::uintmax_t& position, const fs::path& part,
                     std::optional<std::uintmax_t> room) {
    std::FILE* out = std::fopen(part.string().c_str(), "wb");
    if (!out) return PartWrite::Failed;
    // Unbuffered, so a full disk shows at the block that did not fit.
    std::setvbuf(out, nullptr, _IONBF, 0);
    std::uintmax_t written = 0;
    PartWrite result = PartWrite::Written;
    while (position < total) {
        size_t length = static_cast<size_t>(std::min<std::uintmax_t>(kBlockSize, total - position));
        if (room && written + length > *room) {
            result = PartWrite::Full;
            break;
        }
        std::string block = readBlock(src, position, length);
        errno = 0;
        if (std::fwrite(block.data(), 1, length, out) != length) {
            result = diskFull(errno) ? PartWrite::Full : PartWrite::Failed;
            break;
        }
        position += length;
        written += length;
    }
    bool closed = std::fclose(out) == 0;
    if (!closed && result == PartWrite::Written) result = PartWrite::Failed;
    if (result == PartWrite::Full) {
        std::error_code ec;
        fs::resize_file(part, written, ec);  // a block half on the medium is written again on the next
        if (ec) result = PartWrite::Failed;
    }
    return result;
}

bool partMatchesSource(std::ifstream& src, const fs::path& part, std::uintmax_t start, std::uintmax_t end) {
    std::ifstream in(part, std::ios::binary);
    if (!in) return false;
    for (std::uintmax_t pos = start; pos < end; pos += kBlockSize) {
        size_t length = static_cast<size_t>(std::min<std::uintmax_t>(kBlockSize, end - pos));
        std::string got(length, '\0');
        in.read(got.data(), static_cast<std::streamsize>(length));
        if (static_cast<size_t>(in.gcount()) != length || got != readBlock(src, pos, length)) return false;
    }
    return in.peek() == std::char_traits<char>::eof();
}

// The stem ("BKUP" + mmdd) of the latest first part in the folder, by its file time.
std::optional<std::string> latestStem(const fs::path& folder) {
    std::optional<std::string> best;
    fs::file_time_type bestTime{};
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        std::string name = e.path().filename().string();
        if (name.size() != 12 || !iequals(name.substr(0, 4), "BKUP") || !iequals(name.substr(8), ".001")) continue;
        auto t = e.last_write_time(ec);
        if (ec) continue;
        if (!best || t > bestTime) {
            best = name.substr(0, 8);
            bestTime = t;
        }
    }
    return best;
}

void appendFile(const fs::path& part, std::ofstream& out) {
    std::ifstream in(part, std::ios::binary);
    if (!in) throw RestoreError("Backupfilen " + part.string() + " kan ikke læses.");
    std::vector<char> block(kBlockSize);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        out.write(block.data(), in.gcount());
    }
    if (in.bad() || !out) throw RestoreError("Backupfilen " + part.string() + " kan ikke kopieres.");
}

uint32_t bigEndian(const std::string& s, size_t at, size_t bytes) {
    uint32_t v = 0;
    for (size_t i = 0; i < bytes; ++i) v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

}  // namespace

DatabaseHeader readDatabaseHeader(const std::string& h) {
    DatabaseHeader out;
    if (h.size() < 100 || h.compare(0, 16, std::string("SQLite format 3\0", 16)) != 0) return out;
    out.database = true;
    uint32_t pageSize = bigEndian(h, 16, 2);
    if (pageSize == 1) pageSize = 65536;
    uint32_t pages = bigEndian(h, 28, 4);
    // The page count is only to be trusted when the header was written by a program that keeps it.
    if (pages != 0 && bigEndian(h, 24, 4) == bigEndian(h, 92, 4)) out.size = static_cast<std::uintmax_t>(pageSize) * pages;
    return out;
}

bool writeParts(const fs::path& source, const std::string& stem, Medium& medium, Ui& ui) {
    std::ifstream src(source, std::ios::binary);
    if (!src) throw std::runtime_error("Databasefilen " + source.string() + " kan ikke læses.");
    const std::uintmax_t total = fs::file_size(source);
    std::uintmax_t position = 0;
    int part = 0;
    if (!medium.removable()) {
        // Every part goes into this one folder: parts of an earlier, longer backup of the same
        // day must not be read as the tail of this one.
        for (int n = 1; n < 1000; ++n)
            if (auto old = findFileNoCase(medium.folder(), partName(stem, n))) removeQuietly(*old);
    }
    while (position < total) {
        ++part;
        const std::uintmax_t start = position;
        while (medium.removable() && holdsFiles(medium.folder())) {
            std::string drive = medium.driveName();
            Answer a = ui.ask("Drev " + drive + " er ikke tomt. Ønskes alle filer på drev " + drive + " slettet?", "Advarsel",
                              Buttons::YesNoCancel, Icon::Question, Answer::No);
            if (a == Answer::Yes) {
                deleteFiles(medium.folder());
                break;
            }
            if (a == Answer::Cancel) return false;
            if (ui.ask("Indsæt ny diskette.", "Diskette " + std::to_string(part), Buttons::OkCancel, Icon::Exclamation,
                       Answer::Ok) != Answer::Ok ||
                !medium.insertNext())
                return false;
        }
        const fs::path folder = medium.folder();
        const fs::path partFile = folder / partName(stem, part);
        PartWrite w = PartWrite::Failed;
        {
            std::ofstream marker(folder / kMarkerFileName, std::ios::binary | std::ios::trunc);
            if (marker) w = copyBlocks(src, total, position, partFile, medium.capacity());
        }
        bool sound = w != PartWrite::Failed && position > start && partMatchesSource(src, partFile, start, position);
        if (!sound) {
            removeQuietly(partFile);
            position = start;
            --part;
            if (ui.ask("Fejl ved kopiering til backup. Vil du prøve igen eventuelt med en ny diskette.", "Fejl", Buttons::YesNo,
                       Icon::Question, Answer::Yes) != Answer::Yes ||
                !medium.insertNext())
                return false;
            continue;
        }
        if (position < total) {
            Answer a = ui.ask("Indsæt ny diskette.", "Diskette " + std::to_string(part + 1), Buttons::OkCancel,
                              Icon::Exclamation, Answer::Ok);
            // In one folder the next part goes beside this one.
            if (a != Answer::Ok || (medium.removable() && !medium.insertNext())) {
                removeQuietly(partFile);
                return false;
            }
        } else {
            removeQuietly(folder / kMarkerFileName);
            ui.message("Backup-kopiering færdig.", "Info", Icon::None);
        }
    }
    return position == total && total > 0;
}

bool readParts(Medium& medium, const fs::path& target, Ui& ui) {
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) throw RestoreError("Filen " + target.string() + " kan ikke skrives.");
    std::optional<std::string> stem;
    std::uintmax_t declared = 0;
    for (int n = 1;; ++n) {
        fs::path part;
        for (;;) {
            if (!stem) stem = latestStem(medium.folder());
            if (stem)
                if (auto p = findFileNoCase(medium.folder(), partName(*stem, n))) {
                    part = *p;
                    break;
                }
            if (ui.ask("Ingen backupfil fundet på diskette " + std::to_string(n) + ". Vil du prøve med en anden diskette.",
                       "Fejl", Buttons::YesNo, Icon::Question, Answer::Yes) != Answer::Yes ||
                !medium.insertNext())
                return false;
        }
        appendFile(part, out);
        out.flush();
        if (n == 1) {
            std::ifstream head(target, std::ios::binary);
            std::string h(100, '\0');
            head.read(h.data(), 100);
            h.resize(static_cast<size_t>(head.gcount()));
            DatabaseHeader header = readDatabaseHeader(h);
            if (!header.database) throw RestoreError("Backupfilen " + part.string() + " er ikke begyndelsen af en database.");
            declared = header.size;
        }
        std::uintmax_t have = fs::file_size(target);
        if (declared && have >= declared) break;  // the whole file is here
        bool nextBeside = !medium.removable() && findFileNoCase(medium.folder(), partName(*stem, n + 1)).has_value();
        if (nextBeside) continue;
        if (!findFileNoCase(medium.folder(), kMarkerFileName)) break;
        if (ui.ask("Indsæt backup-diskette " + std::to_string(n + 1) + ".", "Ny diskette", Buttons::OkCancel,
                   Icon::Exclamation, Answer::Ok) != Answer::Ok ||
            !medium.insertNext())
            return false;
    }
    out.close();
    if (!out) throw RestoreError("Filen " + target.string() + " kan ikke skrives.");
    std::uintmax_t have = fs::file_size(target);
    if (declared && have != declared)
        throw RestoreError(have < declared ? "Backuppen er ufuldstændig: der mangler en eller flere dele."
                                           : "Backupfilerne hører ikke sammen: de er længere end databasen, de skulle udgøre.");
    return true;
}

}  // namespace vemora
