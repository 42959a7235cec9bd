#include "graph/ui/EqBandGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "graph/FilterEdit.h"
#include "graph/ui/EntryControls.h"

namespace {

enum Row { NumberRow, SliderRow, GainRow, FrequencyRow, QRow };

constexpr int BoxWidth = 48;
constexpr int SliderHeight = 118;

QLabel *Caption(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

/// "+15", "0" and "-15" beside the first slider, at the top, middle and bottom of its travel.
QWidget *SliderScale(QWidget *parent)
{
    auto *scale = new QWidget(parent);
    auto *layout = new QVBoxLayout(scale);
    layout->setContentsMargins(0, 2, 0, 2);
    const char *marks[] = {"+15", "0", "-15"};
    for (int k = 0; k < 3; ++k) {
        if (k > 0)
            layout->addStretch();
        auto *label = new QLabel(QLatin1String(marks[k]), scale);
        label->setAlignment(Qt::AlignRight);
        QFont font = label->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        label->setFont(font);
        label->setEnabled(false);
        layout->addWidget(label);
    }
    scale->setFixedHeight(SliderHeight);
    return scale;
}

} // namespace

EqBandGrid::EqBandGrid(int channel, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("EqBands_%1").arg(channel));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(3);
    AddCaptions(channel);
    for (int k = 0; k < ValueTables::BandsPerChannel; ++k)
        AddBand(channel, k);
}

void EqBandGrid::AddCaptions(int channel)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    grid->addWidget(SliderScale(this), SliderRow, 0);
    grid->addWidget(
        Caption(QStringLiteral("Label2_%1").arg(2 * channel), QStringLiteral("dB"), this), GainRow,
        0);
    grid->addWidget(
        Caption(QStringLiteral("Label2_%1").arg(2 * channel + 1), QStringLiteral("Hz"), this),
        FrequencyRow, 0);
    grid->addWidget(Caption(QStringLiteral("QCaption_%1").arg(channel), QStringLiteral("Q"), this),
                    QRow, 0);
}

void EqBandGrid::AddBand(int channel, int k)
{
    auto *grid = static_cast<QGridLayout *>(layout());
    const int band = channel * ValueTables::BandsPerChannel + k;
    const int column = k + 1;
    const auto name = [band](const char *control) {
        return QStringLiteral("%1_%2").arg(QLatin1String(control)).arg(band);
    };
    BandControls &controls = bands[k];

    auto *number = new QLabel(QString::number(k + 1), this);
    number->setObjectName(name("BandNumber"));
    number->setAlignment(Qt::AlignCenter);
    QFont bold = number->font();
    bold.setBold(true);
    number->setFont(bold);
    grid->addWidget(number, NumberRow, column);

    controls.slider = new QSlider(Qt::Vertical, this);
    controls.slider->setObjectName(name("Slider2"));
    controls.slider->setRange(FilterEdit::SliderTop, FilterEdit::SliderBottom);
    // Position 0 at the top (+15 dB); the up key and the wheel raise the gain.
    controls.slider->setInvertedAppearance(true);
    controls.slider->setInvertedControls(true);
    controls.slider->setPageStep(2);
    controls.slider->setTickPosition(QSlider::TicksBothSides);
    controls.slider->setTickInterval(10);
    // One change per release of the handle, as for a click or a key.
    controls.slider->setTracking(false);
    controls.slider->setFixedHeight(SliderHeight);
    // The style fills the groove from the top (+15 dB) down to the handle, which reads as a
    // level; a plain groove says only where the handle is.
    QPalette plain = controls.slider->palette();
    plain.setColor(QPalette::Highlight, plain.color(QPalette::Button).darker(112));
    controls.slider->setPalette(plain);
    grid->addWidget(controls.slider, SliderRow, column, Qt::AlignHCenter);

    controls.gain = NumberBox(name("Text3"), newMod::FilterKey, this);
    controls.frequency = NumberBox(name("Text4"), newMod::FilterKey, this);
    controls.frequency->setText(QStringLiteral("20000"));
    for (EntryBox *box : {controls.gain, controls.frequency})
        box->setFixedWidth(BoxWidth);
    grid->addWidget(controls.gain, GainRow, column);
    grid->addWidget(controls.frequency, FrequencyRow, column);

    auto *qCell = new QWidget(this);
    auto *qLayout = new QHBoxLayout(qCell);
    qLayout->setContentsMargins(0, 0, 0, 0);
    qLayout->setSpacing(0);
    controls.q = NumberBox(name("Text5"), newMod::FilterKey, qCell);
    controls.q->setText(QStringLiteral("1.05"));
    controls.qButtons = new UpDown(name("UpDown3"), 0, ValueTables::LastQCode, qCell);
    controls.q->setFixedWidth(BoxWidth - 15);
    qLayout->addWidget(controls.q);
    qLayout->addWidget(controls.qButtons);
    grid->addWidget(qCell, QRow, column);
}
