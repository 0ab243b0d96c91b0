// lumivant-server's API end to end on a loopback port: the token, the project tree, the
// previews, changing texts and pictures, the schedule, and what it refuses.
#include "server_test_support.h"

#include "base/earlier_versions.h"
#include "model/effect_zone.h"
#include "model/project_root.h"
#include "model/zone_path.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ServerApiTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        project = dir.filePath(QStringLiteral("shop.ledprj"));
        WriteShopProject(project);
        ASSERT_TRUE(server.Start(project)) << server.Output().toStdString();
    }

    QImage Picture(const HttpAnswer& answer) const { return QImage::fromData(answer.body); }

    QTemporaryDir dir;
    QString project;
    ServerProcess server;
};

QJsonObject FindNamed(const QJsonObject& node, const QString& name)
{
    if (node.value(QStringLiteral("name")).toString() == name)
        return node;
    for (const QJsonValue& child : node.value(QStringLiteral("children")).toArray()) {
        const QJsonObject found = FindNamed(child.toObject(), name);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

} // namespace

TEST_F(ServerApiTest, EveryApiRequestNeedsTheTokenAndAWrongOneChangesNothing)
{
    const QByteArray before = ReadFileBytes(project);
    const HttpAnswer missing = server.Request("GET", "/api/v1/project", {}, false);
    EXPECT_EQ(missing.status, 401);
    EXPECT_EQ(missing.Header("WWW-Authenticate"), "Bearer");
    EXPECT_TRUE(missing.Error().contains(QStringLiteral("Authorization: Bearer")));

    const HttpAnswer wrong =
        server.Request("PUT", "/api/v1/zones/s1/p1/w1/z1/text", R"({"text":"stolen"})", false,
                       {{"Authorization", "Bearer not-the-token"}});
    EXPECT_EQ(wrong.status, 401);
    // Longer than the token, beginning with it.
    const HttpAnswer longer =
        server.Request("GET", "/api/v1/project", {}, false,
                       {{"Authorization", "Bearer " + server.Token().toStdString() + "x"}});
    EXPECT_EQ(longer.status, 401);
    const HttpAnswer unknown = server.Request("GET", "/api/v1/nothing", {}, false);
    EXPECT_EQ(unknown.status, 401);
    EXPECT_EQ(ReadFileBytes(project), before);

    // The scheme's case does not matter.
    const HttpAnswer lower =
        server.Request("GET", "/api/v1/project", {}, false,
                       {{"Authorization", "bearer " + server.Token().toStdString()}});
    EXPECT_EQ(lower.status, 200);
}

TEST_F(ServerApiTest, TheProjectTreeNamesEveryZoneBothWays)
{
    const HttpAnswer answer = server.Get("/api/v1/project");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(answer.Header("Content-Type"), "application/json");
    const QJsonObject tree = answer.Json();
    EXPECT_EQ(tree.value(QStringLiteral("file")).toString(), QStringLiteral("shop.ledprj"));
    const QJsonObject price = FindNamed(tree, QStringLiteral("Price"));
    EXPECT_EQ(price.value(QStringLiteral("path")).toObject().value(QStringLiteral("numbers")),
              QStringLiteral("s1/p1/w1/z1"));
    EXPECT_EQ(price.value(QStringLiteral("path")).toObject().value(QStringLiteral("names")),
              QStringLiteral("Panel1/Prices/Board/Price"));
    EXPECT_EQ(price.value(QStringLiteral("text")).toString(), QStringLiteral("A"));
    // A zone standing directly in its program is named without its window.
    const QJsonObject note = FindNamed(tree, QStringLiteral("Note"));
    EXPECT_EQ(note.value(QStringLiteral("path")).toObject().value(QStringLiteral("names")),
              QStringLiteral("Panel1/Prices/Note"));
    const QJsonObject second = FindNamed(tree, QStringLiteral("Panel2"));
    EXPECT_EQ(second.value(QStringLiteral("number")).toInt(), 2);
    EXPECT_EQ(second.value(QStringLiteral("width")).toInt(), 32);
    // The CLI's tree, node for node.
    const CliRun info = RunCli({QStringLiteral("info"), project, QStringLiteral("--json")});
    ASSERT_EQ(info.exitCode, 0);
    EXPECT_EQ(QJsonDocument::fromJson(info.out).object().value(QStringLiteral("props")),
              tree.value(QStringLiteral("props")));
}

TEST_F(ServerApiTest, APageSaysTheTreeChangedOnTheDisk)
{
    ASSERT_EQ(RunCli({QStringLiteral("set-text"), project, QStringLiteral("s2/p1/w1/z1"),
                      QStringLiteral("--text"), QStringLiteral("Noodles")})
                  .exitCode,
              0);
    const QJsonObject tree = server.Get("/api/v1/project").Json();
    EXPECT_EQ(FindNamed(tree, QStringLiteral("Dish")).value(QStringLiteral("text")).toString(),
              QStringLiteral("Noodles"));
}

TEST_F(ServerApiTest, ZonePreviewsAreTheRenderedPagesInTheLedLook)
{
    const HttpAnswer plain = server.Get("/api/v1/zones/s1/p1/w1/z1/preview.png");
    ASSERT_EQ(plain.status, 200) << plain.body.toStdString();
    EXPECT_EQ(plain.Header("Content-Type"), "image/png");
    EXPECT_EQ(Picture(plain).size(), QSize(48, 16));
    const HttpAnswer zoomed = server.Get("/api/v1/zones/s1/p1/w1/z1/preview.png?zoom=4&dots=1");
    ASSERT_EQ(zoomed.status, 200);
    const QImage dots = Picture(zoomed);
    EXPECT_EQ(dots.size(), QSize(192, 64));
    // The corner of an LED is the dark ground between the dots.
    EXPECT_EQ(dots.pixelColor(0, 0), QColor(48, 48, 48));
    const HttpAnswer byName = server.Get("/api/v1/zones/Panel1/Prices/Board/Price/preview.png");
    EXPECT_EQ(byName.status, 200);
    EXPECT_EQ(byName.body, plain.body);

    EXPECT_EQ(server.Get("/api/v1/zones/s1/p1/w1/z1/preview.png?page=9").status, 404);
    for (const char* query : {"?zoom=0", "?zoom=17", "?zoom=two", "?dots=2", "?page=0"})
        EXPECT_EQ(server.Get(std::string("/api/v1/zones/s1/p1/w1/z1/preview.png") + query).status,
                  400)
            << query;
}

TEST_F(ServerApiTest, ProgramPreviewsAreAnimatedGifs)
{
    const HttpAnswer gif = server.Get("/api/v1/programs/s2/p1/preview.gif?zoom=2&dots=1");
    ASSERT_EQ(gif.status, 200) << gif.body.toStdString();
    EXPECT_EQ(gif.Header("Content-Type"), "image/gif");
    ASSERT_TRUE(gif.body.startsWith("GIF89a"));
    const QImage first = Picture(gif);
    EXPECT_EQ(first.size(), QSize(64, 32));
    const HttpAnswer byName = server.Get("/api/v1/programs/Panel2/Menu/preview.gif?zoom=2&dots=1");
    EXPECT_EQ(byName.status, 200);
    const HttpAnswer missing = server.Get("/api/v1/programs/Panel2/Breakfast/preview.gif");
    EXPECT_EQ(missing.status, 404);
    EXPECT_TRUE(missing.Error().contains(QStringLiteral("'Menu'")))
        << missing.Error().toStdString();
}

TEST_F(ServerApiTest, ATextChangeIsSavedWithTheEarlierVersionKept)
{
    const QByteArray before = ReadFileBytes(project);
    const HttpAnswer answer =
        server.Put("/api/v1/zones/s1/p1/w1/z1/text", R"({"text":"3.20\nper kg"})");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    const QJsonObject reply = answer.Json();
    EXPECT_EQ(reply.value(QStringLiteral("zone")).toString(),
              QStringLiteral("Panel1/Prices/Board/Price"));
    EXPECT_GE(reply.value(QStringLiteral("pages")).toInt(), 1);
    EXPECT_TRUE(reply.value(QStringLiteral("warnings")).isArray());
    EXPECT_EQ(ZoneTextOnDisk(project, QStringLiteral("s1/p1/w1/z1")),
              QStringLiteral("3.20\nper kg"));
    const QList<EarlierVersion> versions = CEarlierVersions(project).List();
    ASSERT_FALSE(versions.isEmpty());
    EXPECT_EQ(ReadFileBytes(versions.first().path), before);
    // The lock is gone with the change.
    EXPECT_FALSE(QFile::exists(project + QStringLiteral(".lock")));
}

TEST_F(ServerApiTest, ATextThatDoesNotFitIsSavedWithAWarning)
{
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += QStringLiteral("word%1 ").arg(i);
    const HttpAnswer answer =
        server.Put("/api/v1/zones/s1/p1/w1/z1/text",
                   QJsonDocument(QJsonObject{{QStringLiteral("text"), longText}}).toJson());
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_GT(answer.Json().value(QStringLiteral("pages")).toInt(), 1);
    const QJsonArray warnings = answer.Json().value(QStringLiteral("warnings")).toArray();
    ASSERT_FALSE(warnings.isEmpty());
    EXPECT_TRUE(warnings.first().toString().contains(QStringLiteral("pages")));
}

TEST_F(ServerApiTest, AnRtfDocumentReplacesTheWholeText)
{
    const HttpAnswer answer =
        server.Put("/api/v1/zones/s2/p1/w1/z1/text",
                   R"({"rtf":"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Soup\\par}"})");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(ZoneTextOnDisk(project, QStringLiteral("s2/p1/w1/z1")), QStringLiteral("Soup"));
}

