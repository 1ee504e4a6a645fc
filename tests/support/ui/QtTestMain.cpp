// Entry point of the Qt test executables: windows and widgets run without a display.
#include "widgets/ui/FontSubstitutes.h"

#include <cstdlib>
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
    // Test discovery and CTest may run us without a display; the offscreen platform needs none.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || *platform == '\0') {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The program's own font set-up, so that windows under test lay out as they do for users.
    widgets::RegisterFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
