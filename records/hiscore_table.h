// The best-players table: three lists of ten entries in one 1212-byte little-endian layout,
// the same in memory and in the file. Accessors read and write the bytes explicitly.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "game/ports.h"

namespace zonky {

class HiScoreTable {
  public:
    static constexpr std::size_t kEntrySize = 40;
    static constexpr int kEntries = 10;
    static constexpr std::size_t kListSize = kEntrySize * kEntries + 4;  // 404
    static constexpr int kLists = 3;
    static constexpr std::size_t kSize = kListSize * kLists;  // 1212
    static constexpr std::size_t kNameMax = 25;
    static constexpr int kAvatarCount = 25;

    using Bytes = std::array<std::uint8_t, kSize>;

    Bytes bytes{};

    // mode 1..3, entry k 1..10.
    std::int32_t Avatar(int mode, int k) const { return ReadInt(EntryOffset(mode, k) + 0); }
    std::int32_t ShownScore(int mode, int k) const { return ReadInt(EntryOffset(mode, k) + 4); }
    std::int32_t FinalLevel(int mode, int k) const { return ReadInt(EntryOffset(mode, k) + 8); }
    // The stored name bytes (Windows-1251); a length above 25 in a loaded file reads as 25.
    std::string_view Name(int mode, int k) const;
    std::int32_t Newest(int mode) const { return ReadInt(ListOffset(mode) + 400); }

    // For the dialogs: a stored avatar outside 0..24 means no picture (-1), a Newest
    // outside 1..10 means none (0).
    int ShownAvatar(int mode, int k) const;
    int ShownNewest(int mode) const;
    // The stored name with its control characters as spaces.
    std::string ShownName(int mode, int k) const;
    // Whether the stored level is one a game can end on: 1..8, or 128 for a won game.
    bool KnownLevel(int mode, int k) const;

    // An entry with a level of 0 or less is an empty slot, whatever else it holds: the
    // dialog shows nothing there and a new result may take its place.
    bool Filled(int mode, int k) const { return FinalLevel(mode, k) > 0; }
    // What an entry's score counts for when a new result is judged against it: an empty
    // slot and a negative score count as 0.
    std::int32_t RankScore(int mode, int k) const;

    void SetAvatar(int mode, int k, std::int32_t v) { WriteInt(EntryOffset(mode, k) + 0, v); }
    void SetShownScore(int mode, int k, std::int32_t v) { WriteInt(EntryOffset(mode, k) + 4, v); }
    void SetFinalLevel(int mode, int k, std::int32_t v) { WriteInt(EntryOffset(mode, k) + 8, v); }
    // Writes the length and the first 25 bytes at most; the rest of the field is kept.
    void SetName(int mode, int k, std::string_view name);
    void SetNewest(int mode, std::int32_t v) { WriteInt(ListOffset(mode) + 400, v); }

    // Moves entry `from` over entry `to` of the same list, as a whole 40-byte record.
    void CopyEntry(int mode, int from, int to) { CopyEntry(mode, from, to, *this); }
    // The same, with entry `from` taken from another table.
    void CopyEntry(int mode, int from, int to, const HiScoreTable& source);

    static bool ValidMode(int mode) { return mode >= 1 && mode <= kLists; }

  private:
    static std::size_t ListOffset(int mode) {
        return kListSize * static_cast<std::size_t>(mode - 1);
    }
    static std::size_t EntryOffset(int mode, int k) {
        return ListOffset(mode) + kEntrySize * static_cast<std::size_t>(k - 1);
    }
    std::int32_t ReadInt(std::size_t at) const;
    void WriteInt(std::size_t at, std::int32_t v);
};

// Puts a loaded list in the order the game keeps: filled entries by score, highest first,
// an entry before the equal ones that followed it, empty slots last; Newest moves with its
// entry. A list in that order already is left byte for byte as it is.
void SortHiScoreLists(HiScoreTable& table);

// Whether a game with this shown score enters the mode's list: it must beat one entry.
bool QualifiesForHiScore(const HiScoreTable& table, int mode, std::int64_t shownScore);

// Inserts the result behind all entries with an equal or higher score and marks it newest;
// `name` is stored bytes (Windows-1251), cut to 25. Returns its position 1..10, or 0 with the
// table unchanged when the mode is not one of the three or the score beats no entry.
int InsertHiScore(HiScoreTable& table, int mode, std::int64_t shownScore, std::int32_t level,
                  std::string_view name, std::int32_t avatar);

// The game-over sequence's two steps, judged on the game as it ended: its shown score in
// the list of the mode it was played in.
bool QualifiesForHiScore(const HiScoreTable& table, const GameResult& result);
// `playerName` is UTF-8 as typed: it is stored in Windows-1251, each character that has no
// form there as "?", and cut to 25 bytes. Returns the position, 0 when it does not qualify.
int InsertHiScore(HiScoreTable& table, const GameResult& result, std::string_view playerName,
                  std::int32_t playerAvatar);

}  // namespace zonky
