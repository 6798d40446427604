#pragma once
// Where backups go and come from: a folder, or the root of a removable medium that the user
// swaps for the next one when the program asks for it.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vemora {

class Medium {
public:
    virtual ~Medium() = default;
    // The folder of the medium now in the drive.
    virtual std::filesystem::path folder() const = 0;
    // True for the root of a removable volume: parts end where it is full, and the user is
    // asked for the next one.
    virtual bool removable() const = 0;
    // The drive as the questions name it ("E:" on Windows, the mount point elsewhere).
    virtual std::string driveName() const;
    // The user answered OK to insert another medium. False when no other can come, which ends
    // the operation as a Cancel would.
    virtual bool insertNext() = 0;
    // The room for one part, when it is known before writing; nullopt: write until full.
    virtual std::optional<std::uintmax_t> capacity() const;
};

// One folder; when it is the root of a removable volume (which the caller knows from the
// platform), the user swaps the medium in it.
class FolderMedium : public Medium {
public:
    // `swappable`: answering OK to a request for another medium tries the same folder again
    // (the user changed what is in it); otherwise such a request ends the operation.
    explicit FolderMedium(std::filesystem::path folder, bool removable = false, bool swappable = true,
                          std::optional<std::uintmax_t> capacity = std::nullopt);
    std::filesystem::path folder() const override { return folder_; }
    bool removable() const override { return removable_; }
    bool insertNext() override { return swappable_; }
    std::optional<std::uintmax_t> capacity() const override;

private:
    std::filesystem::path folder_;
    bool swappable_;
    bool removable_;
    std::optional<std::uintmax_t> capacity_;
};

// Folders that stand for removable media inserted one after the other; each holds
// `capacity` bytes of part file when given.
class MediaSequence : public Medium {
public:
    MediaSequence(std::vector<std::filesystem::path> folders, std::optional<std::uintmax_t> capacity);
    std::filesystem::path folder() const override { return folders_.at(current_); }
    bool removable() const override { return true; }
    bool insertNext() override;
    std::optional<std::uintmax_t> capacity() const override { return capacity_; }

private:
    std::vector<std::filesystem::path> folders_;
    size_t current_ = 0;
    std::optional<std::uintmax_t> capacity_;
};

}  // namespace vemora
