#pragma once

#include <QDialog>

class NumberedList;
class QProgressBar;
class QPushButton;

/// "Preset": picks one of the 32 presets and reads it into the model.
class FrmRead : public QDialog
{
    Q_OBJECT
public:
    explicit FrmRead(QWidget *parent = nullptr);

    /// The Read button and a double-click on the list.
    void Read();

private:
    NumberedList *list;
    QPushButton *Command1_1;
    QProgressBar *ProgressBar1;
};
