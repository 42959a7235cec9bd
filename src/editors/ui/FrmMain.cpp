#include "editors/ui/FrmMain.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTimer>
#include <QVBoxLayout>

#include "editors/Meters.h"
#include "editors/ui/MeterWidgets.h"
#include "graph/ModGraph.h"
#include "link/LineUse.h"
#include "link/ModTxRx.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "model/ui/HistoryControls.h"
#include "presets/ModPreset.h"
#include "session/Startup.h"
#include "shell/AppInfo.h"
#include "shell/Messages.h"
#include "shell/ui/ModWindow.h"
#include "shell/ui/PointerOverride.h"

namespace {

using Action = WindowOpeners::Action;

constexpr int FirstPollMs = 1000;
constexpr int PollMs = 100;
constexpr int CopyButton = 8;
constexpr int PasswordButton = 4;
/// Buttons 0..3 (the preset buttons) are locked with the unit.
constexpr int LockedPresetButtons = 4;

struct Block
{
    ModFun::SummaryBlock block;
    const char *caption;
};

/// The blocks of a channel strip in signal order; the equaliser caption follows the model.
constexpr Block StripBlocks[] = {
    {ModFun::GateBlock, "Gate"},       {ModFun::EqBlock, "PEQ"},
    {ModFun::FilterBlock, "X-Over"},   {ModFun::DelayBlock, "Delay"},
    {ModFun::LimiterBlock, "Limiter"},
};

const QStringList LevelScale{"Clip", "-3dB", "-6dB", "-9dB", "-12dB", "-15dB", "-20dB"};
const QStringList LimiterScale{"Limit", "-3dB", "-6dB", "-9dB", "-12dB", "-15dB", "-18dB"};

QLabel *Arrow(QWidget *parent)
{
    auto *arrow = new QLabel(QStringLiteral("\u2192"), parent);
    arrow->setAlignment(Qt::AlignCenter);
    return arrow;
}

QString LinkQuestion()
{
    return QStringLiteral("                Link A & B            \r\n"
                          "     This will copy channel A to B    \r\n"
                          "             are you sure?            ");
}

} // namespace

FrmMain::FrmMain(QWidget *parent) : QWidget(parent), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("FrmMain"));
    mutePictures = {SpeakerPicture(false), SpeakerPicture(true)};
    Meters::Reset();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(6);
    layout->addWidget(BuildChannelStrips());
    layout->addWidget(BuildMeters());
    layout->addStretch();
    layout->addWidget(BuildButtons());
    ConnectModel();

    ModWindow::SetClientSize(this, ClientWidth, ClientHeight);
    setFixedSize(ClientWidth, ClientHeight);
    PanelFlags::state.PanelOpen = true;
    loaded = true;
    ModTxRx::SetPanelCloseHook([this] { CloseAfterFailure(); });
    ShowServiceButton();
    ShowWholeState();
    // The setting as loaded after connecting, or the demo's: no steps back, nothing unsaved.
    ModFun::history().Clear();
    ModFun::history().MarkSaved();
    ApplyLockView();

    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setTimerType(Qt::PreciseTimer);
    connect(Timer1, &QTimer::timeout, this, &FrmMain::PollMeters);
    Timer1->start(FirstPollMs);
    ModTxRx::state.LinkIdle = true;

    ModFun::state.PresetSource = QStringLiteral("Preset");
    ModFun::state.PresetTitle = ModPreset::PresetTitleFor(ModPreset::state.CurrentPreset);
    ModFun::ShowPresetName();
}

FrmMain::~FrmMain()
{
    if (loaded)
        Unregister();
}

void FrmMain::Unregister()
{
    loaded = false;
    PanelFlags::state.PanelOpen = false;
    ModTxRx::SetPanelCloseHook({});
    // Without the panel there is no setting to step through or compare.
    ModFun::history().Clear();
}

QWidget *FrmMain::BuildChannelStrips()
{
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *layout = new QVBoxLayout(Frame1);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int channel = 0; channel < 2; ++channel)
        layout->addWidget(BuildChannelStrip(channel));
    return Frame1;
}

