#pragma once

#include <QWidget>

#include "editors/ui/EntryBox.h"

class QToolButton;

/// A numeric box of the filter window named `name`, right-aligned, with the key filter given.
EntryBox *NumberBox(const QString &name, EntryBox::KeyFilter filter, QWidget *parent);

/// Spin buttons `UpDown3` beside a Q box: the value is an index, one step per click; the up
/// button raises it. Setting the value in code emits `valueChanged` unless signals are blocked.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(const QString &name, int minimum, int maximum, QWidget *parent);

    int value() const { return current; }
    void setValue(int value);
    void stepBy(int steps);

signals:
    void valueChanged(int value);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QToolButton *AddButton(Qt::ArrowType arrow, int step);

    int minimum;
    int maximum;
    int current;
};
