#include "editors/ui/FrmLimiter.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTabWidget>

#include "editors/ui/SliderBox.h"
#include "editors/ui/ThresholdPicture.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"

using namespace EditorValues;

namespace {

struct ValueControls
{
    const char *caption;
    int sliderNumber;
    int boxNumber;
    SliderBox::Scale scale;
};

/// Threshold pages are 1 dB with a tick every 5 dB; release pages 10 ms; attack pages 5 ms.
const std::array<ValueControls, 3> Controls{{
    {"Threshold [dB]", 4, 9, {150, 5, 25}},
    {"Release [ms]", 5, 10, {205, 10, 25}},
    {"Attack [ms]", 6, 11, {49, 5, 5}},
}};

std::uint8_t LimiterByte(int channel, LimiterValue value)
{
    return ModFun::state
        .ParamImage[ValueTables::LimiterOffsets[channel] + LimiterBytePosition[value]];
}

int ShownChannel()
{
    return std::clamp<int>(PanelFlags::state.LimiterChannel, 0, 1);
}

QColor ChannelColour(int channel)
{
    return channel == 0 ? QColor(255, 0, 0) : QColor(0, 0, 255);
}

} // namespace

FrmLimiter::FrmLimiter(QWidget *parent)
    : EditorDialog(QStringLiteral("FrmLimiter"), QStringLiteral("Limiters edit"), parent)
{
    connect(&ModFun::history(), &ModFun::SettingHistory::settingReplaced, this,
            &FrmLimiter::FillFromImage);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("TabStrip1"));
    for (int channel = 0; channel < 2; ++channel)
        tabs->addTab(BuildChannel(channel), ChannelTitle(channel));
    picture = new ThresholdPicture(this);
    picture->setObjectName(QStringLiteral("Picture1"));

    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(tabs);
    layout->addWidget(picture, 0, Qt::AlignVCenter);

    PanelFlags::state.LimiterChannel = static_cast<std::int16_t>(ShownChannel());
    tabs->setCurrentIndex(ShownChannel());
    connect(tabs, &QTabWidget::currentChanged, this, &FrmLimiter::OnTabChanged);
    FillFromImage();
}

QWidget *FrmLimiter::BuildChannel(int channel)
{
    auto *page = new QWidget;
    auto *row = new QHBoxLayout(page);
    for (int k = 0; k < 3; ++k) {
        const auto value = static_cast<LimiterValue>(k);
        const ValueControls &controls = Controls[k];
        const int last = LimiterLastCode[value];
        auto *box = new SliderBox(
            QString::fromLatin1(controls.caption), controls.scale,
            [=](int position) { return LimiterText(value, CodeAt(position, last)); },
            [=](double typed) { return PositionOf(LimiterCodeOfTyped(value, typed), last); }, page);
        box->setNames(QStringLiteral("Slider%1_%2").arg(controls.sliderNumber).arg(channel),
                      QStringLiteral("Text%1_%2").arg(controls.boxNumber).arg(channel));
        connect(box, &SliderBox::moved, this, [=, this] { OnSliderMoved(channel, value); });
        row->addWidget(box);
        values[channel][k] = box;
    }
    return page;
}

void FrmLimiter::FillFromImage()
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    for (int channel = 0; channel < 2; ++channel) {
        for (int k = 0; k < 3; ++k) {
            const auto value = static_cast<LimiterValue>(k);
            values[channel][k]->setPosition(
                PositionOf(LimiterByte(channel, value), LimiterLastCode[value]));
        }
        LoadLimFun(channel);
    }
}

bool FrmLimiter::LoadLimFun(int channel)
{
    std::array<int, 3> codes{};
    for (int k = 0; k < 3; ++k) {
        SliderBox *box = values[channel][k];
        codes[k] = CodeAt(box->position(), LimiterLastCode[k]);
        box->showValue();
    }
    const bool linkKept = ModFun::SetLimiter(
        channel, {codes[LimiterThreshold], codes[LimiterRelease], codes[LimiterAttack]});
    LoadLineThr();
    return CloseIfLinkLost(linkKept);
}

void FrmLimiter::LoadLineThr()
{
    const int channel = ShownChannel();
    picture->ShowThreshold(LimiterValueOf(LimiterThreshold, LimiterByte(channel, LimiterThreshold)),
                           ChannelColour(channel));
}

void FrmLimiter::OnSliderMoved(int channel, LimiterValue value)
{
    const ModFun::OperatorStep step(channel);
    if (PanelFlags::state.UpdatingControls || !LoadLimFun(channel))
        return;
    const int other = 1 - channel;
    ModFun::MirrorOntoLinkedChannel(
        [&] { values[other][value]->setPosition(values[channel][value]->position()); },
        [&] { LoadLimFun(other); });
}

void FrmLimiter::OnTabChanged(int index)
{
    PanelFlags::state.LimiterChannel = static_cast<std::int16_t>(index);
    LoadLineThr();
}