TEST_F(ServerApiTest, MalformedBodiesAreRefusedWithTheReasonAndChangeNothing)
{
    const QByteArray before = ReadFileBytes(project);
    const std::string zone = "/api/v1/zones/s1/p1/w1/z1/text";
    const HttpAnswer broken = server.Put(zone, R"({"text": "unclosed)");
    EXPECT_EQ(broken.status, 400);
    EXPECT_TRUE(broken.Error().startsWith(QStringLiteral("Malformed JSON: ")))
        << broken.Error().toStdString();
    EXPECT_TRUE(broken.Error().contains(QStringLiteral("offset")));
    for (const char* body : {R"(["text"])", R"({"text": 5})", R"({"text":"a","rtf":"b"})", R"({})",
                             R"({"rtf": "not rtf"})"})
        EXPECT_EQ(server.Put(zone, body).status, 400) << body;
    const QString tooLong(32768, u'x');
    EXPECT_EQ(
        server.Put(zone, QJsonDocument(QJsonObject{{QStringLiteral("text"), tooLong}}).toJson())
            .status,
        400);
    EXPECT_EQ(ReadFileBytes(project), before);
}

TEST_F(ServerApiTest, AZonePathThatDoesNotExistListsWhatDoes)
{
    const HttpAnswer byName =
        server.Put("/api/v1/zones/Panel1/Prices/Shelf/Price/text", R"({"text":"x"})");
    EXPECT_EQ(byName.status, 404);
    EXPECT_TRUE(byName.Error().contains(QStringLiteral("'Board'")) &&
                byName.Error().contains(QStringLiteral("'Note'")))
        << byName.Error().toStdString();
    const HttpAnswer byNumber = server.Get("/api/v1/zones/s3/p1/w1/z1/preview.png");
    EXPECT_EQ(byNumber.status, 404);
    EXPECT_TRUE(byNumber.Error().contains(QStringLiteral("screens there: 2")))
        << byNumber.Error().toStdString();
    // An image zone takes no text.
    EXPECT_EQ(server.Put("/api/v1/zones/s1/p1/w1/z2/text", R"({"text":"x"})").status, 400);
}

