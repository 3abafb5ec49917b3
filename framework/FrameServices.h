// What a view asks of the frame that holds it. The program's main frame
// implements it, so the views know the framework only and never the frame
// itself: the arrows run from the frame to its views, not back.
#pragma once

#include "platform/Types.h"

#include <QString>

class CommandRouter;
class QPoint;
class QTreeWidgetItem;

class FrameServices
{
public:
    // Runs the commands of the views' context menus and keys.
    virtual CommandRouter &router() = 0;

    // Set from the start of a drag (tree or list) until the drop.
    virtual bool isDragging() const = 0;
    virtual void setDragging(bool dragging) = 0;

    // Drag and drop is cut plus paste on the frame's file engine: a drag cuts
    // the list's selected files or one folder, a drop pastes into a folder.
    virtual void cutFiles() = 0;
    virtual void cutFolder(const QString &folder) = 0;
    virtual void paste(const QString &targetFolder) = 0;

    // A drag from the list seen by the folder pane: the folder under the
    // pointer (highlighted as the drop target, null off the tree), and the drop.
    virtual QTreeWidgetItem *dragOverFolders(const QPoint &screenPos) = 0;
    virtual void dropOnFolders(const QPoint &screenPos) = 0;

    // The frame's numbered timers. While a drag runs, the drag scroll timer
    // scrolls the folder pane near its edges.
    static constexpr UINT DragScrollTimer = 3;
    static constexpr UINT DragScrollPeriod = 75;
    virtual void SetTimer(UINT id, UINT milliseconds) = 0;
    virtual bool KillTimer(UINT id) = 0;

protected:
    ~FrameServices() = default;
};
