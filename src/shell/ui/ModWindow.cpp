#include "shell/ui/ModWindow.h"

#include <QWidget>

namespace ModWindow {

WindowMetrics GetWindowMetrics(const QWidget *window)
{
    if (!window)
        return {};
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (!frame.isValid() || !client.isValid())
        return {};
    WindowMetrics metrics;
    metrics.windowWidth = frame.width();
    metrics.windowHeight = frame.height();
    metrics.clientWidth = client.width();
    metrics.clientHeight = client.height();
    metrics.extraWidth = metrics.windowWidth - metrics.clientWidth;
    metrics.extraHeight = metrics.windowHeight - metrics.clientHeight;
    metrics.failed = false;
    return metrics;
}

int SetClientSize(QWidget *window, int clientWidth, int clientHeight)
{
    const WindowMetrics metrics = GetWindowMetrics(window);
    if (metrics.failed)
        return 0;
    // Qt sizes the client area directly; the frame then adds the same extra as before.
    window->resize(clientWidth, clientHeight);
    return 1;
}

} // namespace ModWindow