QGroupBox *FrmMain::BuildChannelStrip(int channel)
{
    auto *strip =
        new QGroupBox(channel == 0 ? QStringLiteral("Left") : QStringLiteral("Right"), Frame1);
    strip->setObjectName(QStringLiteral("Frame2_%1").arg(channel));
    channelStrips[channel] = strip;
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(8, 2, 8, 4);
    row->setSpacing(4);
    row->addWidget(new QLabel(QStringLiteral("In"), strip));
    for (const Block &block : StripBlocks) {
        const int index = 10 * channel + block.block;
        auto *label = new ClickableLabel(QStringLiteral("Label100_%1").arg(index), strip);
        label->setText(QString::fromLatin1(block.caption));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Raised);
        label->setMinimumWidth(66);
        label->setFixedHeight(26);
        connect(label, &ClickableLabel::clicked, this, [this, index] { OpenBlockEditor(index); });
        Label100[index] = label;
        row->addWidget(Arrow(strip));
        row->addWidget(label, 1);
    }
    row->addWidget(Arrow(strip));
    auto *picture = new ClickableLabel(QStringLiteral("Image1_%1").arg(channel), strip);
    picture->setFixedSize(mutePictures[0].size());
    connect(picture, &ClickableLabel::clicked, this, [this, channel] { MuteClicked(channel); });
    Image1[channel] = picture;
    row->addWidget(picture);
    return strip;
}

QWidget *FrmMain::BuildMeters()
{
    auto *area = new QWidget(this);
    auto *row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    const auto addFrame = [&](const QString &name, const QString &title, const QString &caption,
                              const QStringList &scale, int firstBar) {
        auto *frame = new MeterFrame(name, title, caption, scale, firstBar, area);
        bars[firstBar] = frame->Bar(0);
        bars[firstBar + 1] = frame->Bar(1);
        row->addWidget(frame);
    };
    addFrame(QStringLiteral("Frame3_0"), QStringLiteral("Input"), QStringLiteral("Level"),
             LevelScale, 0);
    addFrame(QStringLiteral("Frame3_1"), QStringLiteral("Output"), QStringLiteral("Level"),
             LevelScale, Meters::FirstOutputBar);
    addFrame(QStringLiteral("Frame3_2"), QStringLiteral("Activity"), QString(), LimiterScale,
             Meters::FirstLimiterBar);

    auto *side = new QVBoxLayout;
    Check12 = new QCheckBox(QStringLiteral("Channel Link"), area);
    Check12->setObjectName(QStringLiteral("Check12"));
    connect(Check12, &QCheckBox::clicked, this, &FrmMain::LinkClicked);
    side->addWidget(Check12);
    side->addStretch();
    side->addWidget(BuildProgressFrame(area));
    Label21 = new ClickableLabel(QStringLiteral("Label21"), area);
    Label21->setText(
        QStringLiteral("Software version %1").arg(QString::fromLatin1(AppInfo::SoftwareVersion)));
    Label21->setToolTip(QStringLiteral("About"));
    connect(Label21, &ClickableLabel::clicked, this,
            [this] { WindowOpeners::Run(Action::About, this); });
    side->addWidget(Label21);
    row->addLayout(side, 1);
    DrawBars();
    return area;
}

/// The progress of a preset file upload; shown only while one runs.
QWidget *FrmMain::BuildProgressFrame(QWidget *parent)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(QStringLiteral("Frame4"));
    auto *column = new QVBoxLayout(frame);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new QLabel(QStringLiteral("Sending the preset..."), frame));
    auto *bar = new QProgressBar(frame);
    bar->setObjectName(QStringLiteral("ProgressBar1"));
    bar->setTextVisible(false);
    column->addWidget(bar);
    frame->hide();
    return frame;
}

QPushButton *FrmMain::AddButton(const QString &name, const QString &caption, Action action)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    connect(button, &QPushButton::clicked, this, [this, action] { RunPresetAction(action); });
    return button;
}

QPushButton *FrmMain::AddIdleButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->hide();
    return button;
}

