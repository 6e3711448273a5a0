#pragma once
// Unsaved side lines kept aside, so that a crash loses no edits: one file per scenario folder and
// side in a folder the editor gives (the user's data folder). Each file holds the scenario folder,
// the side file's name, when the copy was made, a hash of the side file's bytes on disk at that
// time and the side's whole lines, every field with its length, so that any bytes of a line
// (CR, LF, Windows-1252) come back exactly. A file that does not read whole (cut short, damaged)
// is ignored with a note.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/TextLines.h"

namespace platform {
class FileSystem;
}

namespace scenario {

struct TRecoveryCopy {
    std::string Folder;    // the scenario folder, absolute
    std::string SideFile;  // "AxisShips.cfg", ...
    std::int64_t Time = 0;  // seconds since 1970-01-01 00:00 UTC
    // RecoveryHash of the side file's bytes on disk when the copy was made; empty when there was
    // no file to read.
    std::string DiskHash;
    platform::TextLines Lines;

    bool operator==(const TRecoveryCopy&) const = default;
};

// What Find found: the copy, or nothing; Note says why a file that is there was not taken.
struct TRecoveryFound {
    std::optional<TRecoveryCopy> Copy;
    std::string Note;
};

// A short fixed-length text of bytes (64-bit FNV-1a in hex): the same bytes give the same text
// in every run of the program.
std::string RecoveryHash(std::string_view bytes);

// The bytes of a recovery file, and the copy read back from them (none when they do not read
// whole).
std::string RecoveryFileText(const TRecoveryCopy& copy);
std::optional<TRecoveryCopy> ReadRecoveryFileText(std::string_view bytes);

class TRecoveryStore {
public:
    TRecoveryStore(platform::FileSystem& files, std::string folder);

    // The file of a scenario folder's side: the folder's hash and the side file's name.
    std::string FileName(const std::string& scenarioFolder, const std::string& sideFile) const;
    // Writes the copy to its file in one step (new file, then renamed over the old one); a
    // failure throws EFileError and leaves the old copy as it was. The folder must exist.
    void Keep(const TRecoveryCopy& copy);
    // The copy kept for the folder's side. A file that does not read whole, or holds another
    // folder's lines, gives no copy; the damaged one a note naming it.
    TRecoveryFound Find(const std::string& scenarioFolder, const std::string& sideFile) const;
    // Deletes the side's copy (nothing when there is none; a failure to delete is ignored, the
    // next keep replaces the file).
    void Remove(const std::string& scenarioFolder, const std::string& sideFile);

private:
    platform::FileSystem& Files_;
    std::string Folder_;
};

}  // namespace scenario
