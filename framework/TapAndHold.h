// The context-menu gesture on a widget: a right-button press, the keyboard's
// menu key, or a left press held still for HoldMilliseconds, each reported
// once through the callback with the gesture's screen point.
//
// For a scroll area (tree, list) the filter watches its viewport. Right
// presses and mouse context-menu events are consumed, so the view does not
// change its selection on its own; the callback decides. A left press is
// passed on as usual (a tap still selects); when it turns into a hold, the
// release that ends it is consumed. Moving past the drag distance cancels a
// hold (it is a drag).
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>

class QWidget;

class TapAndHold : public QObject
{
    Q_OBJECT
public:
    static constexpr int HoldMilliseconds = 600;

    // Owned by target; callback(screenPos).
    TapAndHold(QWidget *target, std::function<void(const QPoint &)> callback);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_surface;
    std::function<void(const QPoint &)> m_callback;
    QTimer m_hold;
    QPoint m_pressScreenPos;
    bool m_swallowRelease = false;
};
