// A serial send to a controller that stops answering half way: once the person has
// declined to try again, the send ends within the time-out and a second, saying what it
// waits for.
#include "comm_test_support.h"
#include "send_test_support.h"

#include "comm/controller_link.h"
#include "comm/send_pipeline.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "platform/serial_devices.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SendToADeadCard, EndsSoonAfterTheAnswerNo)
{
    QTemporaryDir dir;
    PtyPair line(dir.filePath(QStringLiteral("pc")), dir.filePath(QStringLiteral("card")));
    ASSERT_TRUE(line.Ready());
    auto sim = std::make_unique<SimProcess>(
        QStringList{QStringLiteral("--serial"), line.controller}, false);
    ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
    const int port = BindSerialDeviceAnywhere(line.pc);
    constexpr int kTimeoutMs = 800;
    auto root = TextProject(128, 32, 9, 1, kTimeoutMs);
    auto* screen = static_cast<CScreen*>(root->GetChild(0));
    LinkOf(*screen).SelectLink(0);
    screen->Link().comPort = port;
    screen->Link().timeoutMs = kTimeoutMs;

    RecordingUi ui;
    ui.onUpdate = [&](int position, const QString& text) {
        // The card dies after the first chunks; the line stays, silent.
        if (text == QStringLiteral("Sending...") && position > 40 && sim)
            sim.reset();
        return false;
    };
    QElapsedTimer sinceNo;
    ui.answers = {Answer::No};
    SendOptions options;
    options.linkWaitMs = 0;
    CSendPipeline pipeline(options);
    // The question is answered at once: time from the last question on.
    bool asked = false;
    ui.onAsk = [&] {
        asked = true;
        sinceNo.start();
    };
    EXPECT_FALSE(pipeline.SendScreen(*screen, ui));
    BindSerialDevice(port, QString());
    ASSERT_TRUE(asked);
    EXPECT_LT(sinceNo.elapsed(), kTimeoutMs + 1000);
    const QStringList updates = ui.Texts('U');
    EXPECT_TRUE(updates.contains(
        QStringLiteral("Waiting for the controller to acknowledge the end of the data...")))
        << updates.join(u'|').toStdString();
}
