#include "records/hiscore_table.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

#include "game/game.h"
#include "records/name_codec.h"

namespace zonky {
namespace {

constexpr std::size_t kNameLengthAt = 12;
constexpr std::size_t kNameAt = 13;

std::int32_t ClampScore(std::int64_t score) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        score, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t HiScoreTable::ReadInt(std::size_t at) const {
    const std::uint32_t v = static_cast<std::uint32_t>(bytes[at]) |
                            static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
                            static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
                            static_cast<std::uint32_t>(bytes[at + 3]) << 24;
    return static_cast<std::int32_t>(v);
}

void HiScoreTable::WriteInt(std::size_t at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b) bytes[at + b] = static_cast<std::uint8_t>(u >> (8 * b));
}

std::string_view HiScoreTable::Name(int mode, int k) const {
    const std::size_t at = EntryOffset(mode, k);
    const std::size_t length = std::min<std::size_t>(bytes[at + kNameLengthAt], kNameMax);
    return {reinterpret_cast<const char*>(&bytes[at + kNameAt]), length};
}

void HiScoreTable::SetName(int mode, int k, std::string_view name) {
    const std::size_t at = EntryOffset(mode, k);
    const std::size_t length = std::min(name.size(), kNameMax);
    bytes[at + kNameLengthAt] = static_cast<std::uint8_t>(length);
    std::copy_n(name.begin(), length, &bytes[at + kNameAt]);
}

int HiScoreTable::ShownAvatar(int mode, int k) const {
    const std::int32_t avatar = Avatar(mode, k);
    return avatar >= 0 && avatar < kAvatarCount ? avatar : -1;
}

int HiScoreTable::ShownNewest(int mode) const {
    const std::int32_t newest = Newest(mode);
    return newest >= 1 && newest <= kEntries ? newest : 0;
}

std::string HiScoreTable::ShownName(int mode, int k) const {
    std::string name(Name(mode, k));
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return name;
}

bool HiScoreTable::KnownLevel(int mode, int k) const {
    const std::int32_t level = FinalLevel(mode, k);
    return (level >= 1 && level <= kLastLevel) || level == kWonLevel;
}

std::int32_t HiScoreTable::RankScore(int mode, int k) const {
    return Filled(mode, k) ? std::max<std::int32_t>(ShownScore(mode, k), 0) : 0;
}

void HiScoreTable::CopyEntry(int mode, int from, int to, const HiScoreTable& source) {
    std::copy_n(&source.bytes[EntryOffset(mode, from)], kEntrySize, &bytes[EntryOffset(mode, to)]);
}

void SortHiScoreLists(HiScoreTable& table) {
    constexpr int n = HiScoreTable::kEntries;
    for (int mode = 1; mode <= HiScoreTable::kLists; ++mode) {
        std::array<int, n> order{};  // order[i] = the old position of the new entry i + 1
        for (int k = 1; k <= n; ++k) order[k - 1] = k;
        // An empty slot ranks below every filled entry, a score of 0 included.
        auto rank = [&](int k) -> std::int64_t {
            return table.Filled(mode, k) ? table.RankScore(mode, k) : -1;
        };
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return rank(a) > rank(b); });
        if (std::is_sorted(order.begin(), order.end())) continue;
        const HiScoreTable old = table;
        for (int k = 1; k <= n; ++k) table.CopyEntry(mode, order[k - 1], k, old);
        const std::int32_t newest = old.Newest(mode);
        for (int k = 1; k <= n; ++k)
            if (order[k - 1] == newest) table.SetNewest(mode, k);
    }
}

bool QualifiesForHiScore(const HiScoreTable& table, int mode, std::int64_t shownScore) {
    if (!HiScoreTable::ValidMode(mode)) return false;
    // Judged on the score as it would be stored.
    const std::int32_t score = ClampScore(shownScore);
    for (int k = 1; k <= HiScoreTable::kEntries; ++k)
        if (score > table.RankScore(mode, k)) return true;
    return false;
}

int InsertHiScore(HiScoreTable& table, int mode, std::int64_t shownScore, std::int32_t level,
                  std::string_view name, std::int32_t avatar) {
    // Without a lower entry there is no place: overwriting the last one would drop a
    // better result.
    if (!QualifiesForHiScore(table, mode, shownScore)) return 0;
    const std::int32_t score = ClampScore(shownScore);
    int p = 1;
    while (table.RankScore(mode, p) >= score) ++p;  // stops by 10: some entry is lower
    for (int k = HiScoreTable::kEntries - 1; k >= p; --k) table.CopyEntry(mode, k, k + 1);
    table.SetName(mode, p, name);
    table.SetFinalLevel(mode, p, level);
    table.SetShownScore(mode, p, score);
    table.SetAvatar(mode, p, avatar);
    table.SetNewest(mode, p);
    return p;
}

bool QualifiesForHiScore(const HiScoreTable& table, const GameResult& result) {
    return QualifiesForHiScore(table, result.GameMode, ShownScore(result.Score));
}

int InsertHiScore(HiScoreTable& table, const GameResult& result, std::string_view playerName,
                  std::int32_t playerAvatar) {
    const std::string stored = Utf8ToCp1251(playerName);
    return InsertHiScore(table, result.GameMode, ShownScore(result.Score), result.Level, stored,
                         playerAvatar);
}

}  // namespace zonky
