#include "tools/replay/replay_host.h"

namespace zonky {

int ScriptedRandom::Draw(int n) {
    if (queue_.empty()) throw OutOfDraws{};
    const std::uint64_t value = queue_.front();
    queue_.pop_front();
    return n > 0 ? static_cast<int>(value % static_cast<std::uint64_t>(n)) : 0;
}

void ReplayHost::DrawBackground() {
    if (drawing_) drawing_->DrawBackground();
}
void ReplayHost::RefreshSavedBackgrounds() {
    if (drawing_) drawing_->RefreshSavedBackgrounds();
}
void ReplayHost::DrawPiece(const PieceGrid& grid, int col, int row, int color) {
    if (drawing_) drawing_->DrawPiece(grid, col, row, color);
}
void ReplayHost::SavePieceBox(int col, int row) {
    if (drawing_) drawing_->SavePieceBox(col, row);
}
void ReplayHost::RestorePieceBox(int col, int row) {
    if (drawing_) drawing_->RestorePieceBox(col, row);
}
void ReplayHost::DrawPreview(int color) {
    if (drawing_) drawing_->DrawPreview(color);
}
void ReplayHost::ShiftWellPictureDown(int removedRow) {
    if (drawing_) drawing_->ShiftWellPictureDown(removedRow);
}
void ReplayHost::RepaintEmptiedCell(int row, int col) {
    if (drawing_) drawing_->RepaintEmptiedCell(row, col);
}
void ReplayHost::ShowCounter(Counter counter, std::int64_t value) {
    if (drawing_) drawing_->ShowCounter(counter, value);
}

void ReplayHost::ShowPauseImage(bool visible) {
    events.emplace_back(visible ? "pause show" : "pause hide");
    if (drawing_) drawing_->ShowPauseImage(visible);
}

void ReplayHost::ShowGameOverImage(bool visible) {
    events.emplace_back(visible ? "gameover show" : "gameover hide");
    if (drawing_) drawing_->ShowGameOverImage(visible);
}

void ReplayHost::PlaySoundEffect(SoundEffect sound, bool wait) {
    events.push_back("sound " + std::string(SoundName(sound)) + (wait ? " sync" : " async"));
}

// The game-over sequence without its wait and dialogs: a qualifying result goes into the
// in-memory table with an empty name and the first avatar.
void ReplayHost::GameOver(const GameResult& result) {
    events.emplace_back("gameover");
    ShowGameOverImage(true);
    const std::int64_t shown = ShownScore(result.Score);
    if (!QualifiesForHiScore(hiScores, result.GameMode, shown)) return;
    const int position = InsertHiScore(hiScores, result.GameMode, shown, result.Level, "", 0);
    events.push_back("record " + std::to_string(position));
}

}  // namespace zonky
