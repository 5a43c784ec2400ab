// The main of the widget tests: one application object for the whole run, with the fonts
// the program installs at start-up.
#include <QApplication>

#include <gtest/gtest.h>

#include "records/dialogs/dialog_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does it at build time) needs no display.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    zonky::InstallFontSubstitutes();
    return RUN_ALL_TESTS();
}
