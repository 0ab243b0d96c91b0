// The delivery receipts in the window: the screen page's last delivery, refreshed after a
// send, and View > Delivery History; a store that cannot be read is said and stops nothing.
#include "dialogs_test_support.h"
#include "support/accessible_names.h"

#include "app/dialogs/delivery_history_dialog.h"
#include "app/shell_commands.h"
#include "base/app_paths.h"
#include "base/app_settings.h"
#include "base/string_table.h"
#include "comm/delivery_receipts.h"
#include "document/lumivant_doc.h"
#include "editors/delivery_text.h"
#include "editors/screen_page.h"
#include "model/project_root.h"
#include "model/screen.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

DeliveryReceipt Receipt(const QString& project, int screen, DeliveryResult result, qint64 bytes,
                        const QByteArray& digest, const QString& error = {})
{
    DeliveryReceipt receipt;
    receipt.time = QDateTime::currentDateTimeUtc();
    receipt.projectFile = project.isEmpty() ? QString() : DeliveryProjectPath(project);
    receipt.screenName = QStringLiteral("Panel%1").arg(screen);
    receipt.screenNumber = screen;
    receipt.link = QStringLiteral("UDP 127.0.0.1:5959");
    receipt.cardModel = QStringLiteral("RZ-E4");
    receipt.cardVersion = QStringLiteral("1.2.3");
    receipt.bytes = bytes;
    receipt.sha256 = digest;
    receipt.result = result;
    receipt.error = error;
    return receipt;
}

class DeliveriesViewTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(state.isValid());
        savedState = StateFolder();
        SetStateFolderOverride(state.path());
        Settings().tip = 0;
        project = state.filePath(QStringLiteral("shop.ledprj"));
    }
    void TearDown() override { SetStateFolderOverride(savedState); }

    QString LastDelivery(CScreenPage& page)
    {
        return page.findChild<QLabel*>(QStringLiteral("lastDelivery"))->text();
    }

    QTemporaryDir state;
    QString savedState;
    QString project;
};

TEST_F(DeliveriesViewTest, TheScreenPageShowsTheLastReceiptAndFollowsEachSend)
{
    DialogsSim sim;
    ASSERT_GT(sim.Port(), 0);
    CLumivantDoc doc;
    auto root = DialogsTextProject(sim.Port());
    ASSERT_TRUE(root->SaveProject(project));
    doc.SetRoot(std::move(root), project);
    auto& screen = *static_cast<CScreen*>(doc.Root().GetChild(0));
    CScreenPage page(screen, doc, {});
    EXPECT_EQ(LastDelivery(page), LoadString(62014));               // not sent yet
    EXPECT_FALSE(QFileInfo::exists(CDeliveryStore::DefaultPath())); // looking made no store

    BoxAnswerer boxes;
    RunSendAll(doc, nullptr);
    ASSERT_TRUE(boxes.texts.isEmpty()) << boxes.texts.join(u'|').toStdString();
    const std::optional<DeliveryReceipt> sent = LastDeliveryOf(screen);
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->result, DeliveryResult::Ok);
    EXPECT_GT(sent->bytes, 0);
    EXPECT_EQ(LastDelivery(page), DeliverySummary(*sent));
    EXPECT_TRUE(LastDelivery(page).startsWith(QStringLiteral("Sent today ")))
        << LastDelivery(page).toStdString();
    EXPECT_TRUE(LastDelivery(page).contains(GroupedNumber(sent->bytes)));

    // A failure after it: the page says when and why, as soon as the send ends.
    CDeliveryStore store;
    ASSERT_TRUE(store.Append(Receipt(project, 1, DeliveryResult::Failed, 0, {},
                                     QStringLiteral("Command failed:Timeout."))));
    doc.NotifyDelivered(screen);
    EXPECT_TRUE(LastDelivery(page).startsWith(QStringLiteral("Failed today ")));
    EXPECT_TRUE(LastDelivery(page).endsWith(QStringLiteral(": Command failed:Timeout.")));

    // Another project's receipt for its first screen is not this one's.
    ASSERT_TRUE(store.Append(Receipt(state.filePath(QStringLiteral("other.ledprj")), 1,
                                     DeliveryResult::Ok, 5, QByteArray(64, 'a'))));
    doc.NotifyDelivered(screen);
    EXPECT_TRUE(LastDelivery(page).startsWith(QStringLiteral("Failed today ")));
}

