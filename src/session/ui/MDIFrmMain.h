#pragma once

#include <QMainWindow>
#include <QPointer>

class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QTimer;
class FrmMain;
class FrmPorts;
class FrmRemote;
class FrmTrace;
class SerialComponent;

/// The main window: a toolbar with "Connect" (`Command1`) and "Demo" (`Command2`) over an MDI
/// area that holds the overview panel; "Ports..." (`CommandPorts`) and "Trace" (`CommandTrace`)
/// open the ports window and the frame trace beside it, "Remote..." (`CommandRemote`, while the
/// panel is open) the web remote's window. `Timer3` keeps Connect and Demo disabled
/// while the panel is open. Closing asks first, releases the unit and announces the end of the
/// program; a close that arrives while the line is taken (Connect and Demo hold it) comes back once
/// it is free.
class MDIFrmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit MDIFrmMain(SerialComponent &serial, QWidget *parent = nullptr);

    /// The main window's loading: the model at its defaults, the serial component initialised,
    /// `Timer3` started. False, after "Wrong COM initialization!", when the component refused:
    /// the program must end.
    bool Load();

    /// The overview panel while it is open.
    FrmMain *Panel() const;

signals:
    /// The operator confirmed Exit; the unit is released.
    void programEnds();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Connect();
    void Demo();
    void UpdateButtons();
    void SetDemoColour(bool red);
    void OpenPanel();
    void ShowRemote();
    /// Runs the load after connecting behind the loading window; true when the panel opened.
    bool LoadAndOpenPanel();
    /// Opens the window (made with the arguments before its parent), or brings it to the front
    /// when it is open.
    template<typename Window, typename... Arguments>
    void ShowWindow(QPointer<Window> &window, Arguments... arguments);

    SerialComponent &serial;
    QMdiArea *area;
    QPushButton *Command1;
    QPushButton *Command2;
    QPushButton *CommandRemote;
    QTimer *Timer3;
    QPointer<QMdiSubWindow> panelWindow;
    QPointer<FrmPorts> portsWindow;
    QPointer<FrmTrace> traceWindow;
    QPointer<FrmRemote> remoteWindow;
};
