#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

TEST(StringTableTest, CommandPromptsAndProgramStringsAreExact)
{
    const std::pair<UINT, const char *> prompts[] = {
        {32772, "Delete a file or folder\nDelete"},
        {32773, "Create a new folder\nNew Folder"},
        {32774, "Show the properties\nProperties"},
        {32775, "Refresh the views\nRefresh"},
        {32776, "Send file(s) using the HPC compatible infra red\nSend IR"},
        {32777, "Receive file(s) using the HPC compatible infra red\nReceive IR"},
        {32778, "Paste a shortcut\nPaste shortcut"},
        {32779, "Paste a shortcut in the start menu\nPaste in Menu"},
        {32780, "Connect over the network\nConnect"},
        {32781, "Disconnect from the network\nDisconnect"},
        {32783, "Find Files\nFind"},
        {32784, "Toggle between toolbar and menubar\nToggle toolbar"},
        {32856, "Rename the file or folder\nRename"},
        {57634, "Copy the selection and put it on the Clipboard\nCopy"},
        {57635, "Cut the selection and put it on the Clipboard\nCut"},
        {57637, "Insert Clipboard contents\nPaste"},
    };
    for (const auto &[id, text] : prompts)
        EXPECT_EQ(LoadString(id), text) << id;
    EXPECT_EQ(LoadString(IDR_MAINFRAME), "Quillmoss\n\nQuillmoss\n\n\nQuillmoss.Document\nQuillmoss Document");
    EXPECT_TRUE(LoadString(IDS_WEBADDRESS).startsWith("https://"));
    const QString disclaimer = LoadString(IDS_DISCLAIMER);
    EXPECT_TRUE(disclaimer.contains("Brindlecove"));
    EXPECT_TRUE(disclaimer.contains("without warranty"));
    EXPECT_FALSE(disclaimer.contains(QRegularExpression("[^\r]\n"))) << "line breaks for an edit control are \\r\\n";
    EXPECT_TRUE(LoadString(ID_APP_EXIT).isEmpty());
}

} // namespace