QWidget *FrmMain::BuildButtons()
{
    const auto command2 = [](int index) { return QStringLiteral("Command2_%1").arg(index); };
    Command2[0] = AddButton(command2(0), QStringLiteral("Preset from PC"), Action::PresetFromPc);
    Command2[1] = AddButton(command2(1), QStringLiteral("Preset to PC"), Action::PresetToPc);
    Command2[2] =
        AddButton(command2(2), QStringLiteral("Preset to device"), Action::PresetToDevice);
    Command2[3] =
        AddButton(command2(3), QStringLiteral("Preset from device"), Action::PresetFromDevice);
    Command2[PasswordButton] =
        AddButton(command2(PasswordButton), QStringLiteral("Password"), Action::Password);
    Command2[CopyButton] = AddButton(command2(CopyButton), QStringLiteral("Copy"), Action::Copy);
    // Buttons without an action are kept, hidden.
    Command2[5] = AddIdleButton(command2(5), QStringLiteral("Names"));
    Command2[6] = AddIdleButton(command2(6), QStringLiteral("device name"));
    Command2[7] = AddIdleButton(command2(7), QStringLiteral("Output"));
    Command2[9] = AddIdleButton(command2(9), QStringLiteral("Setup"));
    Command1 = AddButton(QStringLiteral("Command1"), QStringLiteral("Preset factory from PC"),
                         Action::FactoryFromPc);
    Command3 = AddButton(QStringLiteral("Command3"), QStringLiteral("Preset factory to PC"),
                         Action::FactoryToPc);

    auto *area = new QWidget(this);
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(0, 2, 0, 0);
    grid->setSpacing(4);
    const std::array<std::array<QPushButton *, 4>, 2> rows{{
        {Command2[0], Command2[1], Command1, Command3},
        {Command2[3], Command2[2], Command2[CopyButton], Command2[PasswordButton]},
    }};
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 4; ++c) {
            rows[r][c]->setParent(area);
            grid->addWidget(rows[r][c], r, c);
        }
    }
    return area;
}

void FrmMain::ConnectModel()
{
    ModFun::Notifier &model = ModFun::notifier();
    connect(&model, &ModFun::Notifier::summaryChanged, this, &FrmMain::ShowSummary);
    connect(&model, &ModFun::Notifier::captionChanged, this, &FrmMain::ShowCaption);
    connect(&model, &ModFun::Notifier::muteChanged, this, &FrmMain::ShowMute);
    connect(&model, &ModFun::Notifier::channelNamesChanged, this, &FrmMain::ShowChannelNames);
    connect(&model, &ModFun::Notifier::linkBoxChanged, this, &FrmMain::ShowLinkBox);
    connect(&model, &ModFun::Notifier::titleChanged, this, &QWidget::setWindowTitle);
    connect(&model, &ModFun::Notifier::lockStateChanged, this, &FrmMain::ApplyLockView);
    connect(&model, &ModFun::Notifier::serviceFlagChanged, this, &FrmMain::ShowServiceButton);
    for (int label = 0; label < ModFun::SummaryCount; ++label) {
        if (Label100[label])
            ShowSummary(label);
    }
    for (int channel = 0; channel < 2; ++channel) {
        ShowCaption(10 * channel + ModFun::EqBlock);
        ShowMute(channel);
    }
}

void FrmMain::ShowSummary(int label)
{
    if (label >= 0 && label < ModFun::SummaryCount && Label100[label])
        Label100[label]->setToolTip(ModFun::state.Summary[label]);
}

void FrmMain::ShowCaption(int label)
{
    const int channel = label / 10;
    if ((channel == 0 || channel == 1) && !ModFun::state.EqCaption[channel].isEmpty())
        Label100[10 * channel + ModFun::EqBlock]->setText(ModFun::state.EqCaption[channel]);
}

void FrmMain::ShowMute(int channel)
{
    if (channel != 0 && channel != 1)
        return;
    Image1[channel]->setPixmap(mutePictures[ModFun::state.Mute[channel] != 0 ? 1 : 0]);
    Image1[channel]->setToolTip(ModFun::state.MuteText[channel]);
}

void FrmMain::ShowChannelNames()
{
    for (int channel = 0; channel < 2; ++channel)
        channelStrips[channel]->setTitle(ModFun::state.ChannelNames[channel]);
}

void FrmMain::ShowLinkBox(bool ticked)
{
    const QSignalBlocker blocker(Check12);
    Check12->setChecked(ticked);
    Command2[CopyButton]->setEnabled(!ticked);
}

void FrmMain::ApplyLockView()
{
    const bool unlocked = ModLock::state.LockState != 1;
    Frame1->setEnabled(unlocked);
    for (int button = 0; button < LockedPresetButtons; ++button)
        Command2[button]->setEnabled(unlocked);
    Command1->setEnabled(unlocked);
    Command3->setEnabled(unlocked);
    Check12->setEnabled(unlocked);
    if (unlocked)
        Command2[CopyButton]->setEnabled(!Check12->isChecked());
}

void FrmMain::ShowServiceButton()
{
    Command3->setVisible(ModLock::state.ServiceFlag);
}

