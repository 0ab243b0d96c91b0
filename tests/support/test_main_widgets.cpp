#include "base/headless.h"
#include "support/test_state.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Windows are driven under the offscreen platform; nothing needs a display.
    PrepareHeadlessEnvironment();
    const TestStateFolder stateFolder;
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
