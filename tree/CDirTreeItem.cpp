#include "tree/CDirTreeItem.h"

#include "tree/CDirTreeView.h"

bool CDirTreeItem::IsPlaceholder(const QString &text)
{
    return text == CDirTreeView::DummyItemText || text == CDirTreeView::UpdateItemText;
}

bool CDirTreeItem::SortsBefore(const QString &text, const QString &other)
{
    const bool placeholder = IsPlaceholder(text);
    if (placeholder != IsPlaceholder(other))
        return !placeholder;
    return QString::compare(text, other, Qt::CaseInsensitive) < 0;
}

bool CDirTreeItem::operator<(const QTreeWidgetItem &other) const
{
    return SortsBefore(text(0), other.text(0));
}
