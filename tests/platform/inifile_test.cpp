// The profile file against Qt's own QSettings, which wrote it before and may read it.
#include "platform/codepage.h"
#include "platform/profile.h"

#include <QSettings>
#include <QString>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <variant>

namespace tarvelo {
namespace {

std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

QString wide(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The key under which the profile kept a value when it was backed by QSettings.
QString settingsKey(const std::string& key, const std::string& name)
{
    const auto escape = [](std::string_view part) {
        QString out = wide(part);
        out.replace(u'%', QStringLiteral("%25")).replace(u'/', QStringLiteral("%2F")).replace(u'\\', QStringLiteral("%5C"));
        return out.isEmpty() ? QStringLiteral("%00") : out;
    };
    QString path;
    std::size_t start = 0;
    while (start < key.size()) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        if (end > start)
            path += escape(std::string_view(key).substr(start, end - start)) + u'/';
        start = end + 1;
    }
    return path + escape(name);
}

struct Entry {
    std::string key;
    std::string name;
    std::variant<std::int32_t, std::string> value;
};

std::vector<Entry> trickyTree()
{
    std::vector<Entry> entries = {
        {"", "RootValue", 5},
        {"GeneralOptions", "NumberDownloads", 7},
        {"General", "x", "section named General"},
        {"Other\\general", "y", "a key named general"},
        {"[General]", "z", 1},
        {"Server Version", "Version number", 20},
        {"Deep\\a\\b\\c", "leaf", INT32_MIN},
        {"Deep\\a b", "v", INT32_MAX},
        {"Deep\\a~", "v", -1},
        {"Deep\\a", "v", 0},
        {"Deep\\a", "b", "value beside a key of the same name"},
    };
    const std::vector<std::string> keys = {
        "a/b", "50% off", "quote \"x\" (y)", "  spaced  ", "M\xC4RZ \x80 \x9F\xFF \xB5", "semi;colon=eq", "%2F",
        "#hash", "tab\there", "back\\\\slash",
    };
    const std::vector<std::string> names = {"URL", "odd/value name%", "", "back\\slash", "\xDC" "n\xEF" "c\xF6" "d\xE9 \x80"};
    const std::vector<std::string> texts = {
        "http://x/?a=1&b=[&symbol]", "", "  spaces at both ends  ", "semi;colon", "comma,list", "eq=ual",
        "quote \"q\"", "back\\slash\\", "@at start", "@@double", "@Invalid()", "@ByteArray(x)",
        std::string("ctrl\x01\x02" "f\x7F\ttab\nline\rret", 19), std::string("nul\0" "9after", 10),
        "high \xE4\xF6\xFC\x80\x9F\xA0\xFF", std::string(5000, 'L') + "\xE9", "0042", " ", "'single' ?",
    };
    for (std::size_t k = 0; k < keys.size(); ++k) {
        for (std::size_t n = 0; n < names.size(); ++n)
            entries.push_back({"Server\\" + keys[k], names[n], texts[(k * names.size() + n) % texts.size()]});
    }
    for (std::size_t t = 0; t < texts.size(); ++t)
        entries.push_back({"Texts", "t" + std::to_string(t), texts[t]});
    for (int i = 0; i < 60; ++i)
        entries.push_back({"Many\\Key " + std::to_string(i * 7919 % 60), "Timeout", i});
    // Written above in Windows-1252 for short: every character of that code page, as the
    // UTF-8 that the profile takes.
    for (Entry& entry : entries) {
        entry.key = cp1252ToUtf8(entry.key);
        entry.name = cp1252ToUtf8(entry.name);
        if (auto* text = std::get_if<std::string>(&entry.value))
            *text = cp1252ToUtf8(*text);
    }
    return entries;
}

QVariant expected(const Entry& entry)
{
    if (const auto* number = std::get_if<std::int32_t>(&entry.value))
        return QVariant(static_cast<int>(*number));
    return QVariant(wide(std::get<std::string>(entry.value)));
}

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Profile profile;
        for (const std::string& key : profile.subKeys(""))
            profile.deleteKey(key);
        for (const std::string& name : profile.valueNames(""))
            profile.deleteValue("", name);
        m_folder = std::filesystem::path(Profile::filePath()).parent_path().parent_path().string();
    }

