// The game's surface on screen: shows the renderer's picture and hands every key-down, auto
// repeats included, to the game with the old platform's key codes.
#pragma once

#include <QWidget>
#include <functional>

#include "game/game.h"
#include "render/renderer.h"
#include "render/sharp_scale.h"

namespace zonky {

class GameView : public QWidget {
  public:
    using KeyHandler = std::function<void(int key, KeyModifiers modifiers)>;
    // Gets the keys the game has no use for; answers whether it used the key.
    using OtherKeyHandler = std::function<bool(const QKeyEvent& event)>;
    GameView(Renderer& renderer, KeyHandler onKey, OtherKeyHandler onOtherKey,
             QWidget* parent = nullptr);

    // A key-down that comes from elsewhere than the keyboard (a game pad), handled as the
    // keyboard's.
    void KeyDown(int key, KeyModifiers modifiers) { onKey_(key, modifiers); }

    // Asks Qt to put on screen what the game drew or invalidated since the last call.
    void Sync();

    // The old platform's code of a key (Escape 27, Space 32, arrows 37..40), or 0.
    static int VirtualKey(int qtKey);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool) override { return false; }  // Tab is a key like any other

  private:
    // The picture at the widget's current ratio, remade when the ratio changes.
    SharpScale& Scaled();

    Renderer& renderer_;
    SharpScale scaled_;
    KeyHandler onKey_;
    OtherKeyHandler onOtherKey_;
};

}  // namespace zonky
