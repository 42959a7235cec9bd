#include "graph/ui/EntryControls.h"

#include <algorithm>

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

EntryBox *NumberBox(const QString &name, EntryBox::KeyFilter filter, QWidget *parent)
{
    auto *box = new EntryBox(std::move(filter), parent);
    box->setObjectName(name);
    box->setAlignment(Qt::AlignRight);
    return box;
}

UpDown::UpDown(const QString &name, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), minimum(minimum), maximum(maximum), current(minimum)
{
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(AddButton(Qt::UpArrow, 1));
    layout->addWidget(AddButton(Qt::DownArrow, -1));
}

QToolButton *UpDown::AddButton(Qt::ArrowType arrow, int step)
{
    auto *button = new QToolButton(this);
    button->setObjectName(arrow == Qt::UpArrow ? QStringLiteral("Up") : QStringLiteral("Down"));
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(15, 11);
    connect(button, &QToolButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
    connect(button, &QToolButton::clicked, this, [this, step] { stepBy(step); });
    return button;
}

void UpDown::setValue(int value)
{
    value = std::clamp(value, minimum, maximum);
    if (value == current)
        return;
    current = value;
    emit valueChanged(current);
}

void UpDown::stepBy(int steps)
{
    setValue(current + steps);
}

void UpDown::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up)
        stepBy(1);
    else if (event->key() == Qt::Key_Down)
        stepBy(-1);
    else
        QWidget::keyPressEvent(event);
}
