// The parts of lumivant-server that need no running server: the token file and its check,
// the command line, the language of a request, and what the program says when it starts.
#include "server_test_support.h"

#include "server/server_options.h"
#include "server/server_token.h"
#include "server/web_texts.h"
#include "support/test_support.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

int ModeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 0777) : -1;
}

struct ProgramRun
{
    int exitCode = -1;
    QString output;
};

ProgramRun
RunServer(const QStringList& arguments,
          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(ServerProcess::Path(), arguments);
    ProgramRun run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(2000);
        return run;
    }
    run.exitCode = process.exitCode();
    run.output = QString::fromUtf8(process.readAll());
    return run;
}

} // namespace

TEST(ServerTokenTest, AFirstStartMakesAPrivateRandomTokenAndLaterStartsReadIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config/lumivant/server-token"));
    CServerToken first;
    QString error;
    ASSERT_TRUE(first.LoadOrCreate(path, error)) << error.toStdString();
    EXPECT_EQ(ModeOf(path), 0600);
    // 256 bits as hex.
    EXPECT_EQ(first.Value().size(), 64);
    EXPECT_EQ(QByteArray::fromHex(first.Value()).toHex(), first.Value());
    CServerToken again;
    ASSERT_TRUE(again.LoadOrCreate(path, error));
    EXPECT_EQ(again.Value(), first.Value());
    QTemporaryDir other;
    CServerToken elsewhere;
    ASSERT_TRUE(elsewhere.LoadOrCreate(other.filePath(QStringLiteral("t")), error));
    EXPECT_NE(elsewhere.Value(), first.Value());
}

TEST(ServerTokenTest, ATokenFileOthersMayReadOrAShortTokenIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("token"));
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(40, 'a')));
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    CServerToken token;
    QString error;
    EXPECT_FALSE(token.LoadOrCreate(path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("chmod 600"))) << error.toStdString();

    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(WriteFileBytes(path, "secret\n"));
    EXPECT_FALSE(token.LoadOrCreate(path, error));
    EXPECT_TRUE(error.contains(QStringLiteral("32"))) << error.toStdString();
    ASSERT_TRUE(WriteFileBytes(path, QByteArray(20, 'a') + ' ' + QByteArray(20, 'b')));
    EXPECT_FALSE(token.LoadOrCreate(path, error));
}

