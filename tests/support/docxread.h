#pragma once
// A .docx file as Word would show it, read by an independent reader (python-docx from
// Debian), so the tests check what a club opening the file gets, not what our writer
// meant to write.
#include <filesystem>
#include <string>
#include <vector>

namespace vemora::test {

struct DocxContent {
    bool ok = false;
    std::string error;  // the reader's complaint when it could not open the file
    std::string title;  // the core properties' title
    bool landscape = false;
    struct Paragraph {
        std::string style, text;
    };
    std::vector<Paragraph> paragraphs;                         // the body's, outside tables
    std::vector<std::vector<std::vector<std::string>>> tables;  // table, row, cell texts
    std::vector<std::string> header, footer;                   // paragraphs of the first section's
};

DocxContent readDocx(const std::filesystem::path& file);

}  // namespace vemora::test