TEST_F(DeliveriesViewTest, TheHistoryListsThisProjectsReceiptsNewestLastAndEveryOneOnAsking)
{
    const QByteArray first(64, '1');
    const QByteArray second(64, '2');
    {
        CDeliveryStore store;
        ASSERT_TRUE(store.Append(Receipt(project, 1, DeliveryResult::Ok, 262912, first)));
        ASSERT_TRUE(store.Append(Receipt(state.filePath(QStringLiteral("other.ledprj")), 2,
                                         DeliveryResult::Ok, 10, QByteArray(64, 'f'))));
        ASSERT_TRUE(store.Append(Receipt(project, 2, DeliveryResult::Failed, 0, {},
                                         QStringLiteral("Command failed:Bad data."))));
        ASSERT_TRUE(store.Append(Receipt(project, 1, DeliveryResult::Cancelled, 128, second)));
    }
    CDeliveryHistoryDialog dialog(project);
    using Column = CDeliveryHistoryDialog::Column;
    ASSERT_EQ(dialog.RowCount(), 3);
    EXPECT_EQ(dialog.Cell(0, Column::Bytes), QStringLiteral("262 912"));
    EXPECT_EQ(dialog.Cell(0, Column::Sha256), QString::fromLatin1(first));
    EXPECT_EQ(dialog.Cell(0, Column::Project), QStringLiteral("shop.ledprj"));
    EXPECT_EQ(dialog.Cell(0, Column::Link), QStringLiteral("UDP 127.0.0.1:5959"));
    EXPECT_EQ(dialog.Cell(0, Column::Card), QStringLiteral("RZ-E4 1.2.3"));
    EXPECT_EQ(dialog.Cell(1, Column::Result), QStringLiteral("Failed"));
    EXPECT_EQ(dialog.Cell(1, Column::Error), QStringLiteral("Command failed:Bad data."));
    EXPECT_EQ(dialog.Cell(1, Column::Screen), QStringLiteral("2 Panel2"));
    EXPECT_EQ(dialog.Cell(2, Column::Result), QStringLiteral("Cancelled"));
    // The newest is chosen; its digest is copied as it is.
    EXPECT_EQ(dialog.ChosenDigest(), QString::fromLatin1(second));
    dialog.findChild<QPushButton*>(QStringLiteral("copyDigest"))->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(second));

    dialog.findChild<QCheckBox*>(QStringLiteral("onlyThisProject"))->setChecked(false);
    EXPECT_EQ(dialog.RowCount(), 4);
    EXPECT_EQ(dialog.Cell(1, Column::Project), QStringLiteral("other.ledprj"));

    dialog.show();
    EXPECT_TRUE(ControlsWithoutName(&dialog).isEmpty())
        << ControlsWithoutName(&dialog).join(u'\n').toStdString();

    // An untitled project sees every receipt.
    CDeliveryHistoryDialog untitled{QString()};
    EXPECT_EQ(untitled.RowCount(), 4);
    EXPECT_FALSE(untitled.findChild<QCheckBox*>(QStringLiteral("onlyThisProject"))->isEnabled());
}

TEST_F(DeliveriesViewTest, AStoreThatCannotBeReadIsSaidWhereTheReceiptsWouldBe)
{
    // Not a database.
    QFile junk(CDeliveryStore::DefaultPath());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();

    CLumivantDoc doc;
    auto root = CProjectRoot::NewProject();
    ASSERT_TRUE(root->SaveProject(project));
    doc.SetRoot(std::move(root), project);
    CScreenPage page(*static_cast<CScreen*>(doc.Root().GetChild(0)), doc, {});
    const QString said = LastDelivery(page);
    EXPECT_FALSE(said.isEmpty());
    EXPECT_NE(said, LoadString(62014));

    CDeliveryHistoryDialog dialog(project);
    EXPECT_EQ(dialog.RowCount(), 0);
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("intro"))->text(), said);
}

} // namespace
