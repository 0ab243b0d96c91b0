#include "base/app_settings.h"
#include "support/test_support.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsFile : public testing::Test
{
protected:
    QString Write(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("lumivant.ini"));
        EXPECT_TRUE(WriteFileBytes(path, text));
        return path;
    }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(SettingsFile, MissingFileGivesTheDefaults)
{
    const AppSettings s = AppSettings::Load(m_dir.filePath(QStringLiteral("absent.ini")));
    EXPECT_EQ(s.delay, 2);
    EXPECT_EQ(s.exit, 0);
    EXPECT_EQ(s.lang, 0);
    EXPECT_EQ(s.tip, 0);
    EXPECT_EQ(s.mul, 1);
    EXPECT_EQ(s.div, 1);
    EXPECT_EQ(s.pkg, 128);
}

TEST_F(SettingsFile, ValuesOutsideTheirRangesAreClamped)
{
    const AppSettings s = AppSettings::Load(
        Write("[App]\r\ndelay=30\r\nexit=2\r\nlang=9\r\ntip=1\r\nmul=0\r\ndiv=3\r\npkg=512\r\n"));
    EXPECT_EQ(s.delay, 30);
    EXPECT_EQ(s.exit, 2);
    EXPECT_EQ(s.lang, 9);
    EXPECT_EQ(s.tip, 1);
    EXPECT_EQ(s.mul, 1);
    EXPECT_EQ(s.div, 1);
    EXPECT_EQ(s.pkg, 128);

    const AppSettings kept = AppSettings::Load(Write("[App]\nmul=8\ndiv=2\npkg=256\n"));
    EXPECT_EQ(kept.mul, 8);
    EXPECT_EQ(kept.div, 2);
    EXPECT_EQ(kept.pkg, 256);
    EXPECT_EQ(AppSettings::Load(Write("[App]\npkg=64\n")).pkg, 64);
}

TEST_F(SettingsFile, NumbersAreReadLikeProfileIntegers)
{
    const AppSettings s = AppSettings::Load(Write("[App]\ndelay=15 seconds\nmul=abc\npkg= 256\n"));
    EXPECT_EQ(s.delay, 15);
    EXPECT_EQ(s.mul, 1); // 0 is out of range
    EXPECT_EQ(s.pkg, 256);
}

TEST_F(SettingsFile, ZoomIsWrittenBackAfterClamping)
{
    const QString path = Write("[App]\nmul=0\ndiv=3\ndelay=7\n");
    AppSettings s = AppSettings::Load(path);
    ASSERT_TRUE(s.SaveZoom(path));
    const QSettings file(path, QSettings::IniFormat);
    EXPECT_EQ(file.value(QStringLiteral("App/mul")).toInt(), 1);
    EXPECT_EQ(file.value(QStringLiteral("App/div")).toInt(), 1);
    EXPECT_EQ(file.value(QStringLiteral("App/delay")).toInt(), 7);
}

TEST_F(SettingsFile, TheViewSwitchesAreReadAsOnOrOffAndWrittenBack)
{
    const AppSettings defaults = AppSettings::Load(m_dir.filePath(QStringLiteral("absent.ini")));
    EXPECT_EQ(defaults.designer, 0);
    EXPECT_EQ(defaults.dots, 0);
    EXPECT_EQ(defaults.warnings, 1);

    const QString path = Write("[App]\ndesigner=7\ndots=yes\nwarnings=0\nmul=4\n");
    AppSettings s = AppSettings::Load(path);
    EXPECT_EQ(s.designer, 1);
    EXPECT_EQ(s.dots, 0); // not a number: off
    EXPECT_EQ(s.warnings, 0);
    s.dots = 1;
    ASSERT_TRUE(s.SaveView(path));
    const AppSettings read = AppSettings::Load(path);
    EXPECT_EQ(read.designer, 1);
    EXPECT_EQ(read.dots, 1);
    EXPECT_EQ(read.warnings, 0);
    EXPECT_EQ(read.mul, 4); // the other keys stay
}