TEST_F(ServerApiTest, PathTricksNameNothingOutsideTheProject)
{
    const QByteArray before = ReadFileBytes(project);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
    const char* paths[] = {
        "/api/v1/zones/../../../etc/passwd/text",
        "/api/v1/zones/..%2F..%2F..%2Fetc%2Fpasswd/text",
        "/api/v1/zones/%2Fetc%2Fpasswd/text",
        "/api/v1/zones//etc/passwd/text",
        "/api/v1/zones/%2e%2e/%2e%2e/shop.ledprj/x/text",
        "/api/v1/zones/s1/p1/w1/z1%00/text",
        "/api/v1/zones/s1/p1/w1/z1%zz/text",
        "/api/v1/zones/s1/p1/w1/%C0%AF/text",
    };
    for (const char* path : paths) {
        const HttpAnswer answer = server.Put(path, R"({"text":"x"})");
        EXPECT_TRUE(answer.status == 404 || answer.status == 400) << path << " " << answer.status;
        const HttpAnswer picture =
            server.Put(std::string(path).replace(std::string(path).rfind("text"), 4, "image"),
                       PngBytes(2, 2), "image/png");
        EXPECT_TRUE(picture.status == 404 || picture.status == 400)
            << path << " " << picture.status;
    }
    EXPECT_EQ(ReadFileBytes(project), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), filesBefore);
    EXPECT_FALSE(QFile::exists(QStringLiteral("/etc/passwd.lock")));
}

