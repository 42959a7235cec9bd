#pragma once

class QWidget;

/// Sizes windows so that their client area has an exact size.
namespace ModWindow {

struct WindowMetrics
{
    int windowWidth = 0;
    int windowHeight = 0;
    int clientWidth = 0;
    int clientHeight = 0;
    int extraWidth = 0; ///< frame and borders: window width - client width
    int extraHeight = 0; ///< title bar, frame and borders
    bool failed = true; ///< a size could not be read; all sizes are then 0
};

/// The outer and client sizes of a top-level window.
WindowMetrics GetWindowMetrics(const QWidget *window);

/// Gives the window a client area of the given size without moving it; answers 0 when the
/// window's sizes could not be read (it then keeps its size), 1 otherwise.
int SetClientSize(QWidget *window, int clientWidth, int clientHeight);

} // namespace ModWindow
