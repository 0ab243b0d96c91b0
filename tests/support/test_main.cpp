#include "base/headless.h"
#include "support/test_state.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Rendering needs a GUI application but never a display.
    PrepareHeadlessEnvironment();
    const TestStateFolder stateFolder;
    testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
