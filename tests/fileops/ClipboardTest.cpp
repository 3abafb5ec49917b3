#include "Panes.h"

#include <functional>

namespace {

using Clipboard = Panes;

// Drives the clipboard through its transitions; after each event the whole
// state is checked.
TEST_F(Clipboard, Transitions)
{
    device.make({"\\S\\a.txt", "\\S\\b.txt", "\\S\\c.txt", "\\D1\\", "\\D2\\", "\\F\\G\\g.txt"});
    start();
    const QStringList ab{"a.txt", "b.txt"};
    // The event, then the state after it: mode, source folder, names and whether a paste is possible.
    const std::tuple<const char *, std::function<void()>, unsigned, const char *, QStringList, bool> steps[] = {
        {"start", [] {}, 0, "", {}, false},
        {"cut with nothing selected", [&] { select("\\S\\", {}); ops().CutFiles(); }, 0, "", {}, false},
        {"copy files", [&] { select("\\S\\", ab); ops().CopyFiles(); }, 5, "\\S\\", ab, true},
        {"paste copied files into the list's folder, which is refreshed",
         [&] { open("\\D1\\"); ops().Paste("\\D1\\"); EXPECT_EQ(list().GetItemCount(), 2); }, 5, "\\S\\", ab, true},
        {"copy, nothing selected", [&] { select("\\S\\", {}); ops().CopyFiles(); }, 5, "\\S\\", ab, true},
        {"cut folder keeps names", [&] { ops().CutFolder("\\F\\G\\"); }, 10, "\\F\\G\\", ab, true},
        {"copy folder", [&] { ops().CopyFolder("\\F\\G\\"); }, 6, "\\F\\G\\", ab, true},
        {"paste copied folder", [&] { ops().Paste("\\D1\\"); }, 6, "\\F\\G\\", ab, true},
        {"cut folder", [&] { ops().CutFolder("\\F\\G\\"); }, 10, "\\F\\G\\", ab, true},
        {"paste cut folder", [&] { ops().Paste("\\D2\\"); }, 10, "\\F\\G\\", ab, true},
        {"cut file", [&] { select("\\S\\", {"c.txt"}); ops().CutFiles(); }, 9, "\\S\\", {"c.txt"}, true},
        {"paste cut file", [&] { ops().Paste("\\D2\\"); }, 9, "\\S\\", {}, false},
        {"cut files again", [&] { select("\\S\\", ab); ops().CutFiles(); }, 9, "\\S\\", ab, true},
        {"delete in the list forgets the cut", [&] {
             sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDNO);
             ops().DeleteSelectedFiles();
         }, 9, "\\S\\", {}, false},
    };
    for (const auto &[event, act, mode, sourceFolder, names, canPaste] : steps) {
        SCOPED_TRACE(event);
        act();
        EXPECT_EQ(ops().mode(), mode);
        EXPECT_EQ(ops().sourceFolder(), sourceFolder);
        EXPECT_EQ(sorted(ops().names()), names); // list order is the folder's order
        EXPECT_EQ(ops().CanPaste(), canPaste);
        EXPECT_EQ(ops().CanPasteShortcut(), canPaste && (mode & CFileOperations::OpFiles));
    }
}

} // namespace
