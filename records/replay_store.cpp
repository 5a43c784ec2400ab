#include "records/replay_store.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <span>

#include "records/file_io.h"
#include "records/name_codec.h"

namespace zonky {
namespace {

// The header is in the first lines; more is never read to sort the folder.
constexpr std::size_t kHeaderBytes = 4096;
constexpr std::size_t kStampLength = 19;  // "YYYYMMDD-HHMMSS-mmm"

// A name this store makes: a stamp, "-" and a mode digit, an optional "-N", the extension.
bool OwnName(std::string_view name) {
    if (name.size() < kStampLength + 2 + kReplayExtension.size()) return false;
    if (name.substr(name.size() - kReplayExtension.size()) != kReplayExtension) return false;
    const std::string_view stem = name.substr(0, name.size() - kReplayExtension.size());
    for (std::size_t k = 0; k < stem.size(); ++k) {
        const char c = stem[k];
        const bool dash = k == 8 || k == 15 || k == kStampLength;
        if (dash ? c != '-' : (k < kStampLength + 2 && (c < '0' || c > '9'))) return false;
    }
    return true;
}

}  // namespace

bool ReplayOfRow(const ReplayHeader& header, const HiScoreTable& table, int mode, int k) {
    if (header.mode != mode || !table.Filled(mode, k)) return false;
    std::string stored = Utf8ToCp1251(header.player);
    if (stored.size() > HiScoreTable::kNameMax) stored.resize(HiScoreTable::kNameMax);
    return table.Name(mode, k) == stored && table.Avatar(mode, k) == header.avatar &&
           table.ShownScore(mode, k) == header.result.score &&
           table.FinalLevel(mode, k) == header.result.level;
}

std::vector<ReplayStore::Kept> ReplayStore::List() const {
    std::vector<Kept> kept;
    DIR* dir = opendir(folder_.c_str());
    if (!dir) return kept;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (!OwnName(name)) continue;
        const std::string path = folder_ + "/" + std::string(name);
        const FileStart start = ReadFileStart(path, kHeaderBytes);
        if (start.status != ReadStatus::Read) continue;
        const std::string_view text(reinterpret_cast<const char*>(start.bytes.data()),
                                    start.bytes.size());
        if (std::optional<ReplayHeader> header = ParseReplayHeader(text))
            kept.push_back({path, std::move(*header)});
    }
    closedir(dir);
    // Oldest first: the names start with their stamps.
    std::sort(kept.begin(), kept.end(),
              [](const Kept& a, const Kept& b) { return a.path < b.path; });
    return kept;
}

std::optional<std::string> ReplayStore::Save(std::string_view text, const ReplayHeader& header,
                                             std::string_view stamp, const HiScoreTable& table) {
    if (stamp.size() != kStampLength) return std::nullopt;
    mkdir(folder_.c_str(), 0755);  // there already, or not possible: the write below tells
    const std::string stem = folder_ + "/" + std::string(stamp) + "-" + std::to_string(header.mode);
    std::string path = stem + std::string(kReplayExtension);
    struct stat info {};
    // Two games ending in the same millisecond (two copies of the game) keep both files.
    for (int n = 2; lstat(path.c_str(), &info) == 0 && n < 100; ++n)
        path = stem + "-" + std::to_string(n) + std::string(kReplayExtension);
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    const bool written = ReplaceFile(path, bytes).Written();

    std::vector<Kept> others;
    for (Kept& kept : List()) {
        bool behindRow = false;
        for (int mode = 1; mode <= HiScoreTable::kLists && !behindRow; ++mode)
            for (int k = 1; k <= HiScoreTable::kEntries && !behindRow; ++k)
                behindRow = ReplayOfRow(kept.header, table, mode, k);
        if (!behindRow) others.push_back(std::move(kept));
    }
    for (std::size_t k = 0; k + kKeptOthers < others.size(); ++k) RemoveFile(others[k].path);
    if (!written) return std::nullopt;
    return path;
}

std::optional<std::string> ReplayStore::Find(const HiScoreTable& table, int mode, int k) const {
    std::optional<std::string> found;
    // The newest of equal games: the one most likely entered last.
    for (const Kept& kept : List())
        if (ReplayOfRow(kept.header, table, mode, k)) found = kept.path;
    return found;
}

std::uint32_t ReplayStore::RowsWithReplay(const HiScoreTable& table, int mode) const {
    std::uint32_t rows = 0;
    const std::vector<Kept> kept = List();
    for (int k = 1; k <= HiScoreTable::kEntries; ++k)
        for (const Kept& one : kept)
            if (ReplayOfRow(one.header, table, mode, k)) rows |= 1U << (k - 1);
    return rows;
}

ReplayFileRead ReadReplayFile(const std::string& path) {
    ReplayFileRead read;
    const FileStart start = ReadFileStart(path, kMaxReplayBytes + 1);
    switch (start.status) {
        case ReadStatus::Read:
            break;
        case ReadStatus::Missing:
            read.problem = ReplayProblem::Missing;
            return read;
        case ReadStatus::Unopenable:
            read.problem = ReplayProblem::NotAFile;
            return read;
        case ReadStatus::ReadFailed:
            read.problem = ReplayProblem::Unreadable;
            return read;
    }
    if (start.bytes.size() > kMaxReplayBytes) {
        read.problem = ReplayProblem::TooLarge;
        return read;
    }
    read.text.assign(start.bytes.begin(), start.bytes.end());
    return read;
}

}  // namespace zonky