TEST(ServerTokenTest, OnlyTheBearerTokenItselfIsAccepted)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("token"));
    const QByteArray secret = "0123456789abcdef0123456789abcdef-shop";
    ASSERT_TRUE(WriteFileBytes(path, secret + "\n"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    CServerToken token;
    QString error;
    ASSERT_TRUE(token.LoadOrCreate(path, error)) << error.toStdString();
    EXPECT_TRUE(token.Accepts("Bearer " + secret));
    EXPECT_TRUE(token.Accepts("BEARER " + secret));
    for (const QByteArray& wrong :
         {QByteArray(), QByteArray("Bearer"), QByteArray("Bearer "), secret, "Basic " + secret,
          "Bearer " + secret.left(secret.size() - 1), "Bearer " + secret + "x",
          "Bearer " + secret.toUpper(), "Bearer x" + secret})
        EXPECT_FALSE(token.Accepts(wrong)) << wrong.toStdString();
    CServerToken none;
    EXPECT_FALSE(none.Accepts("Bearer "));
}

TEST(ServerOptionsTest, ListenAddressesAndWhatTheyReach)
{
    QString host;
    int port = -1;
    ASSERT_TRUE(ServerOptions::ParseListen(QStringLiteral("127.0.0.1:0"), host, port));
    EXPECT_EQ(host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(port, 0);
    ASSERT_TRUE(ServerOptions::ParseListen(QStringLiteral("[::1]:8080"), host, port));
    EXPECT_EQ(host, QStringLiteral("::1"));
    EXPECT_EQ(port, 8080);
    for (const char* bad : {"127.0.0.1", "127.0.0.1:", ":80", "127.0.0.1:65536", "::1:80",
                            "[::1]80", "host:-1", "host:http"})
        EXPECT_FALSE(ServerOptions::ParseListen(QString::fromLatin1(bad), host, port)) << bad;

    EXPECT_TRUE(ServerOptions::IsLoopback(QStringLiteral("127.0.0.1")));
    EXPECT_TRUE(ServerOptions::IsLoopback(QStringLiteral("127.1.2.3")));
    EXPECT_TRUE(ServerOptions::IsLoopback(QStringLiteral("::1")));
    EXPECT_TRUE(ServerOptions::IsLoopback(QStringLiteral("localhost")));
    EXPECT_FALSE(ServerOptions::IsLoopback(QStringLiteral("0.0.0.0")));
    EXPECT_FALSE(ServerOptions::IsLoopback(QStringLiteral("192.168.1.20")));
    EXPECT_FALSE(ServerOptions::IsLoopback(QStringLiteral("shop.example")));
    EXPECT_EQ(ServerOptions::Url(QStringLiteral("::1"), 80), QStringLiteral("http://[::1]:80/"));

    ServerOptions options;
    QString error;
    ASSERT_TRUE(ServerOptions::Parse({QStringLiteral("--project"), QStringLiteral("a.ledprj")},
                                     options, error));
    EXPECT_EQ(options.host, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(options.port, ServerOptions::kDefaultPort);
    ServerOptions missing;
    EXPECT_FALSE(ServerOptions::Parse({QStringLiteral("--listen"), QStringLiteral("127.0.0.1:1")},
                                      missing, error));
    EXPECT_FALSE(ServerOptions::Parse({QStringLiteral("--project")}, missing, error));
    EXPECT_FALSE(ServerOptions::Parse({QStringLiteral("--project=a"), QStringLiteral("--color")},
                                      missing, error));
}

TEST(ServerLanguageTest, TheFirstLanguageOfTheTableARequestAsksForCounts)
{
    EXPECT_EQ(LanguageOfRequest("zh-CN,zh;q=0.9"), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageOfRequest("zh-Hant-TW"), Language::TraditionalChinese);
    EXPECT_EQ(LanguageOfRequest("zh-HK, en"), Language::TraditionalChinese);
    EXPECT_EQ(LanguageOfRequest("fr-FR, de;q=0.8, zh;q=0.5"), Language::SimplifiedChinese);
    EXPECT_EQ(LanguageOfRequest("en-GB,zh-CN"), Language::English);
    EXPECT_EQ(LanguageOfRequest(""), CurrentLanguage());
    const QString script = QString::fromUtf8(WebTextsScript());
    EXPECT_TRUE(script.startsWith(QStringLiteral("window.LUMIVANT_TEXTS = {")));
    EXPECT_TRUE(script.contains(QStringLiteral("\"61906\":\"傳送\"")));
}

TEST(ServerProgramTest, AFirstStartWithoutATokenFileMakesOneInTheConfigurationFolder)
{
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("shop.ledprj"));
    WriteShopProject(project);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(ServerProcess::Path(),
                  {QStringLiteral("--project"), project, QStringLiteral("--listen"),
                   QStringLiteral("127.0.0.1:0")});
    ASSERT_TRUE(process.waitForStarted(5000));
    QString output;
    for (int i = 0; i < 100 && !output.contains(QStringLiteral("#token=")); ++i) {
        process.waitForReadyRead(100);
        output += QString::fromUtf8(process.readAll());
    }
    const QString token = dir.filePath(QStringLiteral("config/lumivant/server-token"));
    EXPECT_TRUE(output.contains(QStringLiteral("http://127.0.0.1:"))) << output.toStdString();
    EXPECT_TRUE(output.contains(token)) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("other machines")));
    EXPECT_EQ(ModeOf(token), 0600);
    EXPECT_FALSE(output.contains(QString::fromLatin1(ReadFileBytes(token).trimmed())));
    process.terminate();
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0);
}

TEST(ServerProgramTest, WhatCannotBeServedIsSaidAtStart)
{
    QTemporaryDir dir;
    const ProgramRun none =
        RunServer({QStringLiteral("--project"), dir.filePath(QStringLiteral("none.ledprj")),
                   QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.output.contains(QStringLiteral("Failed on load project.")))
        << none.output.toStdString();

    const QString project = dir.filePath(QStringLiteral("shop.ledprj"));
    WriteShopProject(project);
    const QString open = dir.filePath(QStringLiteral("open-token"));
    ASSERT_TRUE(WriteFileBytes(open, QByteArray(40, 'a')));
    ASSERT_TRUE(
        QFile::setPermissions(open, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    const ProgramRun shared =
        RunServer({QStringLiteral("--project"), project, QStringLiteral("--listen"),
                   QStringLiteral("127.0.0.1:0"), QStringLiteral("--token-file"), open});
    EXPECT_EQ(shared.exitCode, 1);
    EXPECT_TRUE(shared.output.contains(QStringLiteral("chmod 600"))) << shared.output.toStdString();

    EXPECT_EQ(RunServer({QStringLiteral("--project"), project, QStringLiteral("--listen"),
                         QStringLiteral("127.0.0.1")})
                  .exitCode,
              2);
    EXPECT_EQ(RunServer({QStringLiteral("--help")}).exitCode, 0);

    // A port that is taken.
    ServerProcess first;
    ASSERT_TRUE(first.Start(project));
    const QString secret = dir.filePath(QStringLiteral("token"));
    ASSERT_TRUE(WriteFileBytes(secret, QByteArray(40, 'b')));
    ASSERT_TRUE(QFile::setPermissions(secret, QFile::ReadOwner | QFile::WriteOwner));
    const ProgramRun taken = RunServer(
        {QStringLiteral("--project"), project, QStringLiteral("--listen"),
         QStringLiteral("127.0.0.1:%1").arg(first.Port()), QStringLiteral("--token-file"), secret});
    EXPECT_EQ(taken.exitCode, 1);
    EXPECT_TRUE(taken.output.contains(QStringLiteral("Cannot listen")))
        << taken.output.toStdString();
}
