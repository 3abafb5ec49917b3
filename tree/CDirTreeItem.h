// An item of the folder tree. Siblings keep the tree control's sorted order:
// folder names compare without regard to case, and the two placeholder items
// ("~Dummy Item", "~Update this item") always come after every folder, so
// re-sorting a branch keeps its placeholders last.
#pragma once

#include <QTreeWidgetItem>

class CDirTreeItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;

    // Both texts are the item's text in column 0.
    static bool IsPlaceholder(const QString &text);
    static bool SortsBefore(const QString &text, const QString &other);

    bool operator<(const QTreeWidgetItem &other) const override;
};
