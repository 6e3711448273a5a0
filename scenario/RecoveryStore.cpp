#include "scenario/RecoveryStore.h"

#include <charconv>
#include <cstdio>
#include <exception>

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/PathNames.h"

namespace scenario {

namespace {

// The first line of every recovery file; the number counts the format's versions.
constexpr std::string_view kFileHeader = "Corvalis unsaved lines 1\n";

// The folder without trailing separators, so that "/a/b/" and "/a/b" are one folder.
std::string FolderKey(std::string_view folder) {
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.remove_suffix(1);
    return std::string(folder);
}

// One field: "<label> <length>\n<bytes>\n".
void AppendField(std::string& out, std::string_view label, std::string_view bytes) {
    out.append(label).append(" ").append(std::to_string(bytes.size())).append("\n");
    out.append(bytes).append("\n");
}

template <class Number>
std::optional<Number> ReadNumber(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

// Reads the fields of a recovery file in order; any field that is not whole ends the reading.
class TFieldReader {
public:
    explicit TFieldReader(std::string_view bytes) : Rest_(bytes) {}

    bool Skip(std::string_view text) {
        if (!Rest_.starts_with(text)) return false;
        Rest_.remove_prefix(text.size());
        return true;
    }
    // The bytes of the next field, which must carry this label.
    std::optional<std::string_view> Field(std::string_view label) {
        if (!Skip(label) || !Skip(" ")) return std::nullopt;
        const std::size_t lineEnd = Rest_.find('\n');
        if (lineEnd == std::string_view::npos) return std::nullopt;
        const auto length = ReadNumber<std::size_t>(Rest_.substr(0, lineEnd));
        Rest_.remove_prefix(lineEnd + 1);
        if (!length || *length >= Rest_.size() || Rest_[*length] != '\n') return std::nullopt;
        const std::string_view bytes = Rest_.substr(0, *length);
        Rest_.remove_prefix(*length + 1);
        return bytes;
    }
    template <class Number>
    std::optional<Number> NumberField(std::string_view label) {
        const auto text = Field(label);
        return text ? ReadNumber<Number>(*text) : std::nullopt;
    }
    bool AtEnd() const { return Rest_.empty(); }
    std::size_t Left() const { return Rest_.size(); }

private:
    std::string_view Rest_;
};

}  // namespace

std::string RecoveryHash(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string RecoveryFileText(const TRecoveryCopy& copy) {
    std::string out(kFileHeader);
    AppendField(out, "folder", copy.Folder);
    AppendField(out, "side", copy.SideFile);
    AppendField(out, "time", std::to_string(copy.Time));
    AppendField(out, "disk", copy.DiskHash);
    AppendField(out, "lines", std::to_string(copy.Lines.size()));
    for (const std::string& line : copy.Lines) AppendField(out, "line", line);
    AppendField(out, "end", "");
    return out;
}

std::optional<TRecoveryCopy> ReadRecoveryFileText(std::string_view bytes) {
    TFieldReader reader(bytes);
    if (!reader.Skip(kFileHeader)) return std::nullopt;
    TRecoveryCopy copy;
    const auto folder = reader.Field("folder");
    const auto side = reader.Field("side");
    const auto time = reader.NumberField<std::int64_t>("time");
    const auto disk = reader.Field("disk");
    const auto count = reader.NumberField<std::size_t>("lines");
    // Every line takes at least its label and two line ends: a count beyond that is damage.
    if (!folder || !side || !time || !disk || !count || *count > reader.Left() / 8) return std::nullopt;
    copy.Folder = *folder;
    copy.SideFile = *side;
    copy.Time = *time;
    copy.DiskHash = *disk;
    copy.Lines.reserve(*count);
    for (std::size_t i = 0; i < *count; ++i) {
        const auto line = reader.Field("line");
        if (!line) return std::nullopt;
        copy.Lines.emplace_back(*line);
    }
    const auto end = reader.Field("end");
    if (!end || !end->empty() || !reader.AtEnd()) return std::nullopt;
    return copy;
}

TRecoveryStore::TRecoveryStore(platform::FileSystem& files, std::string folder)
    : Files_(files), Folder_(platform::WithTrailingSeparator(folder)) {}

std::string TRecoveryStore::FileName(const std::string& scenarioFolder, const std::string& sideFile) const {
    return Folder_ + RecoveryHash(FolderKey(scenarioFolder)) + "-" + sideFile + ".unsaved";
}

void TRecoveryStore::Keep(const TRecoveryCopy& copy) {
    TRecoveryCopy kept = copy;
    kept.Folder = FolderKey(copy.Folder);
    Files_.SaveBytesAs(FileName(copy.Folder, copy.SideFile), RecoveryFileText(kept));
}

TRecoveryFound TRecoveryStore::Find(const std::string& scenarioFolder, const std::string& sideFile) const {
    const std::string name = FileName(scenarioFolder, sideFile);
    if (!Files_.FileExists(name)) return {};
    std::optional<TRecoveryCopy> copy;
    try {
        copy = ReadRecoveryFileText(Files_.ReadBytes(name));
    } catch (const platform::EFileError& error) {
        return {std::nullopt, "The unsaved changes kept in " + name + " cannot be read and were ignored: " +
                                  error.what()};
    }
    if (!copy) return {std::nullopt, "The unsaved changes kept in " + name + " are damaged and were ignored."};
    // Another folder whose name has the same hash.
    if (copy->Folder != FolderKey(scenarioFolder) || copy->SideFile != sideFile) return {};
    return {std::move(copy), {}};
}

void TRecoveryStore::Remove(const std::string& scenarioFolder, const std::string& sideFile) {
    try {
        Files_.RemoveFile(FileName(scenarioFolder, sideFile));
    } catch (const std::exception&) {
        // Left behind: the next keep replaces it, and an equal copy is never offered.
    }
}

}  // namespace scenario
