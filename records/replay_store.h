// The folder of replays beside the records: one file per finished game, written whole or
// not at all, and kept within bounds. Nothing in it is ever needed to play: a replay that
// cannot be written is simply not there.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/replay_script.h"
#include "records/hiscore_table.h"

namespace zonky {

inline constexpr char kReplayFolderName[] = "ZonkyMos.replays";
inline constexpr std::string_view kReplayExtension = ".zmreplay";

// Whether a replay's header is the game behind row k of a mode's list: the same mode,
// name, avatar, score and level.
bool ReplayOfRow(const ReplayHeader& header, const HiScoreTable& table, int mode, int k);

class ReplayStore {
  public:
    // Games behind no row of the best-players table, of which the newest are kept.
    static constexpr std::size_t kKeptOthers = 50;

    explicit ReplayStore(std::string folder = kReplayFolderName) : folder_(std::move(folder)) {}

    // Writes a finished game's file, named from its stamp ("20261210-024700-123", ordered
    // as time goes), then deletes the oldest files behind no row of `table` beyond the
    // kept number. Only names this store makes are ever deleted. Returns the file's path,
    // or nothing when it could not be written.
    std::optional<std::string> Save(std::string_view text, const ReplayHeader& header,
                                    std::string_view stamp, const HiScoreTable& table);

    // Which rows of a mode's list have their game kept: bit k-1 for row k.
    std::uint32_t RowsWithReplay(const HiScoreTable& table, int mode) const;

    // The file of the game behind row k of a mode's list, if one is kept.
    std::optional<std::string> Find(const HiScoreTable& table, int mode, int k) const;

  private:
    struct Kept {
        std::string path;
        ReplayHeader header;
    };
    std::vector<Kept> List() const;
    std::string folder_;
};

// A replay file as the player opens it: its text, or a reason it is none.
struct ReplayFileRead {
    std::string text;
    ReplayProblem problem = ReplayProblem::None;
};
ReplayFileRead ReadReplayFile(const std::string& path);

}  // namespace zonky
