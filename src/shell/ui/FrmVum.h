#pragma once

#include <QDialog>

class QProgressBar;

/// The loading window shown while the program reads the unit's state after connecting.
class FrmVum : public QDialog
{
    Q_OBJECT
public:
    explicit FrmVum(QWidget *parent = nullptr);

    QProgressBar *progressBar() const { return ProgressBar1; }

private:
    QProgressBar *ProgressBar1;
};
