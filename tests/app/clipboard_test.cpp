// Items copied in one running desktop program and pasted in another, through the X11
// clipboard of a private X server, driven by keys as a user would type them.
#include "model/archive.h"
#include "model/portfoliodocument.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QThread>

#include <filesystem>
#include <map>
#include <memory>
#include <optional>

namespace fs = std::filesystem;

namespace tarvelo {
namespace {

// Ends a process it holds, however the test ends.
struct Running {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    ~Running() { stop(); }
    void stop()
    {
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
};

class ClipboardBetweenProgramsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        m_folder = fs::temp_directory_path() / ("clipboard-test-" + std::to_string(::getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        fs::create_directories(m_folder / "runtime");
        fs::permissions(m_folder / "runtime", fs::perms::owner_all);

        // The server picks a free display itself and says which.
        QProcess& server = *m_server.process;
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                      QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        const QDeadlineTimer deadline(20000);
        while (!number.endsWith('\n') && !deadline.hasExpired() && server.state() != QProcess::NotRunning) {
            server.waitForReadyRead(200);
            number += server.readAllStandardOutput();
        }
        ASSERT_TRUE(number.endsWith('\n')) << "Xvfb did not start: " << server.readAllStandardError().toStdString();
        m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    }
    void TearDown() override
    {
        m_second.stop();
        m_first.stop();
        m_server.process->terminate();
        m_server.process->waitForFinished(5000);
        m_server.stop();
        if (!m_folder.empty())
            fs::remove_all(m_folder);
    }

    std::string portfolio(const char* file, const std::map<std::string, int>& items)
    {
        PortfolioDocument doc;
        for (const auto& [name, quotations] : items) {
            ItemSettings settings;
            settings.name = name;
            settings.symbol = name.substr(0, 3);
            settings.memo = "memo of " + name;
            settings.quantity = quotations * 10.0;
            const ItemKey item = doc.addItem(settings);
            for (int i = 0; i < quotations; ++i)
                doc.insertQuotation(item, 10.0 + i, 1700000000 + 86400 * i);
        }
        const std::string path = (m_folder / file).string();
        EXPECT_TRUE(doc.saveFile(path).ok());
        return path;
    }

    QProcessEnvironment environment() const
    {
        // The test program's private settings and temporary folders go along.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("DISPLAY"), m_display);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((m_folder / "runtime").string()));
        return env;
    }

    // Runs xdotool on the private display; its output, or nothing when it failed or
    // did not end in time.
    std::optional<QString> xdotool(const QStringList& args, int timeoutMs = 20000) const
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(QStringLiteral("xdotool"), args);
        if (!tool.waitForFinished(timeoutMs)) {
            tool.kill();
            tool.waitForFinished();
            return std::nullopt;
        }
        if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
            return std::nullopt;
        return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
    }

    // Starts the desktop program on a portfolio; its main window's id once it shows.
    QString start(Running& program, const std::string& path)
    {
        program.process->setProcessEnvironment(environment());
        program.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.process->start(QStringLiteral(TARVELO_GUI_PROGRAM), {QString::fromStdString(path)});
        if (!program.process->waitForStarted(10000))
            return {};
        const QString title = QString::fromStdString(fs::path(path).filename().string());
        const std::optional<QString> found =
            xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--pid"), QString::number(program.process->processId()), QStringLiteral("--name"),
                     regexEscaped(title)});
        return found ? found->section(QLatin1Char('\n'), 0, 0) : QString();
    }
    // xdotool takes the window name as a regular expression.
    static QString regexEscaped(const QString& text)
    {
        QString escaped;
        for (const QChar c : text)
            escaped += c.isLetterOrNumber() ? QString(c) : QStringLiteral("\\") + c;
        return escaped;
    }

    // Gives the window the keyboard and types the keys (X test events, as from a keyboard).
    bool type(const QString& window, const QStringList& keys) const
    {
        if (!xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}))
            return false;
        for (const QString& key : keys) {
            if (!xdotool({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key}))
                return false;
            QThread::msleep(300); // the program handles the key before the next one
        }
        return true;
    }

    // The portfolio's items once a save has given it this many; the names in file order.
    static std::vector<std::unique_ptr<SecurityItem>> savedItems(const std::string& path, std::size_t count)
    {
        const QDeadlineTimer deadline(20000);
        for (;;) {
            LoadResult loaded = loadPortfolioFile(path);
            if (loaded.ok() && (loaded->items.size() == count || deadline.hasExpired()))
                return std::move(loaded->items);
            if (deadline.hasExpired())
                return {};
            QThread::msleep(100);
        }
    }

    Running m_server;
    Running m_first;
    Running m_second;
    QString m_display;
    fs::path m_folder;
};

std::vector<std::string> names(const std::vector<std::unique_ptr<SecurityItem>>& items)
{
    std::vector<std::string> result;
    for (const auto& item : items)
        result.push_back(item->settings().name);
    return result;
}

TEST_F(ClipboardBetweenProgramsTest, ItemsCopiedInOneProgramPasteIntoAnotherAndIntoItself)
{
    const std::string source = portfolio("Source.qvx", {{"Alpha", 3}, {"Beta", 2}, {"Gamma", 0}});
    const std::string target = portfolio("Target.qvx", {{"ALPHA", 1}, {"Beta", 1}, {"Copy of beta", 1}});
    const QString first = start(m_first, source);
    ASSERT_FALSE(first.isEmpty()) << "the first program's window did not show";
    const QString second = start(m_second, target);
    ASSERT_FALSE(second.isEmpty()) << "the second program's window did not show";

    // Mark all and copy in the first; the first keeps running, since it holds the clipboard.
    ASSERT_TRUE(type(first, {QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c")}));
    ASSERT_TRUE(type(second, {QStringLiteral("ctrl+v"), QStringLiteral("ctrl+s")}));
    const auto pasted = savedItems(target, 6);
    ASSERT_EQ(names(pasted), (std::vector<std::string>{"ALPHA", "Beta", "Copy of beta", "Copy of Alpha",
                                                       "Copy of Beta (1)", "Gamma"}));
    const LoadResult original = loadPortfolioFile(source);
    ASSERT_TRUE(original.ok());
    for (std::size_t i = 0; i < 3; ++i) {
        const SecurityItem& copied = *original->items[i];
        const SecurityItem& arrived = *pasted[3 + i];
        EXPECT_EQ(arrived.settings().symbol, copied.settings().symbol);
        EXPECT_EQ(arrived.settings().memo, copied.settings().memo);
        EXPECT_EQ(arrived.settings().quantity, copied.settings().quantity);
        EXPECT_EQ(arrived.history(), copied.history()) << copied.settings().name;
    }

    // The same items pasted where they came from are all renamed.
    ASSERT_TRUE(type(first, {QStringLiteral("ctrl+v"), QStringLiteral("ctrl+s")}));
    EXPECT_EQ(names(savedItems(source, 6)),
              (std::vector<std::string>{"Alpha", "Beta", "Gamma", "Copy of Alpha", "Copy of Beta", "Copy of Gamma"}));
}

} // namespace
} // namespace tarvelo
