// The web page in a real browser: Debian's chromium, headless, driven over the DevTools
// protocol on a pipe. It loads the page, changes a text, sends the screen to lumivant-sim
// and sees the result; and it fits a phone and speaks the browser's language.
#include "server_test_support.h"

#include "../comm/comm_test_support.h"
#include "support/test_support.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kCallMs = 20000;

// The browser's own binary: Debian's launcher adds extensions and flags of its own.
QString ChromiumPath()
{
    const QString direct = QStringLiteral("/usr/lib/chromium/chromium");
    if (QFileInfo(direct).isExecutable())
        return direct;
    return QStandardPaths::findExecutable(QStringLiteral("chromium"));
}

// A headless chromium talking the DevTools protocol on file descriptors 3 (requests) and 4
// (answers), each message JSON ended by a NUL.
class Browser
{
public:
    ~Browser() { Stop(); }

    bool Start(const QString& language, QString& error)
    {
        const QString binary = ChromiumPath();
        if (binary.isEmpty()) {
            error = QStringLiteral("chromium is not installed: `make test` installs it "
                                   "(apt-get install -y chromium)");
            return false;
        }
        int toBrowser[2];
        int fromBrowser[2];
        if (::pipe2(toBrowser, O_CLOEXEC) != 0 || ::pipe2(fromBrowser, O_CLOEXEC) != 0) {
            error = QString::fromLocal8Bit(strerror(errno));
            return false;
        }
        const QByteArray profile = QFile::encodeName(m_profile.path());
        const std::vector<QByteArray> arguments = {
            QFile::encodeName(binary),
            "--headless",
            "--no-sandbox",
            "--disable-gpu",
            "--disable-quic",
            "--no-first-run",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--disable-extensions",
            "--disable-default-apps",
            "--disable-dev-shm-usage",
            "--no-default-browser-check",
            "--disable-features=Translate,MediaRouter,OptimizationHints",
            "--user-data-dir=" + profile,
            "--lang=" + language.toLatin1(),
            "--remote-debugging-pipe",
            "about:blank"};
        std::vector<char*> argv;
        for (const QByteArray& argument : arguments)
            argv.push_back(const_cast<char*>(argument.constData()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, toBrowser[0], 3);
        posix_spawn_file_actions_adddup2(&actions, fromBrowser[1], 4);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const int spawned = ::posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(toBrowser[0]);
        ::close(fromBrowser[1]);
        m_write = toBrowser[1];
        m_read = fromBrowser[0];
        if (spawned != 0) {
            m_pid = 0;
            error = QStringLiteral("%1: %2").arg(binary, QString::fromLocal8Bit(strerror(spawned)));
            return false;
        }
        const QJsonObject version = Call(QStringLiteral("Browser.getVersion"), {});
        if (!version.contains(QStringLiteral("product"))) {
            error = QStringLiteral("%1 did not answer on its DevTools pipe").arg(binary);
            return false;
        }
        const QJsonObject target = Call(QStringLiteral("Target.createTarget"),
                                        {{QStringLiteral("url"), QStringLiteral("about:blank")}});
        const QJsonObject attached =
            Call(QStringLiteral("Target.attachToTarget"),
                 {{QStringLiteral("targetId"), target.value(QStringLiteral("targetId"))},
                  {QStringLiteral("flatten"), true}});
        m_session = attached.value(QStringLiteral("sessionId")).toString();
        Call(QStringLiteral("Runtime.enable"), {}, true);
        return !m_session.isEmpty();
    }

    void Stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = 0;
        }
        for (int* fd : {&m_read, &m_write}) {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }

    // The result of a command (of the page when onPage), or {} after the time-out.
    QJsonObject Call(const QString& method, const QJsonObject& parameters, bool onPage = false)
    {
        const int id = ++m_lastId;
        QJsonObject message{{QStringLiteral("id"), id},
                            {QStringLiteral("method"), method},
                            {QStringLiteral("params"), parameters}};
        if (onPage)
            message.insert(QStringLiteral("sessionId"), m_session);
        const QByteArray bytes = QJsonDocument(message).toJson(QJsonDocument::Compact) + '\0';
        if (::write(m_write, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
            return {};
        QDeadlineTimer deadline(kCallMs);
        while (!deadline.hasExpired()) {
            const qsizetype end = m_buffer.indexOf('\0');
            if (end >= 0) {
                const QJsonObject answer = QJsonDocument::fromJson(m_buffer.left(end)).object();
                m_buffer.remove(0, end + 1);
                if (answer.value(QStringLiteral("id")).toInt() == id)
                    return answer.value(QStringLiteral("result")).toObject();
                const QString event = answer.value(QStringLiteral("method")).toString();
                if (event == QLatin1String("Runtime.exceptionThrown") ||
                    event == QLatin1String("Runtime.consoleAPICalled"))
                    m_problems << QString::fromUtf8(
                        QJsonDocument(answer.value(QStringLiteral("params")).toObject())
                            .toJson(QJsonDocument::Compact)
                            .left(600));
                continue;
            }
            pollfd entry{m_read, POLLIN, 0};
            if (::poll(&entry, 1, static_cast<int>(deadline.remainingTime())) <= 0)
                break;
            char chunk[65536];
            const ssize_t n = ::read(m_read, chunk, sizeof chunk);
            if (n <= 0)
                break;
            m_buffer.append(chunk, n);
        }
        return {};
    }

    // The value of a script run in the page.
    QJsonValue Evaluate(const QString& expression)
    {
        const QJsonObject result = Call(QStringLiteral("Runtime.evaluate"),
                                        {{QStringLiteral("expression"), expression},
                                         {QStringLiteral("returnByValue"), true},
                                         {QStringLiteral("awaitPromise"), true}},
                                        true);
        return result.value(QStringLiteral("result")).toObject().value(QStringLiteral("value"));
    }

    // Waits until the script is true in the page.
    bool WaitFor(const QString& expression, int timeoutMs = 20000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!deadline.hasExpired()) {
            if (Evaluate(expression).toBool())
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    // What the page's scripts threw or logged.
    QString Problems() const { return m_problems.join(u'\n'); }

    void Open(const QString& url)
    {
        Call(QStringLiteral("Page.navigate"), {{QStringLiteral("url"), url}}, true);
    }

private:
    QTemporaryDir m_profile;
    pid_t m_pid = 0;
    int m_read = -1;
    int m_write = -1;
    int m_lastId = 0;
    QString m_session;
    QByteArray m_buffer;
    QStringList m_problems;
};

class BrowserPageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sim = std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--state"), dir.filePath(QStringLiteral("card")),
                        QStringLiteral("--geometry"), QStringLiteral("64,16,2")});
        ASSERT_TRUE(sim->Started()) << sim->Output().toStdString();
        project = dir.filePath(QStringLiteral("shop.ledprj"));
        WriteShopProject(project, sim->Port(), 1000);
        ASSERT_TRUE(server.Start(project)) << server.Output().toStdString();
    }

    QString PageUrl() const
    {
        return QStringLiteral("http://127.0.0.1:%1/#token=%2")
            .arg(server.Port())
            .arg(QString::fromLatin1(server.Token()));
    }

    static QString Text(const QString& id)
    {
        return QStringLiteral("((document.getElementById('%1') || {}).textContent || '')").arg(id);
    }

    QTemporaryDir dir;
    QString project;
    std::unique_ptr<SimProcess> sim;
    ServerProcess server;
};

} // namespace

