// lumivant-cli check, the warnings of the other commands, and what new and the loader say.
#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"
#include "support/test_support.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A project whose only window shows an image named path.
void SaveImageProject(const QString& project, const QString& path)
{
    auto root = CProjectRoot::NewProject();
    auto* program = static_cast<CProgram*>(root->GetChild(0)->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({0, 0, 64, 32});
    auto zone = std::make_unique<CImageZone>(window.get());
    zone->Key().sourcePath = path;
    window->AddChild(std::move(zone));
    program->AddChild(std::move(window));
    ASSERT_TRUE(root->SaveProject(project));
}

} // namespace

TEST(CliNew, RefusesToReplaceAFileWithoutForce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.ledprj"));
    ASSERT_TRUE(WriteFileBytes(path, "precious"));
    const CliRun refused = RunCli({QStringLiteral("new"), path});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("already exists")) << refused.err.toStdString();
    EXPECT_EQ(ReadFileBytes(path), QByteArray("precious"));
    EXPECT_EQ(RunCli({QStringLiteral("new"), dir.path()}).exitCode, 1);

    EXPECT_EQ(RunCli({QStringLiteral("new"), path, QStringLiteral("--force")}).exitCode, 0);
    CProjectRoot root;
    EXPECT_TRUE(root.LoadProject(path));
}

TEST(CliLoad, EveryFailureSaysWhy)
{
    QTemporaryDir dir;
    const auto file = [&](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(WriteFileBytes(path, bytes));
        return path;
    };
    const std::pair<QString, const char*> cases[] = {
        {dir.filePath(QStringLiteral("none.ledprj")), "The file does not exist."},
        {dir.path(), "It is a folder, not a file."},
        {file("empty.ledprj", {}), "The file is empty."},
        {file("broken.ledprj", "<project>\n  <Varnolite></varno>"),
         "The file is not XML: Start-end tags mismatch at line 2, column "},
        {file("other.ledprj", "<settings><x/></settings>"), "The root element <settings> holds"},
        {file("program.ledprj",
              "<project><Varnolite><Varnolite><varno>110</varno></Varnolite></Varnolite>"
              "</project>"),
         "The first object of the project is not a screen."},
    };
    for (const auto& [path, reason] : cases) {
        const CliRun run = RunCli({QStringLiteral("info"), path});
        EXPECT_EQ(run.exitCode, 1) << path.toStdString();
        EXPECT_TRUE(run.err.contains(QByteArray("Failed on load project. ") + reason))
            << run.err.toStdString();
    }
}

TEST(CliCheck, ExitStatusJsonAndWarningsOfTheOtherCommands)
{
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.ledprj"));
    SaveImageProject(project, QStringLiteral("logo.png"));

    const CliRun check = RunCli({QStringLiteral("check"), project});
    EXPECT_EQ(check.exitCode, 1);
    EXPECT_TRUE(check.out.contains("Panel1/Program1/Window1/Image1: the image file 'logo.png' "
                                   "does not exist"))
        << check.out.toStdString();
    const CliRun json = RunCli({QStringLiteral("check"), project, QStringLiteral("--json")});
    EXPECT_EQ(json.exitCode, 1);
    const QJsonArray findings =
        QJsonDocument::fromJson(json.out).object()[QStringLiteral("findings")].toArray();
    ASSERT_EQ(findings.size(), 1) << json.out.toStdString();
    EXPECT_EQ(findings[0].toObject()[QStringLiteral("kind")].toString(),
              QStringLiteral("missing-image"));

    // Compile still does its work, and says what will be missing.
    const QString out = dir.filePath(QStringLiteral("data.bin"));
    const CliRun compile =
        RunCli({QStringLiteral("compile"), project, QStringLiteral("--out"), out});
    EXPECT_EQ(compile.exitCode, 1); // nothing to play without the image
    EXPECT_EQ(compile.err.count("warning: "), 1) << compile.err.toStdString();
    EXPECT_TRUE(compile.err.contains("warning: Panel1/Program1/Window1/Image1: the image file"));

    // The name is looked up beside the project, wherever the command runs.
    QImage logo(8, 8, QImage::Format_RGB32);
    logo.fill(Qt::red);
    ASSERT_TRUE(logo.save(dir.filePath(QStringLiteral("logo.png"))));
    const CliRun clean = RunCli({QStringLiteral("check"), project});
    EXPECT_EQ(clean.exitCode, 0) << clean.out.toStdString();
    EXPECT_TRUE(clean.out.isEmpty());
    const CliRun compiled =
        RunCli({QStringLiteral("compile"), project, QStringLiteral("--out"), out});
    EXPECT_EQ(compiled.exitCode, 0) << compiled.err.toStdString();
    EXPECT_FALSE(compiled.err.contains("warning"));

    EXPECT_EQ(RunCli({QStringLiteral("check")}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("check"), project, QStringLiteral("--bogus")}).exitCode, 2);
}

