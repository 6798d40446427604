#pragma once
// Writing the exported text files, and the removable media they may go on.
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/base/text.h"

namespace vemora {

// A failure of the file system during an export, as a Danish sentence with the system's text.
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text file of Windows-1252 lines with CR LF ends. It is written under a temporary name
// beside the target and renamed into place by commit(), so another program never finds a
// half-written file under the name it reads; without a commit the temporary file is removed.
class ExportFile {
public:
    explicit ExportFile(std::filesystem::path target);
    ~ExportFile();
    ExportFile(const ExportFile&) = delete;
    ExportFile& operator=(const ExportFile&) = delete;

    void line(std::string_view cp1252);
    void commit();
    const std::filesystem::path& target() const { return target_; }

private:
    [[noreturn]] void fail(const std::string& what) const;
    std::filesystem::path target_, temp_;
    std::optional<Cp1252Writer> out_;
    bool committed_ = false;
};

// True when the folder holds a file of its own (hidden files and folders do not count, as
// they are the system's bookkeeping on a removable medium, not the secretary's files).
bool holdsFiles(const std::filesystem::path& folder);
// Deletes those files; throws ExportError when one cannot be deleted.
void deleteFiles(const std::filesystem::path& folder);
// Deletes a file when it exists; throws ExportError when it cannot be deleted.
void removeExisting(const std::filesystem::path& file);

}  // namespace vemora
