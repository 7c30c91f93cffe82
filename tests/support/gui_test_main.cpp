// Test main for window tests: a QApplication on the offscreen platform unless the
// caller chose another one, so the tests run without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    vantrel::testing::PrepareTestEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
