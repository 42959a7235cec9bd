#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;

/// "Copy": copies chosen blocks of one channel onto the other.
class FrmCopyIn : public QDialog
{
    Q_OBJECT
public:
    explicit FrmCopyIn(QWidget *parent = nullptr);

    /// The copy button.
    void Copy();

private:
    QComboBox *Combo1_0;
    QComboBox *Combo1_1;
    QCheckBox *Check1;
    QCheckBox *Check2;
    QCheckBox *Check3;
    QCheckBox *Check5;
    QCheckBox *Check6;
};
