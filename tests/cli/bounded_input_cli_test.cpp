// Files named on the command line or inside a project that are not plain files, or that
// never end: every command finishes promptly and says why, and pipes keep working.
#include "support/test_support.h"

#include "model/image_zone.h"
#include "model/play_window.h"
#include "model/program.h"
#include "model/project_root.h"
#include "model/screen.h"
#include "model/text_zone.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Panel1 / Program1 / Window1 { Words (text), Logo (image) }, a border from a picture.
class BoundedInputCli : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("sign.ledprj"));
        fifo = dir.filePath(QStringLiteral("logo.png"));
        ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        auto root = CProjectRoot::NewProject();
        auto* screen = static_cast<CScreen*>(root->GetChild(0));
        screen->Params().SetU16(ControllerParams::Width, 64);
        screen->Params().SetU16(ControllerParams::Height, 16);
        auto* program = static_cast<CProgram*>(screen->GetChild(0));
        program->Border().enabled = 1;
        program->Border().source = 1;
        program->BorderKey().sourcePath = fifo;
        auto window = program->CreateChild(KindWindow);
        static_cast<CPlayWindow*>(window.get())->SetWindowRect({0, 0, 64, 16});
        Add(*window, KindText, QStringLiteral("Words"));
        auto* logo = static_cast<CImageZone*>(Add(*window, KindImage, QStringLiteral("Logo")));
        logo->Key().sourcePath = fifo;
        program->AddChild(std::move(window));
        ASSERT_TRUE(root->SaveProject(project));
        original = ReadFileBytes(project);
    }

    static CProjectObject* Add(CProjectObject& window, int kind, const QString& name)
    {
        auto zone = window.CreateChild(kind);
        zone->SetName(name);
        CProjectObject* raw = zone.get();
        window.AddChild(std::move(zone));
        return raw;
    }

    // Every run is bounded; a run that hangs comes back with exit code -1.
    static CliRun Run(const QStringList& words) { return RunCli(words, 30000); }

    // Through bash, for process substitution: the command line is given as it is typed.
    static CliRun RunInShell(const QString& commandLine)
    {
        QProcess shell;
        shell.start(QStringLiteral("bash"),
                    {QStringLiteral("-c"), QStringLiteral("exec \"$0\" ") + commandLine,
                     QStringLiteral(LUMIVANT_CLI_PATH)});
        CliRun run;
        if (!shell.waitForFinished(30000)) {
            shell.kill();
            shell.waitForFinished(1000);
            return run;
        }
        run.exitCode = shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
        run.out = shell.readAllStandardOutput();
        run.err = shell.readAllStandardError();
        return run;
    }

    QTemporaryDir dir;
    QString project;
    QString fifo;
    QByteArray original;
};

TEST_F(BoundedInputCli, APictureThatIsAFifoIsAMissingPictureInEveryCommand)
{
    const CliRun check = Run({QStringLiteral("check"), project});
    EXPECT_EQ(check.exitCode, 1) << check.err.toStdString();
    EXPECT_TRUE(check.out.contains("cannot be read: It is not a regular file."))
        << check.out.toStdString();

    const CliRun render =
        Run({QStringLiteral("render"), project, QStringLiteral("--out"), dir.filePath("pages")});
    EXPECT_EQ(render.exitCode, 0) << render.err.toStdString();
    const CliRun compile =
        Run({QStringLiteral("compile"), project, QStringLiteral("--out"), dir.filePath("DATA")});
    EXPECT_EQ(compile.exitCode, 0) << compile.err.toStdString();
    EXPECT_TRUE(QFileInfo(dir.filePath("DATA")).size() > 0);

    // A folder and a device in its place are refused the same way.
    for (const QString& path : {dir.path(), QStringLiteral("/dev/zero")}) {
        CProjectRoot root;
        ASSERT_TRUE(root.LoadProject(project));
        static_cast<CImageZone*>(root.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(1))
            ->Key()
            .sourcePath = path;
        ASSERT_TRUE(root.SaveProject(project));
        const CliRun again = Run({QStringLiteral("check"), project});
        EXPECT_EQ(again.exitCode, 1) << again.err.toStdString();
        EXPECT_TRUE(again.out.contains("cannot be read: It i")) << again.out.toStdString();
    }
}

TEST_F(BoundedInputCli, EndlessAndSpecialInputsAreRefusedWithTheReason)
{
    for (const char* option : {"--text-file", "--rtf"}) {
        const CliRun zero = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                                 QLatin1String(option), QStringLiteral("/dev/zero")});
        EXPECT_EQ(zero.exitCode, 1) << option;
        EXPECT_TRUE(
            zero.err.contains("Cannot read '/dev/zero': It is not a regular file or a pipe."))
            << zero.err.toStdString();
    }
    const CliRun decode = Run({QStringLiteral("decode"), QStringLiteral("/dev/zero"),
                               QStringLiteral("--colors"), QStringLiteral("1")});
    EXPECT_EQ(decode.exitCode, 1);
    EXPECT_TRUE(decode.err.contains("Cannot read '/dev/zero'")) << decode.err.toStdString();

    const CliRun picture =
        Run({QStringLiteral("set-image"), project, QStringLiteral("s1/p1/w1/z2"), fifo});
    EXPECT_EQ(picture.exitCode, 1);
    EXPECT_TRUE(picture.err.contains("It is not a regular file.")) << picture.err.toStdString();

    // Just over the limit of a zone's text: refused from its size.
    const QString large = dir.filePath(QStringLiteral("large.txt"));
    QFile file(large);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(16 * 1024 * 1024 + 1));
    file.close();
    const CliRun tooLarge = Run({QStringLiteral("set-text"), project, QStringLiteral("s1/p1/w1/z1"),
                                 QStringLiteral("--text-file"), large});
    EXPECT_EQ(tooLarge.exitCode, 1);
    EXPECT_TRUE(tooLarge.err.contains("The file is larger than 16 MB."))
        << tooLarge.err.toStdString();

    // An endless pipe is read up to the same limit.
    const CliRun endless = RunInShell(QStringLiteral("set-text ") + project +
                                      QStringLiteral(" s1/p1/w1/z1 --text-file <(yes)"));
    EXPECT_EQ(endless.exitCode, 1);
    EXPECT_TRUE(endless.err.contains("More than 16 MB came from the pipe; reading stopped there."))
        << endless.err.toStdString();
    EXPECT_EQ(ReadFileBytes(project), original);
}

TEST_F(BoundedInputCli, ProcessSubstitutionStillWorks)
{
    const CliRun text =
        RunInShell(QStringLiteral("set-text ") + project +
                   QStringLiteral(" s1/p1/w1/z1 --text-file <(printf 'Open 9-17\\n')"));
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(project));
    const auto* words =
        static_cast<const CTextZone*>(root.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0));
    EXPECT_TRUE(words->GetRtf().contains(QStringLiteral("Open 9-17")))
        << words->GetRtf().toStdString();

    const CliRun rtf =
        RunInShell(QStringLiteral("set-text ") + project +
                   QStringLiteral(" s1/p1/w1/z1 --rtf <(printf '{\\\\rtf1 Closed\\\\par}')"));
    ASSERT_EQ(rtf.exitCode, 0) << rtf.err.toStdString();
    CProjectRoot again;
    ASSERT_TRUE(again.LoadProject(project));
    EXPECT_EQ(
        static_cast<const CTextZone*>(again.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0))
            ->GetRtf(),
        QStringLiteral("{\\rtf1 Closed\\par}"));
}

} // namespace
