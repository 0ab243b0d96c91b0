#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
};

ProgramRun
RunProgram(const QString& program, const QStringList& arguments, int timeoutMs = 120000,
           const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAll()};
}

bool HaveTool(const QString& name)
{
    return !QStandardPaths::findExecutable(name).isEmpty();
}

// One installation into a temporary folder, shared by the layout tests.
class InstalledTree : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_root = new QTemporaryDir;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), s_root->path());
        s_install = RunProgram(QStringLiteral("cmake"),
                               {QStringLiteral("--install"), QStringLiteral(LUMIVANT_BUILD_DIR),
                                QStringLiteral("--prefix"), QStringLiteral("/usr")},
                               120000, environment);
    }
    static void TearDownTestSuite()
    {
        delete s_root;
        s_root = nullptr;
    }
    static QString Installed(const QString& path) { return s_root->path() + "/usr/" + path; }

    static QTemporaryDir* s_root;
    static ProgramRun s_install;
};

QTemporaryDir* InstalledTree::s_root = nullptr;
ProgramRun InstalledTree::s_install;

TEST_F(InstalledTree, PutsProgramsPagesAndDesktopFilesInPlace)
{
    ASSERT_EQ(s_install.exitCode, 0) << s_install.out.constData();
    for (const char* path :
         {"bin/lumivant",
          "bin/lumivant-cli",
          "bin/lumivant-sim",
          "bin/lumivant-fwpack",
          "share/applications/lumivant.desktop",
          "share/mime/packages/lumivant.xml",
          "share/metainfo/io.github.lumivant.Lumivant.metainfo.xml",
          "share/icons/hicolor/scalable/apps/lumivant.svg",
          "share/icons/hicolor/scalable/mimetypes/application-x-lumivant-project.svg",
          "share/icons/hicolor/16x16/apps/lumivant.png",
          "share/icons/hicolor/256x256/apps/lumivant.png",
          "share/icons/hicolor/48x48/mimetypes/application-x-lumivant-project.png",
          "share/man/man1/lumivant.1.gz",
          "share/man/man1/lumivant-cli.1.gz",
          "share/man/man1/lumivant-sim.1.gz",
          "share/man/man1/lumivant-fwpack.1.gz",
          "share/lumivant/examples/demo.ledprj",
          "bin/lumivant-server",
          "share/man/man1/lumivant-server.1.gz",
          "lib/systemd/user/lumivant-server@.service"})
        EXPECT_TRUE(QFileInfo::exists(Installed(path))) << path;
    EXPECT_TRUE(QFileInfo(Installed("bin/lumivant-cli")).isExecutable());
}

TEST_F(InstalledTree, TheServersUserUnitServesTheProjectItsInstanceNames)
{
    ASSERT_EQ(s_install.exitCode, 0);
    const QByteArray unit = ReadFileBytes(Installed("lib/systemd/user/lumivant-server@.service"));
    EXPECT_TRUE(unit.contains("\nExecStart=lumivant-server --project %f\n")) << unit.constData();
    EXPECT_TRUE(unit.contains("\nWantedBy=default.target")) << unit.constData();
    if (!HaveTool("systemd-analyze"))
        return;
    QTemporaryDir units;
    const QString instance = units.filePath(QStringLiteral("lumivant-server@.service"));
    QByteArray local = unit;
    local.replace("ExecStart=lumivant-server",
                  "ExecStart=" + Installed("bin/lumivant-server").toUtf8());
    ASSERT_TRUE(WriteFileBytes(instance, local));
    const ProgramRun verify =
        RunProgram(QStringLiteral("systemd-analyze"),
                   {QStringLiteral("verify"),
                    units.filePath(QStringLiteral("lumivant-server@tmp-shop.ledprj.service"))},
                   30000);
    EXPECT_FALSE(verify.out.contains("Unknown key") || verify.out.contains("nvalid") ||
                 verify.out.contains("bad-setting"))
        << verify.out.constData();
}

TEST_F(InstalledTree, DesktopEntryMetainfoAndMimePackageAreValid)
{
    ASSERT_EQ(s_install.exitCode, 0);
    if (!HaveTool("desktop-file-validate") || !HaveTool("appstreamcli") ||
        !HaveTool("update-mime-database"))
        GTEST_SKIP() << "the desktop file tools are not installed";

    const ProgramRun desktop = RunProgram(QStringLiteral("desktop-file-validate"),
                                          {Installed("share/applications/lumivant.desktop")});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out.constData();
    EXPECT_FALSE(desktop.out.contains("error")) << desktop.out.constData();
    const ProgramRun metainfo =
        RunProgram(QStringLiteral("appstreamcli"),
                   {QStringLiteral("validate"), QStringLiteral("--no-net"),
                    Installed("share/metainfo/io.github.lumivant.Lumivant.metainfo.xml")});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out.constData();

    // The database the desktop builds from the package recognises the extension and the
    // root element.
    const QString mime = Installed("share/mime");
    const ProgramRun database = RunProgram(QStringLiteral("update-mime-database"), {mime});
    ASSERT_EQ(database.exitCode, 0) << database.out.constData();
    const QByteArray globs = ReadFileBytes(mime + "/globs2");
    EXPECT_TRUE(globs.contains("application/x-lumivant-project:*.ledprj")) << globs.constData();
    const QByteArray roots = ReadFileBytes(mime + "/XMLnamespaces");
    EXPECT_TRUE(roots.contains("project application/x-lumivant-project")) << roots.constData();
}