    // A file of its own for each QSettings object, whose cache knows files by name.
    std::string freshPath(const std::string& stem) { return m_folder + "/" + stem + std::to_string(m_count++) + ".conf"; }

    std::string m_folder;
    int m_count = 0;
};

TEST_F(IniFileTest, WritesTheBytesOfQSettingsAndEachReadsTheOthersFile)
{
    const std::vector<Entry> entries = trickyTree();
    {
        Profile profile;
        for (const Entry& e : entries) {
            if (const auto* number = std::get_if<std::int32_t>(&e.value))
                profile.writeInt(e.key, e.name, *number);
            else
                profile.writeText(e.key, e.name, std::get<std::string>(e.value));
        }
        profile.writeText("Paths", "File", "/home/j\xC3\xBCrgen/\xF0\x9F\x93\x88.tvo");
        ASSERT_TRUE(profile.sync());
    }
    const std::string ours = readBytes(Profile::filePath());
    const std::string qtPath = freshPath("qt");
    {
        QSettings settings(QString::fromStdString(qtPath), QSettings::IniFormat);
        for (const Entry& e : entries)
            settings.setValue(settingsKey(e.key, e.name), expected(e));
        settings.setValue(settingsKey("Paths", "File"), QString::fromUtf8("/home/j\xC3\xBCrgen/\xF0\x9F\x93\x88.tvo"));
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    EXPECT_EQ(ours, readBytes(qtPath));

    // QSettings reads every value of ours.
    const std::string copy = freshPath("ours");
    writeBytes(copy, ours);
    QSettings settings(QString::fromStdString(copy), QSettings::IniFormat);
    for (const Entry& e : entries)
        EXPECT_EQ(settings.value(settingsKey(e.key, e.name)).toString(), expected(e).toString()) << e.key << "|" << e.name;

    // And we read every value of QSettings' file.
    writeBytes(Profile::filePath(), readBytes(qtPath) + "\n");
    Profile profile;
    for (const Entry& e : entries) {
        if (const auto* number = std::get_if<std::int32_t>(&e.value))
            EXPECT_EQ(profile.readInt(e.key, e.name), std::optional<std::int32_t>(*number)) << e.key << "|" << e.name;
        else
            EXPECT_EQ(profile.readText(e.key, e.name), std::optional<std::string>(std::get<std::string>(e.value)))
                << e.key << "|" << e.name;
    }
    EXPECT_EQ(profile.readText("Paths", "File"), "/home/j\xC3\xBCrgen/\xF0\x9F\x93\x88.tvo");
    EXPECT_EQ(profile.subKeys("Server").size(), 10u);
}

// Files edited by hand or written by other programs: comments, blanks, other escapes,
// sections that are paths, values of other kinds.
TEST_F(IniFileTest, ReadsOtherSpellingsOfTheFormatAndKeepsWhatItDoesNotChange)
{
    const std::string original =
        "\xEF\xBB\xBF; a comment\r\n"
        "[General]\r\n"
        "Top = plain value   \r\n"
        "[Server]\r\n"
        "Yahoo%20Finance\\URL=\"http://q/?a=1;b=2\" ; trailing comment\r\n"
        "Yahoo%20Finance\\Timeout=  0042  \r\n"
        "%41bc\\URL=\\x41\\102C\r\n"
        "J\xC3\xBCrgen\\URL=\"two \\\n lines\"\r\n"
        "line without equals\r\n"
        "[Server\\Nested%20Key]\r\n"
        "Value=@ByteArray(bytes)\r\n"
        "Number=@Variant(\\0\\0\\0\\x2\\0\\0\\0*)\r\n"
        "Text=@Variant(\\0\\0\\0\\n\\0\\0\\0\\x4\\0h\\0i)\r\n"
        "Nul=@String(a\\0\\x62)\r\n"
        "None=@Invalid()\r\n"
        "List=a, b\r\n"
        "At=@@at\r\n"
        "Dup=first\r\n"
        "Dup=second\r\n"
        "[%General]\r\n"
        "x=general section\r\n";
    const std::string path = freshPath("edited");
    writeBytes(path, original);
    writeBytes(Profile::filePath(), original);
    {
        Profile profile;
        EXPECT_EQ(profile.getText("", "top", ""), "plain value");
        EXPECT_EQ(profile.getText("Server\\yahoo finance", "URL", ""), "http://q/?a=1;b=2");
        EXPECT_EQ(profile.getInt("Server\\Yahoo Finance", "Timeout", 0), 42);
        EXPECT_EQ(profile.getText("Server\\abc", "URL", ""), "ABC");
        EXPECT_EQ(profile.getText("Server\\J\xC3\xBCrgen", "URL", ""), "two  lines");
        const std::string nested = "Server\\Nested Key";
        EXPECT_EQ(profile.getText(nested, "Value", ""), "bytes");
        EXPECT_EQ(profile.getInt(nested, "Number", 0), 42);
        EXPECT_EQ(profile.getText(nested, "Text", ""), "hi");
        EXPECT_EQ(profile.readText(nested, "Nul"), std::optional<std::string>(std::string("a\0b", 3)));
        EXPECT_FALSE(profile.readText(nested, "None").has_value());
        EXPECT_FALSE(profile.readText(nested, "List").has_value());
        EXPECT_EQ(profile.getText(nested, "At", ""), "@at");
        EXPECT_EQ(profile.getText(nested, "Dup", ""), "second");
        EXPECT_EQ(profile.getText("General", "x", ""), "general section");
        EXPECT_EQ(profile.subKeys("Server"), (std::vector<std::string>{"Abc", "J\xC3\xBCrgen", "Nested Key", "Yahoo Finance"}));
        profile.writeInt("Added", "Value", 1);
    }
    // Rewritten by us, the file means to QSettings what it meant before, plus our value.
    const std::string copy = freshPath("rewritten");
    writeBytes(copy, readBytes(Profile::filePath()));
    QSettings before(QString::fromStdString(path), QSettings::IniFormat);
    QSettings after(QString::fromStdString(copy), QSettings::IniFormat);
    QStringList keys = before.allKeys();
    keys.append(QStringLiteral("Added/Value"));
    keys.sort();
    QStringList rewrittenKeys = after.allKeys();
    rewrittenKeys.sort();
    EXPECT_EQ(rewrittenKeys, keys);
    for (const QString& key : before.allKeys())
        EXPECT_EQ(after.value(key), before.value(key)) << key.toStdString();
}

// Another program changed the file after this object read it: the merge keeps its
// changes and removes only what this object saw.
TEST_F(IniFileTest, ChangesMergeIntoAFileChangedMeanwhile)
{
    {
        Profile profile;
        profile.writeText("Server\\A", "URL", "a");
        profile.writeText("Server\\B", "URL", "b");
    }
    Profile profile;
    {
        QSettings other(QString::fromStdString(Profile::filePath()), QSettings::IniFormat);
        other.setValue(QStringLiteral("Server/C/URL"), QStringLiteral("c"));
        other.setValue(QStringLiteral("Server/A/Extra"), QStringLiteral("x"));
        other.setValue(QStringLiteral("Server/B/URL"), QStringLiteral("b2"));
    }
    EXPECT_FALSE(profile.keyExists("Server\\C"));
    profile.deleteKey("Server\\a");
    profile.writeText("Server\\D", "URL", "d");
    ASSERT_TRUE(profile.sync());
    EXPECT_EQ(profile.subKeys("Server"), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(profile.valueNames("Server\\A"), std::vector<std::string>{"Extra"});
    EXPECT_EQ(profile.getText("Server\\B", "URL", ""), "b2");
    Profile fresh;
    EXPECT_EQ(fresh.getText("Server\\C", "URL", ""), "c");
    EXPECT_EQ(fresh.getText("Server\\D", "URL", ""), "d");
    EXPECT_FALSE(fresh.readText("Server\\A", "URL").has_value());
}

} // namespace
} // namespace tarvelo
