// Several writers of one project: lumivant-cli holds the project's lock from reading to
// writing, so that no change of another writer is lost.
#include "support/test_support.h"

#include "base/project_lock.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "model/zone_path.h"
#include "render/zone_content.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kZones = 6;

class CliLockTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("shop.ledprj"));
        auto root = CProjectRoot::NewProject();
        auto* screen = static_cast<CScreen*>(root->GetChild(0));
        auto* program = static_cast<CProgram*>(screen->GetChild(0));
        for (int i = 0; i < kZones; ++i) {
            auto window = program->CreateChild(KindWindow);
            window->SetName(QStringLiteral("W%1").arg(i + 1));
            static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, i * 5, 64, i * 5 + 5});
            auto zone = window->CreateChild(KindText);
            zone->SetName(QStringLiteral("Z%1").arg(i + 1));
            window->AddChild(std::move(zone));
            program->AddChild(std::move(window));
        }
        ASSERT_TRUE(root->SaveProject(project));
    }

    QString TextOf(const QString& zonePath)
    {
        CProjectRoot root;
        if (!root.LoadProject(project))
            return QStringLiteral("(not loaded)");
        QString error;
        CEffectZone* zone = CZonePath::Find(root, zonePath, error);
        return zone ? CZoneContent::PlainText(*zone) : error;
    }

    static std::unique_ptr<QProcess> StartCli(const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        process->start(QStringLiteral(LUMIVANT_CLI_PATH), arguments);
        return process;
    }

    QTemporaryDir dir;
    QString project;
};

} // namespace

TEST_F(CliLockTest, WritersAtTheSameTimeKeepEveryChange)
{
    std::vector<std::unique_ptr<QProcess>> writers;
    for (int i = 0; i < kZones; ++i)
        writers.push_back(StartCli({QStringLiteral("set-text"), project,
                                    QStringLiteral("s1/p1/w%1/z1").arg(i + 1),
                                    QStringLiteral("--text"), QStringLiteral("price %1").arg(i)}));
    for (auto& writer : writers) {
        ASSERT_TRUE(writer->waitForFinished(60000));
        EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    }
    for (int i = 0; i < kZones; ++i)
        EXPECT_EQ(TextOf(QStringLiteral("s1/p1/w%1/z1").arg(i + 1)),
                  QStringLiteral("price %1").arg(i));
    EXPECT_FALSE(QFile::exists(CProjectLock::LockPathFor(project)));
}

TEST_F(CliLockTest, AWriterWaitsWhileAnotherProgramHoldsTheLock)
{
    auto holder = std::make_unique<CProjectLock>();
    ASSERT_TRUE(holder->Acquire(project, 0));
    const QByteArray before = ReadFileBytes(project);
    auto writer = StartCli({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                            QStringLiteral("--text"), QStringLiteral("later")});
    EXPECT_FALSE(writer->waitForFinished(800));
    EXPECT_EQ(ReadFileBytes(project), before);
    holder.reset();
    ASSERT_TRUE(writer->waitForFinished(30000));
    EXPECT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
    EXPECT_EQ(TextOf(QStringLiteral("s1/p1/w1/z1")), QStringLiteral("later"));
}