TEST_F(ServerApiTest, AnEncodedSlashIsPartOfAName)
{
    ASSERT_EQ(RunCli({QStringLiteral("set-text"), project, QStringLiteral("s2/p1/w1/z1"),
                      QStringLiteral("--text"), QStringLiteral("x")})
                  .exitCode,
              0);
    // A zone named "Soup/Salad" is reached with its slash escaped in the address.
    CProjectRoot root;
    ASSERT_TRUE(root.LoadProject(project));
    QString error;
    CZonePath::Find(root, QStringLiteral("s2/p1/w1/z1"), error)
        ->SetName(QStringLiteral("Soup/Salad"));
    ASSERT_TRUE(root.SaveProject(project));
    const HttpAnswer answer =
        server.Put("/api/v1/zones/Panel2/Menu/Card/Soup%2FSalad/text", R"({"text":"Two"})");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    EXPECT_EQ(answer.Json().value(QStringLiteral("zone")).toString(),
              QStringLiteral("Panel2/Menu/Card/Soup\\/Salad"));
    EXPECT_EQ(
        server.Put("/api/v1/zones/Panel2/Menu/Card/Soup/Salad/text", R"({"text":"x"})").status,
        404);
}

TEST_F(ServerApiTest, APictureIsStoredBesideTheProjectAndShown)
{
    const QByteArray png = PngBytes(16, 16);
    const HttpAnswer answer = server.Put("/api/v1/zones/s1/p1/w1/z2/image", png, "image/png");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    const QStringList stored =
        QDir(dir.path()).entryList({QStringLiteral("shop-*.png")}, QDir::Files);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(ReadFileBytes(dir.filePath(stored.first())), png);
    EXPECT_TRUE(ReadFileBytes(project).contains(stored.first().toUtf8()));
    const HttpAnswer preview = server.Get("/api/v1/zones/s1/p1/w1/z2/preview.png");
    ASSERT_EQ(preview.status, 200);
    EXPECT_EQ(Picture(preview).pixelColor(0, 0), QColor(Qt::red));
    // The same picture again is stored once.
    ASSERT_EQ(server.Put("/api/v1/zones/s1/p1/w1/z2/image", png, "image/png").status, 200);
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("shop-*")}, QDir::Files).size(), 1);
}

