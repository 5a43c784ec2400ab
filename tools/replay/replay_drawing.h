// zonky-replay's window picture: the game's renderer on the offscreen platform.
#pragma once

#include "render/renderer.h"
#include "tools/replay/replay_session.h"

namespace zonky {

class RendererDrawing : public ReplayDrawing {
  public:
    explicit RendererDrawing(const GameState& state);
    Host& host() override { return host_; }
    void Paint(const std::optional<std::array<int, 4>>& rect) override;
    std::string WritePng(const std::string& path) override;
    std::array<int, 3> Pixel(int x, int y) override;

  private:
    Renderer renderer_;
    DrawingHost host_{renderer_};
};

}  // namespace zonky
