#pragma once

#include <functional>

#include <QWidget>

class QLabel;
class QSlider;
class EntryBox;

/// One editable value: its caption, a vertical slider that runs upside down (position 0 at the
/// top) and a text box under it for typing the value. `moved` tells that the operator set the
/// value: with the slider (keys, a click, the end of a drag; during a drag the box shows where it
/// would land) or by typing a number and Enter, which puts the slider on the nearest position
/// first. A typed text that is not a number is refused with a warning. Leaving the box shows the
/// slider's value again.
class SliderBox : public QWidget
{
    Q_OBJECT
public:
    struct Scale
    {
        int lastPosition;
        int pageStep;
        int tickInterval;
    };
    /// The text of the value at a slider position.
    using TextAt = std::function<QString(int position)>;
    /// The slider position nearest to a typed number.
    using PositionOfTyped = std::function<int(double typed)>;

    SliderBox(const QString &caption, Scale scale, TextAt textAt, PositionOfTyped positionOfTyped,
              QWidget *parent = nullptr);

    /// Names the slider and the box (`Slider1_0`, `Text1_0`).
    void setNames(const QString &sliderName, const QString &boxName);

    int position() const;
    /// Sets the slider without telling `moved`, and shows its value.
    void setPosition(int position);
    /// Writes the value at the slider's position into the box.
    void showValue();

signals:
    void moved();

private:
    void ApplyTyped(const QString &text);

    QSlider *slide;
    EntryBox *entry;
    TextAt textAt;
    PositionOfTyped positionOfTyped;
};