void FrmMain::ShowWholeState()
{
    ModGraph::state.GraphFrozen = 1;
    {
        const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }
    ModGraph::state.GraphFrozen = 0;
}

void FrmMain::OpenBlockEditor(int label)
{
    const int channel = label / 10;
    switch (label % 10) {
    case ModFun::GateBlock:
        WindowOpeners::Run(Action::NoiseGate, this);
        break;
    case ModFun::EqBlock:
    case ModFun::FilterBlock:
        PanelFlags::state.FilterChannel = static_cast<std::int16_t>(channel);
        ModGraph::state.FilterEditorShown = true;
        WindowOpeners::Run(Action::Filter, this);
        ModGraph::state.FilterEditorShown = false;
        break;
    case ModFun::DelayBlock:
        WindowOpeners::Run(Action::Delay, this);
        break;
    case ModFun::LimiterBlock:
        PanelFlags::state.LimiterChannel = static_cast<std::int16_t>(channel);
        WindowOpeners::Run(Action::Limiter, this);
        break;
    default:
        break;
    }
}

void FrmMain::RunPresetAction(Action action)
{
    // The meter poll keeps out of the action's frames.
    const QScopedValueRollback busy(PanelFlags::state.PresetActionBusy, true);
    const LineUse::Hold sequence;
    WindowOpeners::Run(action, this);
}

void FrmMain::MuteClicked(int channel)
{
    if (PanelFlags::state.UpdatingControls)
        return;
    const ModFun::OperatorStep step(channel);
    ModFun::ToggleMute(channel);
    if (ModTxRx::RecoverFromFailure() != ModTxRx::LinkOutcome::LinkUp)
        return;
    // The toggle of the other channel ends on this channel's mute.
    const int other = 1 - channel;
    ModFun::MirrorOntoLinkedChannel(
        [other, channel] { ModFun::state.Mute[other] = 1.0 - ModFun::state.Mute[channel]; },
        [other] { ModFun::ToggleMute(other); });
}

void FrmMain::LinkClicked(bool ticked)
{
    if (PanelFlags::state.UpdatingControls)
        return;
    const LineUse::Hold sequence;
    if (ticked && !Messages::Ask(LinkQuestion(), QStringLiteral("Link A & B"))) {
        const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
        ShowLinkBox(false);
        return;
    }
    const ModFun::OperatorStep step(QStringLiteral("Channel Link"));
    Command2[CopyButton]->setEnabled(!ticked);
    const PointerOverride busy(Qt::BusyCursor);
    ModFun::SetChannelLink(ticked);
}

void FrmMain::PollMeters()
{
    if (PanelFlags::state.PresetActionBusy)
        return;
    if (!ModTxRx::state.LinkIdle) {
        SetPollInterval(PollMs);
        return;
    }
    if (!PanelFlags::state.PanelOpen)
        return;
    if (Meters::Poll(ModFun::state.Mute) != ModTxRx::LinkOutcome::LinkUp)
        return;
    DrawBars();
    SetPollInterval(PollMs);
    emit metersPolled();
}

void FrmMain::DrawBars()
{
    for (int bar = 0; bar < Meters::BarCount; ++bar)
        bars[bar]->SetColours(Meters::BarColoursFor(bar));
}

void FrmMain::SetPollInterval(int ms)
{
    // Setting the interval restarts the timer: only a change may do that, or every tick would
    // come late by the exchange it waited for.
    if (Timer1->interval() != ms)
        Timer1->setInterval(ms);
}

void FrmMain::Unload()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

void FrmMain::CloseAfterFailure()
{
    Timer1->stop();
    // The windows opened from the panel go with it.
    for (QDialog *window : findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
        window->reject();
    Unload();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (!loaded) {
        event->accept();
        return;
    }
    // The operator's close asks and waits for the line; the close after a failure the link
    // could not survive does neither.
    const bool operatorClose = !ModTxRx::state.TransferFailed;
    if (operatorClose && LineUse::PutOffWhileTaken(this, [this] { Unload(); })) {
        event->ignore();
        return;
    }
    if (operatorClose)
        HistoryControls::OfferToKeepUnsaved(this);
    if (operatorClose &&
        !Messages::Ask(QStringLiteral("               Are you sure ? "),
                       QStringLiteral("ID:") + QStringLiteral(" - Close window"))) {
        event->ignore();
        return;
    }
    Timer1->stop();
    Startup::ReleaseUnit(true);
    Unregister();
    event->accept();
    emit closed();
}
