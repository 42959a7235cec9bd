#include "session/ui/MDIFrmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "editors/ui/FrmMain.h"
#include "link/LineUse.h"
#include "link/ModTxRx.h"
#include "link/PortMap.h"
#include "link/SerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "model/ui/HistoryControls.h"
#include "presets/ModPreset.h"
#include "remote/ui/FrmRemote.h"
#include "session/Startup.h"
#include "session/ui/FrmPorts.h"
#include "session/ui/FrmTrace.h"
#include "shell/Messages.h"
#include "shell/ui/FrmVum.h"
#include "shell/ui/PointerOverride.h"

namespace {

constexpr int FirstButtonTickMs = 3000;
constexpr int ButtonTickMs = 1000;

QToolBar *AddToolbarRow(QMainWindow *window, const QString &name, const QString &title)
{
    auto *toolbar = new QToolBar(title, window);
    toolbar->setObjectName(name);
    toolbar->setMovable(false);
    window->addToolBar(toolbar);
    return toolbar;
}

QPushButton *ToolbarButton(const QString &name, const QString &caption, QToolBar *toolbar)
{
    auto *button = new QPushButton(caption, toolbar);
    button->setObjectName(name);
    button->setMinimumWidth(90);
    toolbar->addWidget(button);
    return button;
}

} // namespace

MDIFrmMain::MDIFrmMain(SerialComponent &serial, QWidget *parent)
    : QMainWindow(parent), serial(serial), area(new QMdiArea(this)), Timer3(new QTimer(this))
{
    setObjectName(QStringLiteral("MDIFrmMain"));
    setWindowTitle(QLatin1String(ModFun::ModelName));
    auto *toolbar = AddToolbarRow(this, QStringLiteral("Toolbar1"), QStringLiteral("Toolbar"));
    Command1 = ToolbarButton(QStringLiteral("Command1"), QStringLiteral("Connect"), toolbar);
    Command2 = ToolbarButton(QStringLiteral("Command2"), QStringLiteral("Demo"), toolbar);
    connect(Command1, &QPushButton::clicked, this, &MDIFrmMain::Connect);
    connect(Command2, &QPushButton::clicked, this, &MDIFrmMain::Demo);
    auto *spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    auto *exit = ToolbarButton(QStringLiteral("CommandExit"), QStringLiteral("Exit"), toolbar);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);

    // The tools beyond the unit's own program sit on a row of their own.
    addToolBarBreak();
    auto *tools = AddToolbarRow(this, QStringLiteral("Toolbar2"), QStringLiteral("Tools"));
    HistoryControls::AddButtons(tools);
    HistoryControls::AddShortcuts(this, true);
    HistoryControls::DecorateTitle(this);
    connect(ToolbarButton(QStringLiteral("CommandPorts"), QStringLiteral("Ports..."), tools),
            &QPushButton::clicked, this, [this] { ShowWindow<FrmPorts>(portsWindow); });
    connect(ToolbarButton(QStringLiteral("CommandTrace"), QStringLiteral("Trace"), tools),
            &QPushButton::clicked, this, [this] { ShowWindow<FrmTrace>(traceWindow); });
    CommandRemote =
        ToolbarButton(QStringLiteral("CommandRemote"), QStringLiteral("Remote..."), tools);
    CommandRemote->setEnabled(false);
    connect(CommandRemote, &QPushButton::clicked, this, &MDIFrmMain::ShowRemote);

    area->setObjectName(QStringLiteral("MDIArea"));
    setCentralWidget(area);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    connect(Timer3, &QTimer::timeout, this, [this] {
        UpdateButtons();
        Timer3->setInterval(ButtonTickMs);
    });
    resize(FrmMain::ClientWidth + 60, FrmMain::ClientHeight + 145);
}

bool MDIFrmMain::Load()
{
    ModTxRx::Reset();
    ModFun::Reset();
    PanelFlags::Reset();
    SystemFlags::Reset();
    ModPreset::Reset();
    ModLock::Reset();
    ModTxRx::state.SerialPort = &serial;
    if (serial.Initialize(UnitProtocol::FrameSize, PortMap::LastPort) != 0) {
        Messages::Tell(QStringLiteral("Wrong COM initialization!"), QStringLiteral("SerialLibDemo"),
                       Messages::Icon::Critical);
        return false;
    }
    Timer3->start(FirstButtonTickMs);
    return true;
}

