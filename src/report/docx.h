#pragma once
// A printout as a Word document (Office Open XML, .docx) that a club can open and edit in
// Word or LibreOffice: the definition's table becomes a real table with its headings as the
// repeated heading row, the texts around it become paragraphs (group headings inside the
// table become full-width rows), and the page header and footer become the Word file's own,
// with the page number and count as fields. The Word file is built from the band data, so it
// holds the same strings as the printed pages.
#include <filesystem>
#include <map>
#include <string>

#include "core/reports/banddata.h"
#include "core/reports/definition.h"

namespace vemora::report {

// The parts of the package by their names in the zip ("word/document.xml", ...).
std::map<std::string, std::string> docxParts(const reports::Definition& def, const reports::ReportData& data);

// Writes the Word file. It appears whole or not at all: the zip is written beside the
// target under another name and renamed when complete. False with a Danish message in `error`.
bool writeDocx(const reports::Definition& def, const reports::ReportData& data, const std::filesystem::path& file,
               std::string& error);

}  // namespace vemora::report
