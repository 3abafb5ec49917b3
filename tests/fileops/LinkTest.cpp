#include "Panes.h"

#include "platform/LinkInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

using Links = Panes;

// The platform tells links from folders and cards. A tree holding a link to
// its own ancestor, a link to a folder elsewhere on the device and a link to
// a file elsewhere: copying it ends, the ancestor link is reported as not
// copied, the linked file inside the device copied as a file; the delete
// ends, removes the links themselves and nothing they lead to. A linked
// folder selected in the tree goes alone. The platform hides a link that
// leaves the device, so the folder holding it cannot be removed; what the
// link leads to stays untouched.
TEST_F(Links, AreToldFromFoldersAndNeitherFollowedNorLeftByCopyOrDelete)
{
    QTemporaryDir outside; // a host folder that is not on the device
    QFile(outside.filePath("precious.txt")).open(QIODevice::WriteOnly);
    // A symbolic link at device path linkPath with the host target text target.
    const auto link = [&](const QString &target, const QString &linkPath) {
        ASSERT_EQ(::symlink(QFile::encodeName(target), QFile::encodeName(device.host(linkPath))), 0);
    };
    const auto isHostLink = [&](const QString &path) { return QFileInfo(device.host(path)).isSymLink(); };
    device.make({"\\A\\f.txt", "\\L\\A\\f.txt", "\\Other\\o.txt", "\\B\\", "\\T\\"});
    link("../Other", "\\A\\dir");
    link("f.txt", "\\A\\file");
    link(outside.path(), "\\A\\away");
    link(outside.path(), "\\Storage Card"); // a card is a folder of the device
    link("../..", "\\L\\A\\up");
    link("../../Other/o.txt", "\\L\\A\\o.lnk");
    start();
    for (const auto &[path, isLink] : {std::pair{u"\\A\\dir", true}, {u"\\A\\file", true}, {u"\\A\\away", true},
                                       {u"\\A\\f.txt", false}, {u"\\A", false}, {u"\\Storage Card", false},
                                       {u"\\A\\missing", false}})
        EXPECT_EQ(IsSymbolicLink(path) != FALSE, isLink) << QString::fromUtf16(path).toStdString();
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(DeleteSymbolicLink(u"\\A\\f.txt"));
    EXPECT_TRUE(exists("\\A\\f.txt"));

    sink.expect("Failed to copy \\L\\A\\up\nContinue Copy?", "Error", MB_YESNO, IDYES);
    ops().CopyFolderTree("\\L\\", "\\T\\");
    EXPECT_TRUE(CFileOperations::copySkippedAny());
    EXPECT_EQ(device.readFile("\\T\\L\\A\\f.txt") + '|' + device.readFile("\\T\\L\\A\\o.lnk"), "x|x");
    EXPECT_FALSE(isHostLink("\\T\\L\\A\\o.lnk"));
    EXPECT_FALSE(QFileInfo::exists(device.host("\\T\\L\\A\\up")));
    EXPECT_EQ(CFileOperations::copyDepth(), 0);

    link("../Other", "\\L\\other");
    link("../Other", "\\B\\Shortcut");
    for (const QString folder : {"\\L", "\\B\\Shortcut"}) {
        open(folder + "\\");
        sink.expect("Delete '" + folder + "' and everything in it?", App, Question, IDYES);
        ops().DeleteFolder();
        EXPECT_FALSE(QFileInfo::exists(device.host(folder)));
        EXPECT_FALSE(isHostLink(folder));
        EXPECT_EQ(device.readFile("\\Other\\o.txt"), "x");
    }

    sink.expect("Failed to delete:\r\n\\A", App, Exclamation, IDOK);
    EXPECT_FALSE(ops().DeleteTree("\\A\\"));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("precious.txt")));
    EXPECT_FALSE(exists("\\A\\f.txt"));
    EXPECT_TRUE(isHostLink("\\A\\away"));
    EXPECT_EQ(device.readFile("\\Other\\o.txt"), "x");
}

} // namespace
