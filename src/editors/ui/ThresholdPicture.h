#pragma once

#include <QColor>
#include <QWidget>

/// The limiter's threshold picture: a line rising from the bottom left corner to the threshold
/// and flat after it, in the channel's colour.
class ThresholdPicture : public QWidget
{
    Q_OBJECT
public:
    explicit ThresholdPicture(QWidget *parent = nullptr);

    /// Redraws the lines for a threshold in dB.
    void ShowThreshold(double thresholdDb, const QColor &colour);
    double threshold() const { return thresholdDb; }
    QColor colour() const { return lineColour; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double thresholdDb = 0;
    QColor lineColour;
};