TEST_F(BrowserPageTest, AShopChangesAPriceAndSendsItFromThePage)
{
    Browser browser;
    QString error;
    ASSERT_TRUE(browser.Start(QStringLiteral("en-US"), error)) << error.toStdString();
    browser.Open(PageUrl());
    ASSERT_TRUE(browser.WaitFor(QStringLiteral("!!document.getElementById('text-s1-p1-w1-z1')")))
        << browser.Evaluate(QStringLiteral("document.body.innerText")).toString().toStdString();
    // The token left the address, and stays for the session.
    EXPECT_EQ(browser.Evaluate(QStringLiteral("location.hash")).toString(), QString());
    EXPECT_FALSE(browser.Evaluate(QStringLiteral("sessionStorage.getItem('lumivant-token')"))
                     .toString()
                     .isEmpty());
    EXPECT_EQ(browser.Evaluate(QStringLiteral("document.getElementById('text-s1-p1-w1-z1').value"))
                  .toString(),
              QStringLiteral("A"));
    // The live preview of each program, in the LED look.
    EXPECT_TRUE(browser.WaitFor(
        QStringLiteral("document.getElementById('preview-1-1').naturalWidth === 64 * 8")));

    browser.Evaluate(QStringLiteral(
        "(() => { const box = document.getElementById('text-s1-p1-w1-z1');"
        " box.value = 'Bread 2.50'; document.getElementById('save-s1-p1-w1-z1').click();"
        " return true; })()"));
    ASSERT_TRUE(browser.WaitFor(Text(QStringLiteral("status-s1-p1-w1-z1")) +
                                QStringLiteral(".startsWith('Saved')")))
        << browser.Evaluate(Text(QStringLiteral("status-s1-p1-w1-z1"))).toString().toStdString()
        << browser.Problems().toStdString() << server.Output().toStdString();
    EXPECT_EQ(ZoneTextOnDisk(project, QStringLiteral("s1/p1/w1/z1")), QStringLiteral("Bread 2.50"));

    browser.Evaluate(QStringLiteral("document.getElementById('send-1').click()"));
    ASSERT_TRUE(
        browser.WaitFor(Text(QStringLiteral("job-1")) + QStringLiteral(" === 'Sent.'"), 30000))
        << browser.Evaluate(Text(QStringLiteral("job-1"))).toString().toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("card/screen.bin"))));
    // The screen's last receipt, and the history with it.
    EXPECT_TRUE(browser.WaitFor(Text(QStringLiteral("receipt-1")) +
                                QStringLiteral(".includes('Delivered')")))
        << browser.Evaluate(Text(QStringLiteral("receipt-1"))).toString().toStdString();
    EXPECT_EQ(
        browser.Evaluate(QStringLiteral("document.querySelectorAll('#history-body tr').length"))
            .toInt(),
        1);
    EXPECT_TRUE(browser
                    .Evaluate(Text(QStringLiteral("receipt-2")) +
                              QStringLiteral(".includes('Never sent.')"))
                    .toBool());
}

TEST_F(BrowserPageTest, ThePageFitsAPhoneAndSpeaksTheBrowsersLanguage)
{
    Browser browser;
    QString error;
    ASSERT_TRUE(browser.Start(QStringLiteral("zh-TW"), error)) << error.toStdString();
    // Headless chromium takes its languages from what it is told to send.
    browser.Call(QStringLiteral("Emulation.setUserAgentOverride"),
                 {{QStringLiteral("userAgent"), QStringLiteral("Mozilla/5.0 (Linux; Android 14)")},
                  {QStringLiteral("acceptLanguage"), QStringLiteral("zh-TW,zh")}},
                 true);
    browser.Call(QStringLiteral("Emulation.setDeviceMetricsOverride"),
                 {{QStringLiteral("width"), 360},
                  {QStringLiteral("height"), 740},
                  {QStringLiteral("deviceScaleFactor"), 2},
                  {QStringLiteral("mobile"), true}},
                 true);
    browser.Open(PageUrl());
    ASSERT_TRUE(browser.WaitFor(QStringLiteral("!!document.getElementById('send-2')")));
    EXPECT_EQ(browser.Evaluate(Text(QStringLiteral("send-2"))).toString(), QStringLiteral("傳送"));
    EXPECT_EQ(browser.Evaluate(QStringLiteral("document.documentElement.lang")).toString(),
              QStringLiteral("zh-TW"));
    EXPECT_TRUE(
        browser.WaitFor(QStringLiteral("document.getElementById('preview-2-1').naturalWidth > 0")));
    EXPECT_TRUE(
        browser
            .Evaluate(QStringLiteral("document.documentElement.scrollWidth <= window.innerWidth"))
            .toBool());

    // Without the token the page says how to open it.
    browser.Evaluate(QStringLiteral("sessionStorage.clear()"));
    browser.Open(QStringLiteral("http://127.0.0.1:%1/").arg(server.Port()));
    EXPECT_TRUE(
        browser.WaitFor(Text(QStringLiteral("notice")) + QStringLiteral(".includes('#token=')")));
}
