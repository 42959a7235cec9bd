#pragma once

#include <array>

#include <QDialog>

#include "report/ResponseTable.h"

class QCheckBox;
class QComboBox;
class QRadioButton;

/// The export dialog of the filter window: the response of channel A, B or both as a CSV table
/// (on the program's points, or on 1/24-octave points), a PNG picture or an SVG drawing.
/// "Save..." asks for the file through the message layer and writes it; the dialog closes when
/// the file is written and stays open, having said why, when it is not.
class FrmExport : public QDialog
{
    Q_OBJECT
public:
    /// `channel` 0 or 1 is chosen first (the filter window's tab).
    explicit FrmExport(int channel, QWidget *parent = nullptr);

private:
    void Save();
    Report::Channels ChosenChannels() const;
    void FormatChosen();

    std::array<QRadioButton *, 3> channelChoice{}; ///< A, B, both
    QComboBox *format = nullptr;
    QCheckBox *octavePoints = nullptr;
};