TEST(CliCheck, WarningsStopAfterTwentyLines)
{
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("p.ledprj"));
    auto root = CProjectRoot::NewProject();
    auto* program = static_cast<CProgram*>(root->GetChild(0)->GetChild(0));
    for (int i = 0; i < 16; ++i) {
        auto window = std::make_unique<CPlayWindow>(program);
        window->SetWindowRect({0, 0, 8 + i, 8});
        program->AddChild(std::move(window));
    }
    ASSERT_TRUE(root->SaveProject(project));
    const CliRun check = RunCli({QStringLiteral("check"), project});
    EXPECT_EQ(check.out.count('\n'), 16 * 15 / 2); // every pair overlaps
    const CliRun render = RunCli({QStringLiteral("render"), project, QStringLiteral("--out"),
                                  dir.filePath(QStringLiteral("png"))});
    EXPECT_EQ(render.exitCode, 0) << render.err.toStdString();
    EXPECT_EQ(render.err.count("warning: "), 21) << render.err.toStdString();
    EXPECT_TRUE(render.err.contains("warning: 100 more (lumivant-cli check lists them all)"))
        << render.err.toStdString();
}

TEST(CliHelp, EveryCommandTakesHelpAndTheToolSuggestsWhatFits)
{
    for (const char* command : {"new", "check", "send", "firmware", "decode", "power"}) {
        const CliRun help = RunCli({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_TRUE(help.out.startsWith(QByteArray("Usage: lumivant-cli ") + command))
            << help.out.toStdString();
    }

    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("show.ledprj"));
    ASSERT_EQ(RunCli({QStringLiteral("new"), project, QStringLiteral("--width"),
                      QStringLiteral("64"), QStringLiteral("--height"), QStringLiteral("16"),
                      QStringLiteral("--colors"), QStringLiteral("1")})
                  .exitCode,
              0);
    const CliRun info = RunCli({QStringLiteral("info"), project});
    EXPECT_TRUE(info.out.startsWith("show.ledprj [project]\n")) << info.out.toStdString();

    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(project));
    auto* program = static_cast<CProgram*>(root.GetChild(0)->GetChild(0));
    auto window = std::make_unique<CPlayWindow>(program);
    window->SetWindowRect({0, 0, 64, 16});
    auto text = std::make_unique<CTextZone>(window.get());
    text->SetAction(ActionDirect);
    window->AddChild(std::move(text));
    program->AddChild(std::move(window));
    ASSERT_TRUE(root.SaveProject(project));
    const QString data = dir.filePath(QStringLiteral("show.bin"));
    ASSERT_EQ(RunCli({QStringLiteral("compile"), project, QStringLiteral("--out"), data}).exitCode,
              0);
    const CliRun decode =
        RunCli({QStringLiteral("decode"), data, QStringLiteral("--colors"), QStringLiteral("3")});
    EXPECT_EQ(decode.exitCode, 1);
    EXPECT_TRUE(decode.err.contains("(the data fits --colors 1)")) << decode.err.toStdString();
}
