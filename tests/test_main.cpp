// Test entry: a real application object on Qt's offscreen platform, scripted dialogs installed.
#include "dialogs/Dialogs.h"
#include "TestSupport.h"
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    app.setApplicationName("Larderly");
    return RUN_ALL_TESTS();
}
