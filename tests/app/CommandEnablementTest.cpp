// The enablement table: for each state of the panes, what the update rules answer.
#include "Panes.h"
#include "Settings.h"

#include "res/ResourceIds.h"

#include <functional>
#include <optional>

namespace {

using Enablement = Panes;

// Commands without a rule are enabled.
TEST_F(Enablement, Table)
{
    device.make({"\\My Documents\\a.txt", "\\My Documents\\b.txt", "\\My Documents\\a.lnk.txt", "\\\\srv\\share\\"});
    mapNetPaths({"\\\\srv\\share"});
    start(true);
    open("\\My Documents\\");
    EXPECT_TRUE(frame->router().isEnabled(ID_EDIT_SELECTALL) && frame->router().isEnabled(ID_VIEW_REFRESH));
    EXPECT_TRUE(run(ID_EDIT_SELECTALL));
    EXPECT_EQ(list().GetSelectedCount(), 3);
    EXPECT_TRUE(list().hasFocus());

    const auto focusTreeItem = [&](QTreeWidgetItem *item) {
        tree().setCurrentItem(item);
        tree().setFocus();
        EXPECT_TRUE(QTest::qWaitFor([&] { return tree().hasFocus(); }));
    };
    const std::optional<bool> unchanged;
    // A state of the panes, how to enter it, and what the rules answer there.
    using Rules = std::vector<std::pair<UINT, std::optional<bool>>>;
    const std::tuple<const char *, std::function<void()>, Rules> table[] = {
        {"tree on the root", [&] { focusTreeItem(tree().DeviceRoot()); },
         {{ID_EDIT_CUT, false}, {ID_EDIT_COPY, false}, {ID_FILE_DELETE, false}, {ID_FILE_PROPERTIES, true},
          {ID_FILE_NEWFOLDER, true}, {ID_BOOKMARK_ADD, true}, {ID_TOOLS_EMAIL, false},
          {ID_FILE_EDITSHORTCUT, false}, {ID_FILE_OPEN, false}, {ID_TOOLS_IRSEND, unchanged}}},
        {"tree on a folder", [&] { focusTree("\\Windows\\"); }, {{ID_EDIT_CUT, true}, {ID_FILE_DELETE, true}}},
        {"two files", [&] { focusList("\\My Documents\\", {"a.txt", "b.txt"}); },
         {{ID_FILE_PROPERTIES, false}, {ID_FILE_OPEN, false}, {ID_FILE_RENAME, false}, {ID_TOOLS_EMAIL, false},
          {ID_FILE_DELETE, true}, {ID_EDIT_CUT, true}, {ID_EDIT_COPY, true}, {ID_TOOLS_IRSEND, true},
          {ID_FILE_NEWFOLDER, false}, {ID_EDIT_SELECTALL, true}}},
        {"one file whose name contains .lnk", [&] { focusList("\\My Documents\\", {"a.lnk.txt"}); },
         {{ID_FILE_EDITSHORTCUT, true}, {ID_FILE_OPEN, true}, {ID_FILE_RENAME, true}, {ID_FILE_PROPERTIES, true},
          {ID_TOOLS_EMAIL, true}}},
        {"one other file", [&] { focusList("\\My Documents\\", {"a.txt"}); }, {{ID_FILE_EDITSHORTCUT, false}}},
        {"no file", [&] { focusList("\\My Documents\\", {}); },
         {{ID_FILE_DELETE, false}, {ID_EDIT_CUT, false}, {ID_TOOLS_IRSEND, false}}},
        {"network places", [&] { focusTreeItem(tree().NetworkRoot()); }, {{ID_TOOLS_DISCONNECTDRIVE, false}}},
        {"mapped network path",
         [&] { tree().NetworkRoot()->setExpanded(true); focusTreeItem(child(tree().NetworkRoot(), "\\\\srv\\share")); },
         {{ID_TOOLS_DISCONNECTDRIVE, true}, {ID_FILE_DELETE, false}}},
    };
    for (const auto &[state, enter, rules] : table) {
        SCOPED_TRACE(state);
        enter();
        for (const auto &[id, enabled] : rules)
            EXPECT_EQ(CommandRules::enabled(id, frame->currentFacts()), enabled) << "command " << id;
    }
}

} // namespace
