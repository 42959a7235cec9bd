#pragma once

#include <QDialog>

class QLabel;

/// The about window: the program's version, the unit's firmware version and a picture.
class FrmVersion : public QDialog
{
    Q_OBJECT
public:
    explicit FrmVersion(QWidget *parent = nullptr);
};
