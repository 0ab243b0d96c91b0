// Send All and Search Panel through the progress dialog, against lumivant-sim on loopback.
#include "dialogs_test_support.h"

#include "app/dialogs/progress_dialog.h"
#include "app/shell_commands.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "document/lumivant_doc.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

CScreen& ScreenAt(CLumivantDoc& doc, int index)
{
    return *static_cast<CScreen*>(doc.Root().GetChild(index));
}

// A second screen talking to the same controller.
void AddSecondScreen(CProjectRoot& root, int port)
{
    auto other = DialogsTextProject(port);
    auto screen = other->RemoveChildAt(0);
    screen->SetName(QStringLiteral("Panel2"));
    root.AddChild(std::move(screen));
}

class DialogsSendTest : public testing::Test
{
protected:
    void SetUp() override { Settings().tip = 0; }
};

TEST_F(DialogsSendTest, SendAllDeliversTheScreenAndEndsTheDialogByItself)
{
    DialogsSim sim;
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    doc.SetRoot(DialogsTextProject(sim.Port()), {});
    BoxAnswerer boxes;

    QElapsedTimer timer;
    timer.start();
    RunSendAll(doc, nullptr);

    EXPECT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'|').toStdString();
    EXPECT_TRUE(sim.WaitForLog(QStringLiteral("(end data) p1=5")));
    EXPECT_GE(timer.elapsed(), CProgressDialog::kStartDelayMs);
    const QJsonObject summary =
        QJsonDocument::fromJson([&] {
            QFile file(QDir(sim.StateFolder()).filePath(QStringLiteral("summary.json")));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        }())
            .object();
    EXPECT_GT(summary.value(QStringLiteral("dataSize")).toInt(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(DialogsSendTest, NoMarkedScreenWarnsAndOpensNoDialog)
{
    CLumivantDoc doc;
    ScreenAt(doc, 0).SetSelected(0);
    bool sawProgress = false;
    BoxAnswerer boxes([&](QMessageBox&) {
        sawProgress = sawProgress || QApplication::activeModalWidget()->objectName() ==
                                         QStringLiteral("progressDialog");
        return 0;
    });
    RunSendAll(doc, nullptr);
    EXPECT_EQ(boxes.texts, QStringList{LoadString(41091)});
    EXPECT_FALSE(sawProgress);
}

TEST_F(DialogsSendTest, CancelStopsTheStreamAndTheScreensAfterIt)
{
    DialogsSim sim({QStringLiteral("--delay"), QStringLiteral("60")});
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    auto root = DialogsTextProject(sim.Port(), 1000);
    AddSecondScreen(*root, sim.Port());
    doc.SetRoot(std::move(root), {});
    BoxAnswerer boxes;

    // Cancel as soon as the data stream runs; the dialog must stay open until the send
    // has wound down, and Escape must not close it either.
    bool stillOpenAfterCancel = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->Cancelled())
            return;
        auto* bar = dialog->findChild<QProgressBar*>(QStringLiteral("progressBar"));
        if (!bar || bar->value() < 40)
            return;
        dialog->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        dialog->reject();
        stillOpenAfterCancel = dialog->isVisible() && !dialog->Finished();
    });
    poll.start();
    RunSendAll(doc, nullptr);

    EXPECT_TRUE(stillOpenAfterCancel);
    EXPECT_TRUE(sim.WaitForLog(QStringLiteral("(end data) p1=0")));
    const QString log = sim.Log();
    EXPECT_EQ(log.count(QStringLiteral("(begin data)")), 1) << "the second screen was sent";
    EXPECT_FALSE(log.contains(QStringLiteral("p1=5")));
    // A cancelled run lists no failures.
    for (const QString& text : boxes.texts)
        EXPECT_FALSE(text.contains(QStringLiteral("Panel1"))) << text.toStdString();
}

TEST_F(DialogsSendTest, ScreensThatFailAreListedAfterTheRun)
{
    DialogsSim sim({QStringLiteral("--status"), QStringLiteral("20:4")});
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    auto root = DialogsTextProject(sim.Port());
    AddSecondScreen(*root, sim.Port());
    doc.SetRoot(std::move(root), {});
    BoxAnswerer boxes;
    RunSendAll(doc, nullptr);

    // One warning per screen from its dialog, then the list of both.
    ASSERT_EQ(boxes.texts.size(), 3) << boxes.texts.join(u'|').toStdString();
    EXPECT_TRUE(boxes.texts[0].startsWith(LoadString(43027)));
    EXPECT_TRUE(boxes.texts[1].startsWith(LoadString(43027)));
    EXPECT_EQ(boxes.texts[2], LoadString(43039).replace(QStringLiteral("%s"),
                                                        QStringLiteral("'Panel1', 'Panel2', ")));
    EXPECT_EQ(sim.Log().count(QStringLiteral("(begin data)")), 2);
}

TEST_F(DialogsSendTest, SearchFindsTheControllerAsOneUndoStep)
{
    DialogsSim sim({QStringLiteral("--model"), QStringLiteral("RZ-DU")});
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    doc.SetRoot(DialogsTextProject(sim.Port()), {});
    CScreen& screen = ScreenAt(doc, 0);
    const int widthBefore = screen.Params().PanelWidth();
    BoxAnswerer boxes;

    QString dialogText;
    bool okEnabled = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<CProgressDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->Finished())
            return;
        dialogText = dialog->findChild<QLabel*>(QStringLiteral("progressText"))->text();
        auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("okButton"));
        okEnabled = ok->isEnabled();
        ok->click();
    });
    poll.start();
    const QString status = RunSearchDialog(doc, screen, nullptr);

    EXPECT_TRUE(okEnabled);
    EXPECT_TRUE(dialogText.startsWith(QStringLiteral("Found in: 127.0.0.1")))
        << dialogText.toStdString();
    EXPECT_FALSE(status.isEmpty());
    ASSERT_EQ(doc.UndoStack().count(), 1);
    EXPECT_NE(screen.Params().PanelWidth(), widthBefore);
    doc.UndoStack().undo();
    EXPECT_EQ(screen.Params().PanelWidth(), widthBefore);
}

} // namespace
