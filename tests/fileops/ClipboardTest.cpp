#include "Panes.h"

#include <functional>

namespace {

class Clipboard : public Panes
{
protected:
    void SetUp() override
    {
        device.make({"\\S\\a.txt", "\\S\\b.txt", "\\S\\c.txt", "\\D1\\", "\\D2\\", "\\F\\G\\g.txt"});
        start();
        open("\\S\\");
    }
};

// Drives the clipboard through its transitions; after each event the whole
// state is checked.
TEST_F(Clipboard, Transitions)
{
    const QStringList ab{"a.txt", "b.txt"};
    const struct {
        const char *event;
        std::function<void(Clipboard &)> act;
        unsigned mode;
        const char *sourceFolder;
        QStringList names;
        bool canPaste;
    } steps[] = {
        {"start", [](Clipboard &) {}, 0, "", {}, false},
        {"cut with nothing selected", [](Clipboard &t) { t.select("\\S\\", {}); t.ops().CutFiles(); }, 0, "", {}, false},
        {"copy files", [&](Clipboard &t) { t.select("\\S\\", ab); t.ops().CopyFiles(); }, 5, "\\S\\", ab, true},
        {"paste copied files into the list's folder", [](Clipboard &t) {
             t.open("\\D1\\");
             t.ops().Paste("\\D1\\");
             EXPECT_EQ(t.list().GetItemCount(), 2) << "the list was refreshed";
         }, 5, "\\S\\", ab, true},
        {"copy, nothing selected", [](Clipboard &t) { t.select("\\S\\", {}); t.ops().CopyFiles(); }, 5, "\\S\\", ab, true},
        {"cut folder keeps names", [](Clipboard &t) { t.ops().CutFolder("\\F\\G\\"); }, 10, "\\F\\G\\", ab, true},
        {"copy folder", [](Clipboard &t) { t.ops().CopyFolder("\\F\\G\\"); }, 6, "\\F\\G\\", ab, true},
        {"paste copied folder", [](Clipboard &t) { t.ops().Paste("\\D1\\"); }, 6, "\\F\\G\\", ab, true},
        {"cut folder", [](Clipboard &t) { t.ops().CutFolder("\\F\\G\\"); }, 10, "\\F\\G\\", ab, true},
        {"paste cut folder", [](Clipboard &t) { t.ops().Paste("\\D2\\"); }, 10, "\\F\\G\\", ab, true},
        {"cut file", [](Clipboard &t) { t.select("\\S\\", {"c.txt"}); t.ops().CutFiles(); }, 9, "\\S\\", {"c.txt"}, true},
        {"paste cut file", [](Clipboard &t) { t.ops().Paste("\\D2\\"); }, 9, "\\S\\", {}, false},
        {"cut files again", [&](Clipboard &t) { t.select("\\S\\", ab); t.ops().CutFiles(); }, 9, "\\S\\", ab, true},
        {"delete in the list forgets the cut", [](Clipboard &t) {
             t.sink.expect("Delete all selected files?", "Delete files", QuestionNoDefault, IDNO);
             t.ops().DeleteSelectedFiles();
         }, 9, "\\S\\", {}, false},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.event);
        step.act(*this);
        EXPECT_EQ(ops().mode(), step.mode);
        EXPECT_EQ(ops().sourceFolder(), step.sourceFolder);
        EXPECT_EQ(sorted(ops().names()), step.names); // list order is the folder's order
        EXPECT_EQ(ops().CanPaste(), step.canPaste);
        EXPECT_EQ(ops().CanPasteShortcut(), step.canPaste && (step.mode & CFileOperations::OpFiles));
    }
}

} // namespace
