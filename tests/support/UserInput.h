// What a user does with the mouse beyond clicks: text dragged from another program and
// dropped on a control, delivered to the window as the windowing system delivers it, so that
// Qt itself finds the control that takes the drop.
#pragma once

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QWidget>
#include <QWindow>

// Drags `text` over the middle of `target` and drops it there; true when a control took it.
inline bool DropText(QWidget *target, const QString &text)
{
    QWidget *window = target->window();
    QWindow *handle = window->windowHandle();
    if (!handle)
        return false;
    QMimeData mime;
    mime.setText(text);
    const QPoint at = target->mapTo(window, target->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(handle, &drop);
    return drop.isAccepted();
}
