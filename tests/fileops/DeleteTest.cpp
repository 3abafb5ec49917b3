#include "Panes.h"

#include <QDir>
#include <sys/stat.h>

namespace {

// Folders: the root is never deleted, nor asked about; the answer to the
// question decides, Yes deletes read-only files too; a file that cannot go
// stops the delete. Files: No deletes nothing; Yes deletes read-only files too
// and refreshes the list; with nothing selected nothing is asked (the
// clipboard test sees the delete forget the clipboard). A failure among
// several asks whether to go on; the only file failing is just reported.
TEST_F(Panes, DeleteAsksFirstAndReportsFailures)
{
    device.make({"\\My Documents\\A\\B\\deep.txt", "\\My Documents\\A\\ro.txt", "\\My Documents\\keep.txt",
                 "\\R\\rom.txt", "\\A\\a.txt", "\\A\\b.txt", "\\A\\c.txt", "\\A\\rom.txt", "\\A\\Sub\\"});
    for (const QString folder : {"\\N\\", "\\Y\\"})
        device.make({folder + "1.txt", folder + "2.txt", folder + "3.txt"});
    for (const char *path : {"\\My Documents\\A\\ro.txt", "\\A\\b.txt"})
        ::chmod(QFile::encodeName(device.host(path)).constData(), 0444);
    for (const char *path : {"\\R\\rom.txt", "\\A\\rom.txt", "\\N\\2.txt", "\\Y\\2.txt"})
        device.putInRom(path);
    start();
    ops().DeleteFolder();
    EXPECT_TRUE(exists("\\Windows"));
    for (const int answer : {IDNO, IDYES}) {
        open("\\My Documents\\A\\");
        sink.expect("Delete '\\My Documents\\A' and everything in it?", App, Question, answer);
        ops().DeleteFolder();
        EXPECT_EQ(sink.lastOwner(), frame.get());
        EXPECT_EQ(exists("\\My Documents\\A\\B\\deep.txt"), answer == IDNO);
        EXPECT_EQ(tree().FindItemByPath("\\My Documents\\A") != nullptr, answer == IDNO) << "the tree was refreshed";
    }
    EXPECT_TRUE(exists("\\My Documents\\keep.txt"));
    open("\\R\\");
    sink.expect("Delete '\\R' and everything in it?", App, Question, IDYES);
    sink.expect("Failed to delete:\r\n\\R\\rom.txt", App, Exclamation, IDOK);
    ops().DeleteFolder();
    EXPECT_TRUE(exists("\\R\\rom.txt"));

    const QString goOn = "Failed to delete 2.txt. Continue deleting?";
    const QStringList all{"1.txt", "2.txt", "3.txt"};
    // Folder, selection, answer to the question (0: not asked), the boxes then, result, files left.
    const std::tuple<const char *, QStringList, int, QList<ExpectedBox>, bool, QStringList> cases[] = {
        {"\\A\\", {"b.txt"}, IDNO, {}, false, {"a.txt", "b.txt", "c.txt", "rom.txt"}},
        {"\\A\\", {"a.txt", "b.txt"}, IDYES, {}, true, {"c.txt", "rom.txt"}},
        {"\\A\\", {}, 0, {}, true, {"c.txt", "rom.txt"}},
        {"\\A\\", {"rom.txt"}, IDYES, {{"Failed to delete rom.txt", "Delete", Exclamation, IDOK}}, false,
         {"c.txt", "rom.txt"}},
        {"\\N\\", all, IDYES, {{goOn, "Continue?", QuestionNoDefault, IDNO}}, true, {"2.txt", "3.txt"}},
        {"\\Y\\", all, IDYES, {{goOn, "Continue?", QuestionNoDefault, IDYES}}, true, {"2.txt"}},
    };
    for (const auto &[folder, selected, answer, failures, result, left] : cases) {
        SCOPED_TRACE((folder + selected.join(',')).toStdString());
        select(folder, selected);
        if (answer)
            sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, answer);
        for (const ExpectedBox &box : failures)
            sink.expect(box.text, box.caption, box.type, box.answer);
        EXPECT_EQ(ops().DeleteSelectedFiles(), result);
        EXPECT_EQ(sink.lastOwner(), &list());
        EXPECT_EQ(sorted(rows(list())), left);
        EXPECT_EQ(QDir(device.host(folder)).entryList(QDir::Files, QDir::Name), left);
    }
}

} // namespace
