#include "editors/ui/SliderBox.h"

#include <QLabel>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QVBoxLayout>

#include "editors/EditorValues.h"
#include "editors/ui/EntryBox.h"
#include "shell/Messages.h"

namespace {

// Every column has the same size, so that sliders and boxes line up across the editors.
constexpr int ColumnWidth = 92;
constexpr int SliderHeight = 170;
constexpr int BoxWidth = 64;

/// A vertical slider whose position 0 is at the top, with the up arrow (and the wheel) moving the
/// handle up. Its groove is filled from the bottom up to the handle, as on a fader, where the
/// style would fill it from the top.
class UpsideDownSlider : public QSlider
{
public:
    explicit UpsideDownSlider(QWidget *parent) : QSlider(Qt::Vertical, parent)
    {
        setInvertedAppearance(true);
        setInvertedControls(true);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStyleOptionSlider option;
        initStyleOption(&option);
        option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
        if (tickPosition() != NoTicks)
            option.subControls |= QStyle::SC_SliderTickmarks;
        // The mirrored value on the mirrored scale lands on the same pixels; only the fill turns.
        option.upsideDown = !option.upsideDown;
        option.sliderPosition = option.minimum + option.maximum - option.sliderPosition;
        option.sliderValue = option.minimum + option.maximum - option.sliderValue;
        QPainter painter(this);
        style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
    }
};

} // namespace

SliderBox::SliderBox(const QString &caption, Scale scale, TextAt textAt,
                     PositionOfTyped positionOfTyped, QWidget *parent)
    : QWidget(parent), textAt(std::move(textAt)), positionOfTyped(std::move(positionOfTyped))
{
    auto *label = new QLabel(caption, this);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);

    slide = new UpsideDownSlider(this);
    slide->setRange(0, scale.lastPosition);
    slide->setSingleStep(1);
    slide->setPageStep(scale.pageStep);
    slide->setTickInterval(scale.tickInterval);
    slide->setTickPosition(QSlider::TicksBothSides);
    slide->setTracking(false);
    slide->setFixedHeight(SliderHeight);
    slide->setFocusPolicy(Qt::StrongFocus);

    entry = new EntryBox(newMod::FilterKey, this);
    entry->setAlignment(Qt::AlignCenter);
    entry->setFixedWidth(BoxWidth);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(slide, 0, Qt::AlignHCenter);
    layout->addWidget(entry, 0, Qt::AlignHCenter);
    setFixedWidth(ColumnWidth);

    connect(slide, &QSlider::valueChanged, this, [this] {
        showValue();
        emit moved();
    });
    connect(slide, &QSlider::sliderMoved, this,
            [this](int position) { entry->setText(this->textAt(position)); });
    connect(entry, &EntryBox::applied, this, &SliderBox::ApplyTyped);
    connect(entry, &EntryBox::left, this, &SliderBox::showValue);
}

void SliderBox::setNames(const QString &sliderName, const QString &boxName)
{
    slide->setObjectName(sliderName);
    entry->setObjectName(boxName);
}

int SliderBox::position() const
{
    return slide->value();
}

void SliderBox::setPosition(int position)
{
    const QSignalBlocker blocker(slide);
    slide->setValue(position);
    showValue();
}

void SliderBox::showValue()
{
    entry->setText(textAt(slide->value()));
}

void SliderBox::ApplyTyped(const QString &text)
{
    const std::optional<double> typed = EditorValues::TypedNumber(text);
    if (!typed) {
        Messages::Warn(QLatin1String(EditorValues::IncorrectValue));
        showValue();
        return;
    }
    setPosition(positionOfTyped(*typed));
    emit moved();
}
