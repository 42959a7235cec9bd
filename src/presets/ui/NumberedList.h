#pragma once

#include <QStringList>
#include <QWidget>

class QListWidget;

/// A list of preset names (`List1`) with their two-digit numbers in a column beside it, painted
/// row by row where the list shows its rows. Names are shown in a fixed-width font, so centred
/// names look centred.
class NumberedList : public QWidget
{
    Q_OBJECT
public:
    NumberedList(int firstNumber, int count, int visibleRows, QWidget *parent);

    QListWidget *names() const { return List1; }
    void SetNames(const QStringList &names);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QListWidget *List1;
    QWidget *numbers;
};
