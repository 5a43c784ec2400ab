// The cost of the best-players file's byte logic: the checksum dominates both loading and
// saving, once per start-up and once per record.
#include <benchmark/benchmark.h>

#include <string>

#include "records/hiscore_checksum.h"
#include "records/hiscore_format.h"
#include "records/hiscore_table.h"

namespace zonky {
namespace {

HiScoreTable FullTable() {
    HiScoreTable table;
    for (int mode = 1; mode <= HiScoreTable::kLists; ++mode)
        for (int k = 0; k < HiScoreTable::kEntries; ++k)
            InsertHiScore(table, mode, 10000 - 500 * k, 1 + k % 8, "Player " + std::to_string(k),
                          k);
    return table;
}

void BM_HiScoreChecksum(benchmark::State& state) {
    const HiScoreTable table = FullTable();
    for (auto _ : state) benchmark::DoNotOptimize(HiScoreChecksum(table));
}
BENCHMARK(BM_HiScoreChecksum);

void BM_ParseHiScoreFile(benchmark::State& state) {
    const HiScoreFileBytes file = FormHiScoreFile(FullTable());
    for (auto _ : state) benchmark::DoNotOptimize(ParseHiScoreFile(file));
}
BENCHMARK(BM_ParseHiScoreFile);

void BM_InsertAndFormHiScoreFile(benchmark::State& state) {
    const HiScoreTable full = FullTable();
    for (auto _ : state) {
        HiScoreTable table = full;
        InsertHiScore(table, 2, 7777, 5, "Bench", 3);
        benchmark::DoNotOptimize(FormHiScoreFile(table));
    }
}
BENCHMARK(BM_InsertAndFormHiScoreFile);

}  // namespace
}  // namespace zonky
