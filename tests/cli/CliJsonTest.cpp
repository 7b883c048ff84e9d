// --json: one JSON object per operation on standard output, then a summary
// object; paths that are not UTF-8 travel as base64 and come back exactly.
#include "tests/cli/CliProcess.h"
#include "tests/support/TempDir.h"

#include <QByteArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>

namespace quarvel::test {
namespace {

constexpr char kPrompt[] = "[y]es, yes to [a]ll, [n]o, [c]ancel all? ";

// A path as a record carries it: {"text": ...} or {"bytes": base64}.
std::string pathOf(const QJsonValue& value)
{
    const QJsonObject object = value.toObject();
    if (object.contains(QStringLiteral("bytes")))
        return QByteArray::fromBase64(object.value(QStringLiteral("bytes")).toString().toLatin1())
            .toStdString();
    return object.value(QStringLiteral("text")).toString().toStdString();
}

// Answers each question as it comes: no for the file named Refuse (under
// either name), yes otherwise.
CliResult runAnswering(const std::vector<std::string>& args)
{
    CliProcess cli(args);
    std::size_t answered = 0;
    for (;;) {
        const bool asked = cli.readUntil(
            [&](const std::string&, const std::string& err) {
                std::size_t prompts = 0;
                for (auto at = err.find(kPrompt); at != std::string::npos;
                     at = err.find(kPrompt, at + 1))
                    ++prompts;
                return prompts > answered;
            },
            std::chrono::seconds(5));
        if (!asked)
            break;
        const std::string& err = cli.errSoFar();
        const std::size_t last = err.rfind(kPrompt);
        // The question's first line is its action; the file follows.
        const std::size_t start = err.rfind('?', last == 0 ? 0 : last - 1);
        const std::size_t from = start == std::string::npos ? 0 : start;
        const bool refuse = err.find("efuse", from) < last; // Refuse.TXT or refuse.txt
        cli.write(refuse ? "n\n" : "y\n");
        ++answered;
    }
    return cli.finish();
}

TEST(CliJson, EveryOperationIsOneParsableObjectAndPathsRoundTrip)
{
    TempDir dir;
    const std::string badName = "bad\xFF.TXT";
    dir.write("src/" + badName, "1");
    dir.write("src/C.txt", "2");
    dir.write("src/c.txt", "taken");
    dir.write("src/sub/Refuse.TXT", "3");
    dir.makeDir("out");
    ASSERT_EQ(::mkfifo((dir / "src/PIPE").c_str(), 0644), 0);
    const CliResult result =
        runAnswering({"--json", "--names", "--lower-file", "--in-place", "--copy-to", dir / "out",
                      "--recurse", "--interactive", dir / "src"});
    EXPECT_EQ(result.status, 1); // the rename of C.txt fails

    std::vector<QJsonObject> records;
    for (const std::string& line : result.outLines()) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << line;
        ASSERT_TRUE(doc.isObject()) << line;
        records.push_back(doc.object());
    }
    ASSERT_FALSE(records.empty());
    const QJsonObject summary = records.back();
    records.pop_back();
    EXPECT_EQ(summary.value(QStringLiteral("type")).toString(), QStringLiteral("summary"));
    EXPECT_EQ(summary.value(QStringLiteral("files_processed")).toInt(), 5);
    EXPECT_EQ(summary.value(QStringLiteral("failures")).toInt(), 1);
    EXPECT_FALSE(summary.value(QStringLiteral("interrupted")).toBool());

    // kind + status + source → the record, for the ones this tree must give.
    std::map<std::string, QJsonObject> byKey;
    for (const QJsonObject& r : records) {
        EXPECT_EQ(r.value(QStringLiteral("type")).toString(), QStringLiteral("operation"));
        std::string source = pathOf(r.value(QStringLiteral("source")));
        if (!source.empty())
            source = source.substr(dir.path().size());
        const std::string key = r.value(QStringLiteral("kind")).toString().toStdString() + " " +
                                r.value(QStringLiteral("status")).toString().toStdString() + " " +
                                source;
        byKey[key] = r;
    }
    const std::string renamedBad = "rename done src/" + badName;
    ASSERT_TRUE(byKey.count(renamedBad)) << "no rename of the non-UTF-8 name";
    EXPECT_EQ(pathOf(byKey[renamedBad].value(QStringLiteral("target"))), dir / "src/bad\xFF.txt");
    EXPECT_TRUE(byKey[renamedBad]
                    .value(QStringLiteral("source"))
                    .toObject()
                    .contains(QStringLiteral("bytes")));
    EXPECT_TRUE(dir.exists("out/bad\xFF.txt"));

    ASSERT_TRUE(byKey.count("rename failed src/C.txt"));
    const QJsonObject failed = byKey["rename failed src/C.txt"];
    EXPECT_EQ(failed.value(QStringLiteral("errno")).toInt(), EEXIST);
    EXPECT_EQ(failed.value(QStringLiteral("reason")).toString(), QStringLiteral("File exists"));
    EXPECT_TRUE(byKey.count("rename refused src/sub/Refuse.TXT"));
    EXPECT_TRUE(byKey.count("copy refused src/sub/Refuse.TXT"));
    EXPECT_TRUE(byKey.count("skip_special done src/pipe"));
    EXPECT_TRUE(byKey.count("create_folder done "));
    EXPECT_EQ(records.size(), byKey.size()) << "every record is a different operation";
}

} // namespace
} // namespace quarvel::test
