#include "records/dialogs/input.h"

#include <QHideEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyle>

#include "records/dialogs/cp1251_validator.h"
#include "records/dialogs/dialog_support.h"
#include "records/name_codec.h"

namespace zonky {

TInputName::TInputName(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    ui_.setupUi(this);
    ui_.Edit1->setMaxLength(static_cast<int>(HiScoreTable::kNameMax));
    ui_.Edit1->setValidator(new Cp1251Validator(ui_.Edit1));
    ui_.ScrollBar1->installEventFilter(this);
    connect(ui_.ScrollBar1, &QScrollBar::valueChanged, this, &TInputName::ScrollBar1Change);
    connect(ui_.BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

std::string TInputName::PlayerNameCp1251() const {
    const QByteArray utf8 = playerName_.toUtf8();
    return Utf8ToCp1251(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

void TInputName::showEvent(QShowEvent* event) {
    CentreOverOwner(*this);
    SetStandardIcon(*ui_.BitBtn1, QStyle::SP_DialogOkButton);
    // The range first: a position set against an older, smaller range would be clamped.
    ui_.ScrollBar1->setRange(1, AvatarImages::Count());
    ui_.ScrollBar1->setValue(playerAvatar_ + 1);
    ShowAvatar();
    // Typing replaces the name offered again; Enter keeps it.
    FocusFirstControl(*this);
    ui_.Edit1->selectAll();
    QDialog::showEvent(event);
}

void TInputName::hideEvent(QHideEvent* event) {
    // OK, the title-bar button, the window menu: whichever closed it, the name is taken.
    playerName_ = ui_.Edit1->text();
    QDialog::hideEvent(event);
}

void TInputName::keyPressEvent(QKeyEvent* event) {
    // There is no Cancel here, so Escape does not close the dialog.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TInputName::eventFilter(QObject* watched, QEvent* event) {
    // Qt's horizontal scroll bar turns the arrow keys round (its controls are inverted for
    // the wheel); here Right must step to the next avatar and Left to the one before.
    if (watched == ui_.ScrollBar1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right) {
            ui_.ScrollBar1->triggerAction(key->key() == Qt::Key_Right
                                              ? QAbstractSlider::SliderSingleStepAdd
                                              : QAbstractSlider::SliderSingleStepSub);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TInputName::ScrollBar1Change(int position) {
    playerAvatar_ = position - 1;
    ShowAvatar();
}

void TInputName::ShowAvatar() {
    ui_.Image1->clear();
    ui_.Image1->setPixmap(avatars_.Picture(playerAvatar_));
}

}  // namespace zonky
