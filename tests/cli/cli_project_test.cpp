#include "support/test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(CliNewInfo, NewProjectAndItsTreeAsJson)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("new.ledprj"));
    const CliRun created =
        RunCli({QStringLiteral("new"), path, QStringLiteral("--width"), QStringLiteral("128"),
                QStringLiteral("--height"), QStringLiteral("16"), QStringLiteral("--colors"),
                QStringLiteral("3")});
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();

    const CliRun info = RunCli({QStringLiteral("info"), path, QStringLiteral("--json")});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject root = QJsonDocument::fromJson(info.out).object();
    EXPECT_EQ(root[QStringLiteral("kind")].toInt(), 0);
    EXPECT_EQ(root[QStringLiteral("props")].toObject()[QStringLiteral("lite")].toString(),
              QStringLiteral("NULL"));
    const QJsonObject screen = root[QStringLiteral("children")].toArray()[0].toObject();
    EXPECT_EQ(screen[QStringLiteral("kind")].toInt(), 120);
    EXPECT_EQ(screen[QStringLiteral("name")].toString(), QStringLiteral("Panel1"));
    const QJsonObject props = screen[QStringLiteral("props")].toObject();
    EXPECT_EQ(props[QStringLiteral("pw")].toInt(), 128);
    EXPECT_EQ(props[QStringLiteral("ph1")].toInt(), 16);
    EXPECT_EQ(props[QStringLiteral("pc")].toInt(), 3);
    EXPECT_EQ(props[QStringLiteral("ilp")].toInt(), 18199);
    EXPECT_TRUE(props[QStringLiteral("sli")].isString());
    EXPECT_EQ(props.size(), 3 + 18 + 18 + 2 + 12 + 4 + 11 + 4 + 1 + 5 + 1);
    const QJsonObject program = screen[QStringLiteral("children")].toArray()[0].toObject();
    EXPECT_EQ(program[QStringLiteral("props")].toObject()[QStringLiteral("sd")].toInteger(),
              -2147468683LL);

    const CliRun tree = RunCli({QStringLiteral("info"), path});
    EXPECT_EQ(tree.exitCode, 0);
    EXPECT_TRUE(tree.out.contains("Program1"));
}

TEST(CliNewInfo, FailuresAndUsageErrors)
{
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.ledprj"));
    ASSERT_TRUE(WriteFileBytes(broken, "<project><Varno"));
    const CliRun bad = RunCli({QStringLiteral("info"), broken});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains("Failed on load project.")) << bad.err.toStdString();

    EXPECT_EQ(RunCli({QStringLiteral("info")}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(RunCli({QStringLiteral("new"), dir.filePath(QStringLiteral("x.ledprj")),
                      QStringLiteral("--colors"), QStringLiteral("4")})
                  .exitCode,
              2);
    EXPECT_EQ(RunCli({QStringLiteral("--help")}).exitCode, 0);

    const CliRun unwritable =
        RunCli({QStringLiteral("new"), dir.filePath(QStringLiteral("no/such/dir.ledprj"))});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(unwritable.err.contains("Error on save project!"));
}
