#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/table_zone.h"
#include "model/text_zone.h"
#include "support/test_support.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

template <typename T> T* Add(CProjectObject& parent)
{
    auto object = std::make_unique<T>(&parent);
    T* raw = object.get();
    parent.AddChild(std::move(object));
    return raw;
}

TEST(RenderCliTest, WritesEveryPageAndOneScreenPicturePerProgram)
{
    QTemporaryDir dir;
    CProjectRoot root;
    CScreen* screen = Add<CScreen>(root);
    CProgram* program = Add<CProgram>(*screen);
    program->Border().enabled = 1;
    program->Border().pattern = 3;
    program->Prepare(RenderForm::Display);
    CPlayWindow* left = Add<CPlayWindow>(*program);
    left->SetWindowRect(LedRect{2, 2, 66, 30});
    CTextZone* text = Add<CTextZone>(*left);
    text->SetAction(ActionDirect);
    CPlayWindow* right = Add<CPlayWindow>(*program);
    right->SetWindowRect(LedRect{66, 2, 126, 30});
    Add<CTableZone>(*right);
    const QString project = dir.filePath(QStringLiteral("p.ledprj"));
    ASSERT_TRUE(root.SaveProject(project));

    const QString out = dir.filePath(QStringLiteral("out"));
    const CliRun run = RunCli({QStringLiteral("render"), project, QStringLiteral("--form"),
                               QStringLiteral("controller"), QStringLiteral("--out"), out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList files =
        QDir(out).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    EXPECT_TRUE(files.contains(QStringLiteral("s1-p1-w1-z1-page1.png")))
        << files.join(',').toStdString();
    EXPECT_TRUE(files.contains(QStringLiteral("s1-p1-w2-z1-page1.png")));
    ASSERT_TRUE(files.contains(QStringLiteral("s1-p1.png")));
    const QImage page(QDir(out).filePath(QStringLiteral("s1-p1-w1-z1-page1.png")));
    EXPECT_EQ(page.size(), QSize(64, 28));
    const QImage whole(QDir(out).filePath(QStringLiteral("s1-p1.png")));
    EXPECT_EQ(whole.size(), QSize(screen->Width(), screen->Height()));
    EXPECT_NE(whole.pixel(5, 0) & 0xFFFFFF, 0u); // a dot of the border pattern

    EXPECT_EQ(RunCli({QStringLiteral("render"), project}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("render"), project, QStringLiteral("--form"),
                      QStringLiteral("x"), QStringLiteral("--out"), out})
                  .exitCode,
              2);
    EXPECT_EQ(RunCli({QStringLiteral("render"), dir.filePath(QStringLiteral("none.ledprj")),
                      QStringLiteral("--out"), out})
                  .exitCode,
              1);
}

} // namespace
