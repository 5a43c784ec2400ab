// The name-entry dialog: after a result enters the table the player types a name and picks
// an avatar. Created once; the edit box keeps its text, so the last name is offered again.
#pragma once

#include <QDialog>
#include <QString>

#include <string>

#include "records/dialogs/avatar_images.h"
#include "ui_input.h"

namespace zonky {

class TInputName : public QDialog {
    Q_OBJECT
  public:
    explicit TInputName(QWidget* parent = nullptr);

    // The controls, for the language captions and for tests.
    const Ui::TInputName& Controls() const { return ui_; }

    // The name as it stood when the dialog last closed (empty before the first close).
    const QString& PlayerName() const { return playerName_; }
    // The same name in the stored form of the best-players file.
    std::string PlayerNameCp1251() const;
    // The chosen avatar, 0..24.
    int PlayerAvatar() const { return playerAvatar_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ScrollBar1Change(int position);
    void ShowAvatar();

    Ui::TInputName ui_;
    AvatarImages avatars_;
    QString playerName_;
    int playerAvatar_ = 0;
};

}  // namespace zonky
