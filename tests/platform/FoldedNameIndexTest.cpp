#include "PlatformTestUtil.h"
#include "TempDevice.h"
#include "platform/DevicePath.h"
#include "platform/FoldedNameIndex.h"
#include "platform/UniqueFd.h"

#include <QProcess>
#include <fcntl.h>

namespace {

// The spelling FindFirstFileW reports for path; "" when a folder can be made there (and is removed).
QString spelling(const QString &path)
{
    WIN32_FIND_DATAW data;
    if (findOne(path, data))
        return fromWide(data.cFileName);
    return CreateDirectoryW(wide(path), nullptr) && RemoveDirectoryW(wide(path)) ? QString() : "(not free)";
}

// Runs command by sh in folder, as another process changing it.
bool shell(const QString &folder, const QString &command)
{
    return QProcess::execute("sh", {"-c", "cd \"$0\" && " + command, folder}) == 0;
}

} // namespace

// Changes by the program and by another process, each followed by lookups of names in other
// spellings ("" for missing), in a folder big enough for the index and for reading facts ahead.
TEST(FoldedNameIndex, BigFolderKeepsCaseRulesThroughChanges)
{
    TempDevice t;
    const QString host = t.host("\\big");
    ASSERT_TRUE(QDir().mkpath(host));
    const int count = int(FoldedNameIndex::MinEntries) + 100;
    ASSERT_TRUE(shell(host, QString("seq -f 'f%g.txt' 1 %1 | xargs touch").arg(count)));
    const UniqueFd dir(::open(QFile::encodeName(host).constData(), O_RDONLY | O_DIRECTORY));
    EXPECT_EQ(GetFileAttributesW(u"\\big\\missing"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(FoldedNameIndex::indexed(dir.get()));
    // Held open, the folder knows it is indexed once a name missed there.
    const DevicePath folder = DevicePath::resolve("\\big\\*", DevicePath::Wildcards::AllowInLast);
    EXPECT_FALSE(folder.entry("missing").exists());
    const struct { std::function<bool()> change; QList<std::pair<QString, QString>> lookups; } steps[] = {
        {[] { return CreateDirectoryW(u"\\big\\NewOne", nullptr); }, {{"\\BIG\\newone", "NewOne"}}},
        {[] { return MoveFileW(u"\\big\\newONE", u"\\big\\Renamed"); },
         {{"\\big\\NEWONE", ""}, {"\\big\\renamed", "Renamed"}}},
        {[] { return RemoveDirectoryW(u"\\big\\RENAMED"); }, {{"\\big\\renamed", ""}}},
        {[] { return CopyFileW(u"\\big\\F7.TXT", u"\\big\\Copied.txt", TRUE); }, {{"\\big\\COPIED.TXT", "Copied.txt"}}},
        {[] { return DeleteFileW(u"\\big\\copied.TXT"); }, {{"\\big\\Copied.txt", ""}}},
        // U+212A KELVIN SIGN folds to a plain k.
        {[&] { return shell(host, "touch Outside.txt Dup DUP \"$(printf '\\342\\204\\252elvin')\""); },
         {{"\\big\\OUTSIDE.txt", "Outside.txt"}, {"\\big\\dup", "*"}, {"\\big\\DUP", "DUP"}, {"\\big\\Dup", "Dup"},
          {"\\big\\KELVIN", QString::fromUtf16(u"\u212Aelvin")}}},
        {[&] { return shell(host, "mv Outside.txt Moved.txt && rm Dup"); },
         {{"\\big\\outside.txt", ""}, {"\\big\\moved.TXT", "Moved.txt"}, {"\\big\\dup", "DUP"}}},
        {[&] { return shell(host, "rm Moved.txt f9.txt && mkdir Later"); },
         {{"\\big\\MOVED.txt", ""}, {"\\big\\F9.TXT", ""}, {"\\big\\later", "Later"}}},
        // More changes than one read of the queue takes.
        {[&] { return shell(host, "seq -f '" + QString(240, 'm') + "%g' 1 600 | xargs touch"); },
         {{"\\big\\" + QString(240, 'M') + "600", QString(240, 'm') + "600"}}},
    };
    for (const auto &step : steps) {
        ASSERT_TRUE(step.change());
        for (const auto &[path, wanted] : step.lookups) {
            const DevicePath held = folder.entry(path.section('\\', -1));
            const QString heldSpelling = held.exists() ? QFile::decodeName(held.name()) : QString();
            const QString found = spelling(path);
            EXPECT_TRUE(wanted == "*" ? found.startsWith("D") : found == wanted) << qPrintable(path + " " + found);
            EXPECT_EQ(heldSpelling, found) << qPrintable(path);
        }
        EXPECT_TRUE(FoldedNameIndex::indexed(dir.get()));
    }
    QHash<QString, DWORD> attributes;
    EXPECT_EQ(findNames("\\big\\*", nullptr, &attributes).size(), count + 602); // f9 gone; DUP, the Kelvin file, Later, m*
    EXPECT_EQ(attributes.value("Later"), DWORD(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_FALSE(attributes.value(QString("f%1.txt").arg(count)) & FILE_ATTRIBUTE_DIRECTORY);
    // A name existing in another spelling is refused as before.
    expectRefused({REFUSES(CreateDirectoryW(u"\\big\\LATER", nullptr), ERROR_ALREADY_EXISTS),
                   REFUSES(CopyFileW(u"\\big\\f1.txt", u"\\big\\F2.TXT", TRUE), ERROR_FILE_EXISTS),
                   REFUSES(MoveFileW(u"\\big\\f1.txt", u"\\big\\dup"), ERROR_ALREADY_EXISTS)});
}
