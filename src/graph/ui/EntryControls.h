#pragma once

#include <QLineEdit>
#include <QWidget>

class QToolButton;

/// A numeric text box of the filter window. Enter applies it (`applied`), leaving it restores it
/// from the model (`left`; not when a menu or another window only takes the focus for a while),
/// and typed characters go through its key rule. Keys are not examined while the program sets
/// controls itself.
class EntryBox : public QLineEdit
{
    Q_OBJECT
public:
    enum class KeyRule {
        /// The key filter the numeric boxes share: a comma or full stop becomes the locale's
        /// decimal separator, every other key goes in.
        Shared,
        /// Crossover frequencies: digits, backspace and the separator only; any other printable
        /// key is refused (`refused`) and does not go in.
        DigitsOnly,
    };

    EntryBox(const QString &name, KeyRule rule, QWidget *parent);

signals:
    void applied();
    void refused();
    void left();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyRule rule;
};

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
