#pragma once

#include <QDialog>

class NumberedList;
class QComboBox;
class QLineEdit;
class QProgressBar;

/// "Memory Preset": stores the current setting with a name into one of the 16 user places.
class FrmStore : public QDialog
{
    Q_OBJECT
public:
    explicit FrmStore(QWidget *parent = nullptr);

    /// The Store button.
    void Store();

private:
    void SelectPlace(int place);
    void RefuseWideCharacters();

    NumberedList *list;
    QLineEdit *Text1;
    QComboBox *Combo1;
    QProgressBar *ProgressBar1;
};
