#pragma once

#include <QFrame>

class QLabel;
class QTimer;

/// The start-up window: shows the program's name and version, checks the user's locale, and
/// after 2000 ms (`Timer1`) hands over to the main window through `timeUp` and closes.
class frmSplash : public QFrame
{
    Q_OBJECT
public:
    static constexpr int ShowMs = 2000;

    explicit frmSplash(QWidget *parent = nullptr);

signals:
    /// Show the main window now (its loading runs while the pointer shows the hourglass).
    void timeUp();

private:
    void TimerFired();

    QTimer *Timer1;
};