FrmMain *MDIFrmMain::Panel() const
{
    return panelWindow ? qobject_cast<FrmMain *>(panelWindow->widget()) : nullptr;
}

void MDIFrmMain::Connect()
{
    const LineUse::Hold sequence;
    if (!Messages::Ask(QStringLiteral("Connect device, are you sure?"), QStringLiteral("Connect")))
        return;
    ModTxRx::state.DemoMode = false;
    Command2->setEnabled(false);
    Startup::ReleaseUnit(true);
    SetDemoColour(false);
    if (!(Startup::FindUnit() && LoadAndOpenPanel()))
        Messages::Tell(QStringLiteral("COM or device not found"), QStringLiteral("MX-RF416"),
                       Messages::Icon::Exclamation);
    Command2->setEnabled(!PanelFlags::state.PanelOpen);
}

bool MDIFrmMain::LoadAndOpenPanel()
{
    // The pointer shows an hourglass while the load runs.
    const PointerOverride hourglass(Qt::WaitCursor);
    FrmVum loading(this);
    QProgressBar *progress = loading.progressBar();
    progress->setMaximum(Startup::LoadSteps);
    progress->setValue(0);
    loading.show();
    if (!Startup::LoadDeviceState([progress](int steps) { progress->setValue(steps); }))
        return false;
    setWindowTitle(Startup::ConnectedTitle());
    OpenPanel();
    return true;
}

void MDIFrmMain::Demo()
{
    const LineUse::Hold sequence;
    if (!Messages::Ask(QStringLiteral("     Demo mode, are you sure?"), QStringLiteral("DEMO")))
        return;
    Startup::ReleaseUnit(true);
    Startup::EnterDemoMode();
    setWindowTitle(Startup::DemoTitle());
    OpenPanel();
    SetDemoColour(true);
}

void MDIFrmMain::OpenPanel()
{
    auto *panel = new FrmMain;
    panelWindow =
        area->addSubWindow(panel,
                           Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    panelWindow->setAttribute(Qt::WA_DeleteOnClose);
    panelWindow->setObjectName(QStringLiteral("FrmMainWindow"));
    connect(panel, &FrmMain::closed, this, &MDIFrmMain::UpdateButtons, Qt::QueuedConnection);
    panelWindow->show();
    panelWindow->adjustSize();
    panelWindow->move(0, 0);
    UpdateButtons();
}

template<typename Window, typename... Arguments>
void MDIFrmMain::ShowWindow(QPointer<Window> &window, Arguments... arguments)
{
    if (!window) {
        window = new Window(arguments..., this);
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void MDIFrmMain::ShowRemote()
{
    ShowWindow(remoteWindow, Panel());
}

void MDIFrmMain::UpdateButtons()
{
    const bool panelOpen = PanelFlags::state.PanelOpen;
    Command1->setEnabled(!panelOpen);
    Command2->setEnabled(!panelOpen);
    CommandRemote->setEnabled(panelOpen && Panel());
    if (!panelOpen)
        SetDemoColour(false);
}

void MDIFrmMain::SetDemoColour(bool red)
{
    QPalette palette = QApplication::palette(Command2);
    if (red)
        palette.setColor(QPalette::Button, QColor(255, 0, 0));
    Command2->setPalette(palette);
}

void MDIFrmMain::closeEvent(QCloseEvent *event)
{
    if (LineUse::PutOffWhileTaken(this, [this] { close(); })) {
        event->ignore();
        return;
    }
    if (Panel())
        HistoryControls::OfferToKeepUnsaved(this);
    if (!Messages::Ask(QStringLiteral("               Are you sure ? "), QStringLiteral("Exit"),
                       Messages::Answer::No)) {
        event->ignore();
        return;
    }
    Startup::ReleaseUnit(false);
    event->accept();
    emit programEnds();
}
