#include "editors/ui/FrmNG.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "editors/EditorValues.h"
#include "editors/ui/SliderBox.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"

using namespace EditorValues;

namespace {

const std::array<const char *, 3> Captions{"Threshold [dB]", "   Release  [ms]",
                                           "    Attack   [sec]"};

GateValue ValueOf(int index)
{
    return static_cast<GateValue>(index % 3);
}

int ChannelOf(int index)
{
    return index / 3;
}

/// The image byte of control i: the gate-on byte is followed by threshold, release, attack.
std::uint8_t GateByte(int index)
{
    return ModFun::state.ParamImage[ValueTables::GateOffsets[ChannelOf(index)] + 1 + index % 3];
}

bool GateOn(int channel)
{
    return ModFun::state.ParamImage[ValueTables::GateOffsets[channel]] == 1;
}

} // namespace

FrmNG::FrmNG(QWidget *parent)
    : EditorDialog(QStringLiteral("FrmNG"), QStringLiteral("Noise Gate edit"), parent)
{
    connect(&ModFun::history(), &ModFun::SettingHistory::settingReplaced, this,
            &FrmNG::FillFromImage);
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    for (int channel = 0; channel < 2; ++channel) {
        BuildChannel(channel);
        auto *column = new QVBoxLayout;
        column->addWidget(enable[channel]);
        column->addWidget(frames[channel]);
        layout->addLayout(column);
    }
    FillFromImage();
}

void FrmNG::BuildChannel(int channel)
{
    enable[channel] = new QCheckBox(QStringLiteral("Enable"), this);
    enable[channel]->setObjectName(QStringLiteral("Check1_%1").arg(channel));
    connect(enable[channel], &QCheckBox::toggled, this, [=, this] { OnEnableToggled(channel); });

    frames[channel] = new QGroupBox(EditorChannelTitle(channel), this);
    frames[channel]->setObjectName(QStringLiteral("Frame1_%1").arg(channel));
    auto *row = new QHBoxLayout(frames[channel]);
    for (int k = 0; k < 3; ++k) {
        const int index = 3 * channel + k;
        const GateValue value = ValueOf(index);
        const int last = GateLastCode[value];
        auto *box = new SliderBox(
            QString::fromLatin1(Captions[k]), {last, 1, 1},
            [=](int position) { return GateText(value, CodeAt(position, last)); },
            [=](double typed) { return PositionOf(GateCodeOfTyped(value, typed), last); },
            frames[channel]);
        box->setNames(QStringLiteral("Slider1_%1").arg(index),
                      QStringLiteral("Text1_%1").arg(index));
        connect(box, &SliderBox::moved, this, [=, this] { OnSliderMoved(index); });
        row->addWidget(box);
        values[index] = box;
    }
}

void FrmNG::FillFromImage()
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    for (int index = 0; index < 6; ++index) {
        values[index]->setPosition(PositionOf(GateByte(index), GateLastCode[ValueOf(index)]));
        LoadNGValFun(index);
    }
    for (int channel = 0; channel < 2; ++channel) {
        const bool on = GateOn(channel);
        const QSignalBlocker blocker(enable[channel]);
        enable[channel]->setChecked(on);
        frames[channel]->setEnabled(on);
    }
}

bool FrmNG::LoadNGOnOffFun(int channel)
{
    const bool on = enable[channel]->isChecked();
    frames[channel]->setEnabled(on);
    return CloseIfLinkLost(ModFun::SetGateOn(channel, on));
}

bool FrmNG::LoadNGValFun(int index)
{
    SliderBox *box = values[index];
    box->showValue();
    const int code = CodeAt(box->position(), GateLastCode[ValueOf(index)]);
    return CloseIfLinkLost(ModFun::SetGateCode(ChannelOf(index), ValueOf(index), code));
}

void FrmNG::OnSliderMoved(int index)
{
    const ModFun::OperatorStep step(ChannelOf(index));
    if (PanelFlags::state.UpdatingControls || !LoadNGValFun(index))
        return;
    const int partner = index < 3 ? index + 3 : index - 3;
    ModFun::MirrorOntoLinkedChannel(
        [&] { values[partner]->setPosition(values[index]->position()); },
        [&] { LoadNGValFun(partner); });
}

void FrmNG::OnEnableToggled(int channel)
{
    const ModFun::OperatorStep step(channel);
    if (PanelFlags::state.UpdatingControls || !LoadNGOnOffFun(channel))
        return;
    const int other = 1 - channel;
    const auto showOnOther = [&] {
        const QSignalBlocker blocker(enable[other]);
        enable[other]->setChecked(enable[channel]->isChecked());
    };
    ModFun::MirrorOntoLinkedChannel(showOnOther, [&] { LoadNGOnOffFun(other); });
}
