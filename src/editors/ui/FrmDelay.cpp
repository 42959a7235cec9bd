#include "editors/ui/FrmDelay.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "editors/EditorValues.h"
#include "editors/ui/EntryBox.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "model/SystemFlags.h"
#include "shell/Messages.h"
#include "shell/ModCountry.h"

using namespace EditorValues;

namespace {

constexpr int FieldWidth = 90;

bool InMetres()
{
    return ModFun::state.DelayInMetres == 1.0;
}

std::uint8_t DelayByte(int channel, int byte)
{
    return ModFun::state.ParamImage[ValueTables::DelayOffsets[channel] + byte];
}

QSpinBox *Spinner(const QString &name, int last, QWidget *parent)
{
    auto *spinner = new QSpinBox(parent);
    spinner->setObjectName(name);
    spinner->setRange(0, last);
    spinner->setAlignment(Qt::AlignRight);
    spinner->setFixedWidth(FieldWidth);
    // A typed number counts once Enter or leaving the spinner confirms it.
    spinner->setKeyboardTracking(false);
    return spinner;
}

} // namespace

FrmDelay::FrmDelay(QWidget *parent)
    : EditorDialog(QStringLiteral("FrmDelay"), QStringLiteral("Delays edit"), parent)
{
    connect(&ModFun::history(), &ModFun::SettingHistory::settingReplaced, this,
            &FrmDelay::FillFromImage);
    auto *channels = new QHBoxLayout;
    for (int channel = 0; channel < 2; ++channel)
        channels->addWidget(BuildChannel(channel));
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(channels);
    layout->addWidget(BuildUnitChoice());
    FillFromImage();
}

QGroupBox *FrmDelay::BuildChannel(int channel)
{
    frames[channel] = new QGroupBox(this);
    frames[channel]->setObjectName(QStringLiteral("Frame1_%1").arg(channel));
    coarse[channel] =
        Spinner(QStringLiteral("UpDown1_%1").arg(channel), ValueTables::LastDelayMs, this);
    fine[channel] =
        Spinner(QStringLiteral("UpDown2_%1").arg(channel), ValueTables::LastDelayFineCode, this);
    delayBox[channel] = new EntryBox(FilterDelayKey, this);
    delayBox[channel]->setObjectName(QStringLiteral("Text2_%1").arg(channel));
    delayBox[channel]->setAlignment(Qt::AlignRight);
    delayBox[channel]->setFixedWidth(FieldWidth);

    auto *form = new QFormLayout(frames[channel]);
    form->addRow(QStringLiteral("Coarse (1 ms)"), coarse[channel]);
    form->addRow(QStringLiteral("Fine (0.0208 ms)"), fine[channel]);
    form->addRow(QStringLiteral("Delay"), delayBox[channel]);

    for (QSpinBox *spinner : {coarse[channel], fine[channel]})
        connect(spinner, &QSpinBox::valueChanged, this, [=, this] { OnSpinnerChanged(channel); });
    connect(delayBox[channel], &EntryBox::applied, this,
            [=, this](const QString &text) { OnTyped(channel, text); });
    connect(delayBox[channel], &EntryBox::left, this, [=, this] { ShowDelay(channel); });
    return frames[channel];
}

QGroupBox *FrmDelay::BuildUnitChoice()
{
    auto *frame = new QGroupBox(QStringLiteral("Unit"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    auto *row = new QHBoxLayout(frame);
    const std::array<QString, 2> captions{QStringLiteral("Millisecond"), QStringLiteral("Meter")};
    for (int k = 0; k < 2; ++k) {
        unitChoice[k] = new QRadioButton(captions[k], frame);
        unitChoice[k]->setObjectName(QStringLiteral("Option1_%1").arg(k));
        row->addWidget(unitChoice[k]);
    }
    row->addStretch();
    // Both buttons change together: one handler, on the metres button.
    connect(unitChoice[1], &QRadioButton::toggled, this, [this] {
        if (!PanelFlags::state.UpdatingControls)
            LoadPrintAllDelayFun();
    });
    return frame;
}

void FrmDelay::FillFromImage()
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    for (int channel = 0; channel < 2; ++channel) {
        SetSpinners(channel, DelayByte(channel, 0) * 256 + DelayByte(channel, 1),
                    DelayByte(channel, 2));
        LoadDelaysFun(channel);
    }
    {
        const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
        unitChoice[InMetres() ? 1 : 0]->setChecked(true);
    }
    ShowUnit();
}

bool FrmDelay::LoadDelaysFun(int channel)
{
    const bool linkKept =
        ModFun::SetDelay(channel, coarse[channel]->value(), fine[channel]->value());
    ShowDelay(channel);
    return CloseIfLinkLost(linkKept);
}

void FrmDelay::LoadPrintAllDelayFun()
{
    if (CloseIfLinkLost(ModFun::SetDelayUnit(unitChoice[1]->isChecked())))
        ShowUnit();
}

void FrmDelay::LinkingFunctionDelay(int channel)
{
    const int other = 1 - channel;
    ModFun::MirrorOntoLinkedChannel(
        [&] { SetSpinners(other, coarse[channel]->value(), fine[channel]->value()); },
        [&] { LoadDelaysFun(other); });
}

void FrmDelay::OnSpinnerChanged(int channel)
{
    const ModFun::OperatorStep step(channel);
    if (!PanelFlags::state.UpdatingControls && LoadDelaysFun(channel))
        LinkingFunctionDelay(channel);
}

void FrmDelay::OnTyped(int channel, const QString &text)
{
    const ModFun::OperatorStep step(channel);
    const std::optional<double> typed = TypedDelay(text);
    if (!typed) {
        Messages::Warn(QLatin1String(IncorrectValue));
        ShowDelay(channel);
        return;
    }
    const DelaySetting setting = DelayOfTyped(*typed, InMetres());
    SetSpinners(channel, setting.coarse, setting.fine);
    if (LoadDelaysFun(channel))
        LinkingFunctionDelay(channel);
}

void FrmDelay::ShowDelay(int channel)
{
    delayBox[channel]->setText(ModCountry::NumberText(ModFun::DelayShown(channel)));
}

void FrmDelay::ShowUnit()
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    for (int channel = 0; channel < 2; ++channel) {
        frames[channel]->setTitle(DelayFrameCaption(channel, InMetres()));
        ShowDelay(channel);
        ModFun::SendDelay(channel);
    }
}

void FrmDelay::SetSpinners(int channel, int coarseValue, int fineValue)
{
    const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
    const QSignalBlocker coarseBlocker(coarse[channel]);
    const QSignalBlocker fineBlocker(fine[channel]);
    coarse[channel]->setValue(coarseValue);
    fine[channel]->setValue(fineValue);
}
