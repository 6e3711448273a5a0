#pragma once
// Copying a whole folder to a new place in one step: every file byte for byte, the subfolders
// too, some files given new bytes on the way. The copy is made beside the target and renamed
// into place, so the target either holds the whole copy or does not exist.

#include <map>
#include <string>

namespace platform {

// Files of the copy that get other bytes than the source's: the path relative to the folder
// ("/" separators, as the folder spells it) and the bytes to write instead.
using ReplacedFiles = std::map<std::string, std::string>;

// Why `target` cannot take a copy of the folder `source`, as a sentence naming both: the source
// is not a folder; the target is the source or lies inside it; it is a file; it is a folder that
// is not empty; its parent folder does not exist. Empty when the copy may be made.
std::string FolderCopyRefusal(const std::string& source, const std::string& target);

// Copies the folder `source` to `target` (a new name or an empty folder). Files keep their bytes
// and permission bits, with the owner's write permission added so the copy can be edited; files
// named in `replaced` get the given bytes (one not in the folder is made). A symbolic link is
// copied as a link when it stays inside the folder (a relative link that does not climb out);
// any other link, a FIFO, a device or a socket ends the copy, as does a file over
// kMaxReadFileBytes (RegularFile.h). The copy is written into a new hidden folder beside the
// target and renamed into place at the end: a failure removes that folder again, so nothing of
// the copy is left, and the source is only read. Throws EFileError with the reason (also the
// refusal of FolderCopyRefusal).
void CopyFolder(const std::string& source, const std::string& target, const ReplacedFiles& replaced = {});

}  // namespace platform
