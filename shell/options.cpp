#include "shell/options.h"

#include <QKeyEvent>
#include <QStyle>

#include "records/dialogs/dialog_support.h"

namespace zonky {

TOpForm::TOpForm(Settings& settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      settings_(settings),
      savedSettings_(settings) {
    ui_.setupUi(this);

    // Only the player's clicks change a setting; filling the controls on show does not.
    connect(ui_.SpeedButton1, &QToolButton::clicked, this,
            [this] { settings_.RotateClockwise = 0; });
    connect(ui_.SpeedButton2, &QToolButton::clicked, this,
            [this] { settings_.RotateClockwise = 1; });
    connect(ui_.CheckBox1, &QCheckBox::clicked, this,
            [this](bool checked) { settings_.MusicOn = checked ? 1 : 0; });
    connect(ui_.CheckBox2, &QCheckBox::clicked, this,
            [this](bool checked) { settings_.SoundOn = checked ? 1 : 0; });
    connect(ui_.lEn, &QRadioButton::clicked, this, [this] { settings_.UiLanguage = 0; });
    connect(ui_.LRu, &QRadioButton::clicked, this, [this] { settings_.UiLanguage = 1; });
    connect(ui_.ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_.ButtonCancel, &QPushButton::clicked, this, &TOpForm::ButtonCancelClick);
}

void TOpForm::showEvent(QShowEvent* event) {
    CentreOverOwner(*this);
    SetStandardIcon(*ui_.ButtonOk, QStyle::SP_DialogOkButton);
    SetStandardIcon(*ui_.ButtonCancel, QStyle::SP_DialogCancelButton);
    savedSettings_ = settings_;
    ui_.CheckBox1->setChecked(settings_.MusicOn == 1);
    ui_.CheckBox2->setChecked(settings_.SoundOn == 1);
    (settings_.UiLanguage == 1 ? ui_.LRu : ui_.lEn)->setChecked(true);
    (settings_.RotateClockwise == 1 ? ui_.SpeedButton2 : ui_.SpeedButton1)->setChecked(true);
    // Enter means OK unless the player moves to Cancel in this showing.
    FocusFirstControl(*this);
    QDialog::showEvent(event);
}

void TOpForm::keyPressEvent(QKeyEvent* event) {
    // Escape is the Cancel button; the title-bar close (which Qt also routes through
    // reject) keeps the changes.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        ui_.ButtonCancel->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TOpForm::ButtonCancelClick() {
    settings_ = savedSettings_;
    reject();
}

}  // namespace zonky
