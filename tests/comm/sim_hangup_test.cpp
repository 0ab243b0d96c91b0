// The simulator on a serial line whose other end goes away: it says so and ends instead of
// spinning on the hang-up.
#include "comm_test_support.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

TEST(SimSerialHangUp, EndsWithAMessageWhenTheLineGoes)
{
    QTemporaryDir dir;
    auto line = std::make_unique<PtyPair>(dir.filePath(QStringLiteral("pc")),
                                          dir.filePath(QStringLiteral("card")));
    ASSERT_TRUE(line->Ready());
    SimProcess sim({QStringLiteral("--serial"), line->controller}, false);
    ASSERT_TRUE(sim.Started()) << sim.Output().toStdString();
    line.reset();
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("the other end hung up; waiting for it")))
        << sim.Output().toStdString();
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("the device has gone; stopping")))
        << sim.Output().toStdString();
    EXPECT_TRUE(sim.WaitForOutput(QStringLiteral("stopped")));
}
