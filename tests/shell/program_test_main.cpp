// The main of the program's tests: no screen and no sound card, but everything else real.
// SDL's dummy driver takes queued sound at the real rate, so waits still take their time.
#include <gtest/gtest.h>

#include <QApplication>

#include "records/dialogs/dialog_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    zonky::InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