TEST_F(InstalledTree, InstalledProgramKeepsItsSettingsInTheUsersFolder)
{
    ASSERT_EQ(s_install.exitCode, 0);
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const ProgramRun run =
        RunProgram(Installed("bin/lumivant-cli"), {QStringLiteral("--help")}, 30000, environment);
    EXPECT_EQ(run.exitCode, 0) << run.out.constData();
    EXPECT_TRUE(QFileInfo(home.path() + "/.config/lumivant").isDir());
    EXPECT_TRUE(QDir(Installed("bin")).entryList({QStringLiteral("*.ini")}).isEmpty());
}

TEST(Package, DebHasItsControlFieldsAndFiles)
{
    if (!HaveTool("cpack") || !HaveTool("dpkg-deb") || !HaveTool("dpkg-shlibdeps"))
        GTEST_SKIP() << "cpack or the Debian tools are not installed";
    QTemporaryDir out;
    const ProgramRun pack = RunProgram(
        QStringLiteral("cpack"),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), out.path(),
         QStringLiteral("--config"), QStringLiteral(LUMIVANT_BUILD_DIR "/CPackConfig.cmake")},
        280000);
    ASSERT_EQ(pack.exitCode, 0) << pack.out.constData();
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("lumivant_*.deb")});
    ASSERT_EQ(debs.size(), 1);
    const QString deb = out.path() + u'/' + debs.first();
    EXPECT_TRUE(debs.first().startsWith(QStringLiteral("lumivant_1.176_")));

    const ProgramRun fields = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), deb});
    ASSERT_EQ(fields.exitCode, 0);
    EXPECT_TRUE(fields.out.contains("Package: lumivant\n")) << fields.out.constData();
    EXPECT_TRUE(fields.out.contains("Version: 1.176\n"));
    // Worked out from the shared libraries, plus the renderer's fonts and the plugins the
    // program loads by itself: the SVG icons and the TIFF pictures.
    EXPECT_TRUE(fields.out.contains("libqt6widgets6")) << fields.out.constData();
    EXPECT_TRUE(fields.out.contains("fonts-wqy-zenhei"));
    EXPECT_TRUE(fields.out.contains("libqt6svg6"));
    EXPECT_TRUE(fields.out.contains("qt6-image-formats-plugins"));
    EXPECT_TRUE(fields.out.contains("libcpp-httplib")) << fields.out.constData();
    EXPECT_TRUE(fields.out.contains("Description: "));

    const ProgramRun files = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    ASSERT_EQ(files.exitCode, 0);
    for (const char* path :
         {"./usr/bin/lumivant\n", "./usr/bin/lumivant-cli\n",
          "./usr/share/applications/lumivant.desktop\n", "./usr/share/mime/packages/lumivant.xml\n",
          "./usr/share/man/man1/lumivant-cli.1.gz\n", "./usr/bin/lumivant-server\n",
          "./usr/lib/systemd/user/lumivant-server@.service\n"})
        EXPECT_TRUE(files.out.contains(path)) << path;
    // Menus and file types are updated by the distribution's triggers, not by scripts.
    const ProgramRun control = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-I"), deb});
    EXPECT_FALSE(control.out.contains("postinst")) << control.out.constData();
}

TEST(SerialPermission, ADeviceTheUserMayNotOpenSaysWhatToDo)
{
    if (::geteuid() != 0 || !HaveTool("runuser") || !HaveTool("socat"))
        GTEST_SKIP() << "needs root, runuser and socat to try as another user";
    QTemporaryDir folder;
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                             QFileDevice::ExeOther);
    const QString link = folder.path() + "/tty";
    QProcess socat;
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,mode=600,link=") + link,
                                          QStringLiteral("pty,raw,echo=0")});
    ASSERT_TRUE(socat.waitForStarted(5000));
    for (int i = 0; i < 100 && !QFileInfo::exists(link); ++i)
        QThread::msleep(20);
    const QString device = QFileInfo(link).canonicalFilePath();
    ASSERT_FALSE(device.isEmpty());
    const QString project = folder.path() + "/p.ledprj";
    QFile::copy(TestDataPath("../../examples/demo.ledprj"), project);
    QFile::setPermissions(project, QFileDevice::ReadOwner | QFileDevice::ReadOther);

    const ProgramRun run =
        RunProgram(QStringLiteral("runuser"),
                   {QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                    QStringLiteral(LUMIVANT_CLI_PATH), QStringLiteral("read-params"), project,
                    QStringLiteral("--serial"), device},
                   30000);
    socat.kill();
    socat.waitForFinished();
    EXPECT_EQ(run.exitCode, 1) << run.out.constData();
    EXPECT_TRUE(run.out.contains("Open searial port was denied.")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("Permission denied")) << run.out.constData();
    EXPECT_TRUE(run.out.contains("sudo usermod -aG")) << run.out.constData();
}

} // namespace