TEST_F(ServerApiTest, WhatIsNoPictureOrNoImageZoneIsRefusedAndNothingWritten)
{
    const QByteArray before = ReadFileBytes(project);
    const QStringList filesBefore = QDir(dir.path()).entryList(QDir::Files);
    EXPECT_EQ(server.Put("/api/v1/zones/s1/p1/w1/z2/image", "just words", "image/png").status, 415);
    QByteArray truncated = PngBytes(64, 64);
    truncated.truncate(truncated.size() / 2);
    EXPECT_EQ(server.Put("/api/v1/zones/s1/p1/w1/z2/image", truncated, "image/png").status, 415);
    const HttpAnswer intoText =
        server.Put("/api/v1/zones/s1/p1/w1/z1/image", PngBytes(4, 4), "image/png");
    EXPECT_EQ(intoText.status, 400);
    EXPECT_TRUE(intoText.Error().contains(QStringLiteral("not an image zone")));
    EXPECT_EQ(ReadFileBytes(project), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), filesBefore);
}

TEST_F(ServerApiTest, TheScheduleTellsWhatEachScreenPlays)
{
    const HttpAnswer answer = server.Get("/api/v1/schedule?at=2025-03-01%2012:00");
    ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
    const QJsonArray screens = answer.Json().value(QStringLiteral("screens")).toArray();
    ASSERT_EQ(screens.size(), 2);
    const QJsonArray playing = screens[1].toObject().value(QStringLiteral("playing")).toArray();
    ASSERT_EQ(playing.size(), 1);
    EXPECT_EQ(playing[0].toObject().value(QStringLiteral("name")).toString(),
              QStringLiteral("Menu"));
    EXPECT_EQ(server.Get("/api/v1/schedule?at=tomorrow").status, 400);
    EXPECT_EQ(server.Get("/api/v1/schedule").status, 400);
}

TEST_F(ServerApiTest, UnknownAddressesAndMethodsAreSaidSo)
{
    EXPECT_EQ(server.Get("/api/v1/jobs/77").status, 404);
    EXPECT_EQ(server.Get("/api/v2/project").status, 404);
    const HttpAnswer method = server.Request("DELETE", "/api/v1/project", {}, true);
    EXPECT_EQ(method.status, 405);
    EXPECT_EQ(method.Header("Allow"), "GET");
    EXPECT_EQ(server.Get("/api/v1/zones/s1/p1/w1/z1/text").status, 405);
}

TEST_F(ServerApiTest, ErrorsComeInTheLanguageTheClientAsksFor)
{
    const HttpAnswer chinese = server.Get("/api/v1/jobs/5", "zh-CN,zh;q=0.9,en;q=0.5");
    EXPECT_EQ(chinese.Error(), QStringLiteral("没有任务 5。"));
    const HttpAnswer traditional = server.Get("/api/v1/jobs/5", "de-DE, zh-TW");
    EXPECT_EQ(traditional.Error(), QStringLiteral("沒有工作 5。"));
    EXPECT_EQ(server.Get("/api/v1/jobs/5", "fr").Error(), QStringLiteral("There is no job 5."));
}

TEST_F(ServerApiTest, ThePageIsServedWithoutTheTokenAndRunsNothingFromElsewhere)
{
    const HttpAnswer page = server.Request("GET", "/", {}, false);
    ASSERT_EQ(page.status, 200);
    EXPECT_TRUE(page.Header("Content-Type").find("text/html") == 0);
    EXPECT_NE(page.Header("Content-Security-Policy").find("default-src 'self'"), std::string::npos);
    EXPECT_FALSE(page.body.contains("http://") || page.body.contains("https://"));
    const HttpAnswer script = server.Request("GET", "/app.js", {}, false);
    ASSERT_EQ(script.status, 200);
    EXPECT_FALSE(script.body.contains("http://") || script.body.contains("https://"));
    const HttpAnswer texts = server.Request("GET", "/texts.js", {}, false);
    ASSERT_EQ(texts.status, 200);
    for (const QString& text :
         {QStringLiteral("\"zh-CN\""), QStringLiteral("\"zh-TW\""), QStringLiteral("发送"),
          QStringLiteral("傳送"), QStringLiteral("Send")})
        EXPECT_TRUE(QString::fromUtf8(texts.body).contains(text)) << text.toStdString();
    EXPECT_EQ(server.Request("GET", "/index.html.bak", {}, false).status, 404);
}
