#include "framework/TapAndHold.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>

TapAndHold::TapAndHold(QWidget *target, std::function<void(const QPoint &)> callback)
    : QObject(target)
    , m_callback(std::move(callback))
{
    auto *area = qobject_cast<QAbstractScrollArea *>(target);
    m_surface = area ? area->viewport() : target;
    m_surface->installEventFilter(this);
    // The menu key's event goes to the focus widget, the scroll area itself.
    if (m_surface != target)
        target->installEventFilter(this);
    m_hold.setSingleShot(true);
    m_hold.setInterval(HoldMilliseconds);
    connect(&m_hold, &QTimer::timeout, this, [this] {
        m_swallowRelease = true;
        m_callback(m_pressScreenPos);
    });
}

bool TapAndHold::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface) {
        const bool menuKey = event->type() == QEvent::ContextMenu
            && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard;
        if (menuKey)
            m_callback(static_cast<QContextMenuEvent *>(event)->globalPos());
        return menuKey;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            m_hold.stop();
            m_callback(mouse->globalPosition().toPoint());
            return true;
        }
        if (mouse->button() == Qt::LeftButton && event->type() == QEvent::MouseButtonPress) {
            m_pressScreenPos = mouse->globalPosition().toPoint();
            m_swallowRelease = false;
            m_hold.start();
        }
        return false;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (m_hold.isActive()
            && (mouse->globalPosition().toPoint() - m_pressScreenPos).manhattanLength() >= QApplication::startDragDistance())
            m_hold.stop();
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton)
            return true;
        m_hold.stop();
        const bool swallow = m_swallowRelease;
        m_swallowRelease = false;
        return swallow;
    }
    case QEvent::ContextMenu: {
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        if (menu->reason() == QContextMenuEvent::Keyboard)
            m_callback(menu->globalPos());
        return true;
    }
    default:
        return false;
    }
}
