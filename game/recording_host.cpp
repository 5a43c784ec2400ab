#include "game/recording_host.h"

#include <utility>

namespace zonky {
namespace {

std::string Numbers(const char* what, int a) {
    return std::string(what) + " " + std::to_string(a);
}
std::string Numbers(const char* what, int a, int b) {
    return Numbers(what, a) + " " + std::to_string(b);
}

}  // namespace

void RecordingHost::Note(Record level, std::string line) {
    if (level == Record::Events || record_ == Record::Everything) log.push_back(std::move(line));
}

void RecordingHost::DrawBackground() {
    Note(Record::Everything, "background");
    if (next_) next_->DrawBackground();
}
void RecordingHost::RefreshSavedBackgrounds() {
    Note(Record::Everything, "refresh");
    if (next_) next_->RefreshSavedBackgrounds();
}
void RecordingHost::DrawPiece(const PieceGrid& grid, int col, int row, int color) {
    Note(Record::Everything, Numbers("draw", col, row) + " " + std::to_string(color));
    if (next_) next_->DrawPiece(grid, col, row, color);
}
void RecordingHost::SavePieceBox(int col, int row) {
    Note(Record::Everything, Numbers("save", col, row));
    if (next_) next_->SavePieceBox(col, row);
}
void RecordingHost::RestorePieceBox(int col, int row) {
    Note(Record::Everything, Numbers("restore", col, row));
    if (next_) next_->RestorePieceBox(col, row);
}
void RecordingHost::DrawPreview(int color) {
    Note(Record::Everything, Numbers("preview", color));
    if (next_) next_->DrawPreview(color);
}
void RecordingHost::ShiftWellPictureDown(int removedRow) {
    Note(Record::Everything, Numbers("shift", removedRow));
    if (next_) next_->ShiftWellPictureDown(removedRow);
}
void RecordingHost::RepaintEmptiedCell(int row, int col) {
    Note(Record::Everything, Numbers("empty", row, col));
    if (next_) next_->RepaintEmptiedCell(row, col);
}
void RecordingHost::ShowCounter(Counter counter, std::int64_t value) {
    static constexpr const char* kNames[] = {"level", "lines", "score"};
    Note(Record::Everything,
         std::string(kNames[static_cast<int>(counter)]) + " " + std::to_string(value));
    if (next_) next_->ShowCounter(counter, value);
}
void RecordingHost::ShowPauseImage(bool visible) {
    Note(Record::Events, visible ? "pause show" : "pause hide");
    if (next_) next_->ShowPauseImage(visible);
}
void RecordingHost::ShowGameOverImage(bool visible) {
    Note(Record::Events, visible ? "gameover show" : "gameover hide");
    if (next_) next_->ShowGameOverImage(visible);
}
void RecordingHost::CheckModeItem(int mode) {
    Note(Record::Everything, Numbers("check", mode));
    if (next_) next_->CheckModeItem(mode);
}
void RecordingHost::SetTimerInterval(int ms) {
    interval = ms;
    Note(Record::Everything, Numbers("interval", ms));
    if (next_) next_->SetTimerInterval(ms);
}
void RecordingHost::PlaySoundEffect(SoundEffect sound, bool wait) {
    Note(Record::Events, "sound " + std::string(SoundName(sound)) + (wait ? " sync" : " async"));
    if (next_) next_->PlaySoundEffect(sound, wait);
}
void RecordingHost::GameOver(const GameResult& result) {
    Note(Record::Events, "gameover");
    if (next_) next_->GameOver(result);
}
void RecordingHost::MinimiseApplication() {
    Note(Record::Events, "minimise");
    if (next_) next_->MinimiseApplication();
}

std::vector<std::string> RecordingHost::Take() {
    std::vector<std::string> taken;
    taken.swap(log);
    return taken;
}

bool RecordingHost::Logged(const std::string& line) const {
    for (const std::string& l : log)
        if (l == line) return true;
    return false;
}

}  // namespace zonky
