// The worker's search: which files it reports, in what order, what their contents must hold, how soon it stops.
#include "TempDevice.h"

#include "platform/CodePage.h"
#include "tools/FileSearch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

QStringList find(const QString &folder, const QString &pattern, const QString &containing)
{
    QStringList hits;
    FileSearch(pattern, containing, [] { return false; }, [&](const QString &hit) { hits << hit; }).SearchFolder(folder);
    return hits;
}

// The scan the device program made: chunks of min(length, 1024) bytes, each read starting the text's
// length before the end of the last, and in each a search for the first byte where the whole text still fits.
bool chunkScan(const QByteArray &file, const QByteArray &text)
{
    const qsizetype m = text.size(), chunkSize = std::min<qsizetype>(file.size(), 1024);
    for (qsizetype start = 0;;) {
        const QByteArray chunk = file.mid(start, chunkSize);
        for (qsizetype at = 0; at <= chunk.size() - m; ++at) {
            if (chunk[at] == text[0] && chunk.mid(at, m) == text)
                return true;
        }
        if (start + chunk.size() >= file.size())
            return false;
        start += chunk.size() - m;
    }
}

TEST(FileSearch, PatternsContentsHistoryFoldersOrderTheChunkScanAndStop)
{
    TempDevice device;
    QByteArray straddling(2000, 'x');
    straddling.replace(1020, 6, "needle");
    const QString longText = QString(2000, 't') + "end";
    const QByteArray longFile = QByteArray(600, 'a') + longText.toLatin1() + QByteArray(500, 'b');
    const struct { const char *path; QByteArray content; } files[] = {
        {"\\s\\straddle.bin", straddling}, {"\\s\\short.txt", "needl"}, {"\\s\\empty.txt", ""}, {"\\s\\upper.txt", "NEEDLE"},
        {"\\s\\History\\h.txt", "needle"}, {"\\s\\a\\History\\b\\deep.txt", "needle"}, {"\\s\\History2\\kept.txt", "needle"},
        {"\\s\\café.txt", "un caf\xe9 needle"}, {"\\s\\utf16.txt", QByteArray("n\0e\0e\0d\0l\0e\0", 12)},
        {"\\s\\long.txt", longFile}, {"\\s\\longminus.txt", longFile.left(600 + 2002)},
    };
    for (const auto &file : files)
        device.writeFile(file.path, file.content);
    auto sorted = [](QStringList list) { list.sort(); return list; };
    EXPECT_EQ(sorted(find("\\s\\", "*.*", "needle")),
              QStringList({"\\s\\History2\\kept.txt", "\\s\\café.txt", "\\s\\straddle.bin"}));
    EXPECT_EQ(find("\\s", "*.*", "café "), QStringList("\\s\\café.txt"));
    EXPECT_EQ(find("\\s\\", "*.*", longText), QStringList("\\s\\long.txt")) << "a text over 1024 characters";
    EXPECT_EQ(find("\\s\\", "e*.TXT", ""), QStringList("\\s\\empty.txt")) << "an empty text matches any file";
    EXPECT_EQ(find("\\s\\", "*.*", "").size(), 9) << "History folders hide their files only";
    EXPECT_TRUE(find("\\missing\\", "*.*", "").isEmpty());
    // Depth first, from the root for an empty folder, following links inside the device only.
    device.make({"\\d\\a\\b\\3.txt", "\\d\\a\\2.txt", "\\d\\1.txt", "\\d\\a\\c\\", "\\e\\"});
    EXPECT_EQ(find("\\d", "?.txt", ""), QStringList({"\\d\\1.txt", "\\d\\a\\2.txt", "\\d\\a\\b\\3.txt"}));
    EXPECT_TRUE(find("", "?.txt", "").contains("\\d\\a\\b\\3.txt"));
    QTemporaryDir outside;
    QFile(outside.filePath("4.txt")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(QFile::link(device.host("\\d\\a\\b"), device.host("\\e\\in")));
    ASSERT_TRUE(QFile::link(outside.path(), device.host("\\e\\out")));
    EXPECT_EQ(find("\\e", "*.*", ""), QStringList("\\e\\in\\3.txt"));
    // Any text in any file, read in blocks of any size, matches exactly when the device program's chunk
    // scan does (a text of 1024 bytes or more, which that scan cannot take, when the file holds it).
    std::mt19937 random(7);
    auto number = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    for (int round = 0; round < 400; ++round) {
        QByteArray file(number(0, 3000), Qt::Uninitialized);
        for (char &byte : file)
            byte = "ab\x80\xff"[number(0, 9) ? number(0, 1) : number(2, 3)];
        const int length = number(0, 5) ? number(1, 12) : number(1000, 1100);
        QByteArray text = file.mid(number(0, int(file.size())), length);
        if (text.isEmpty() || number(0, 2) == 0)
            text = QByteArray(length, 'a');
        device.writeFile("\\f.bin", file);
        FileSearch search("*.*", CodePage::fromAnsi(text), [] { return false; }, {}, std::size_t(number(1, 64)));
        const bool expected = text.size() < 1024 ? chunkScan(file, text) : file.contains(text);
        ASSERT_EQ(search.ContentMatches("\\", "f.bin"), expected) << round << " length " << text.size();
    }
    device.writeFile("\\big.bin", QByteArray(10 * 64, 'x') + "needle");
    int polls = 0;
    FileSearch search("*.*", "needle", [&] { return ++polls > 3; }, {}, 64);
    EXPECT_FALSE(search.ContentMatches("\\", "big.bin"));
    EXPECT_EQ(polls, 4) << "polled before each block, ended at the first stop";
    polls = -100;
    EXPECT_TRUE(search.ContentMatches("\\", "big.bin"));
}

} // namespace
