// The Properties command: the system information sheet for the tree's root,
// the properties dialog for a folder or the list's focused file, and the
// list reloaded only when the attributes were changed.
#include "Panes.h"

#include "filetypes/CFilePropertiesDlg.h"
#include "framework/CPropertySheet.h"
#include "res/ResourceIds.h"

namespace {

using PropertiesCommandTest = Panes;

TEST_F(PropertiesCommandTest, SheetForTheRootDialogForAFolderOrFileListReloadedAfterAChange)
{
    device.make({"\\Docs\\a.txt", "\\Docs\\b.txt", "\\Docs\\c.txt"});
    start(true);
    focusTree("\\");
    runDialog(ID_FILE_PROPERTIES, [&](CDialog &open) {
        EXPECT_NE(qobject_cast<CPropertySheet *>(&open), nullptr);
        EXPECT_EQ(frame->openPropertiesDialog(), &open);
    });
    EXPECT_EQ(frame->openPropertiesDialog(), nullptr);
    focusTree("\\Docs\\");
    runDialog(ID_FILE_PROPERTIES, [](CDialog &open) {
        auto *dialog = qobject_cast<CFilePropertiesDlg *>(&open);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->path, "\\Docs");
    });

    focusList("\\Docs\\", {"b.txt"});
    const int row = int(rows(list()).indexOf("b.txt"));
    list().selectionModel()->setCurrentIndex(list().model()->index(row, 0), QItemSelectionModel::NoUpdate);
    for (const bool change : {false, true}) {
        runDialog(ID_FILE_PROPERTIES, [change](CDialog &open) {
            EXPECT_EQ(qobject_cast<CFilePropertiesDlg *>(&open)->path, "\\Docs\\b.txt");
            if (change)
                click(open, 1005);
            open.accept();
        });
        EXPECT_EQ(list().GetItemText(row, CFileListCore::AttrsColumn), change ? "H" : "");
    }
    EXPECT_EQ(list().GetFocusedItem(), row);
    EXPECT_EQ(list().GetSelectedCount(), 1);
}

} // namespace
