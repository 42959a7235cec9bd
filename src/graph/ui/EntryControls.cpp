#include "graph/ui/EntryControls.h"

#include <algorithm>

#include <QKeyEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "editors/newMod.h"
#include "model/ModFun.h"
#include "shell/ModCountry.h"

namespace {

bool IsEnter(const QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

bool IsAllowedDigitKey(QChar c)
{
    constexpr char16_t Backspace = 8;
    return c.isDigit() || c.unicode() == Backspace;
}

} // namespace

EntryBox::EntryBox(const QString &name, KeyRule rule, QWidget *parent)
    : QLineEdit(parent), rule(rule)
{
    setObjectName(name);
    setAlignment(Qt::AlignRight);
}

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    if (ModFun::state.UpdatingControls)
        return QLineEdit::keyPressEvent(event);
    if (IsEnter(event)) {
        event->accept();
        emit applied();
        return;
    }
    const QString text = event->text();
    if (text.size() != 1)
        return QLineEdit::keyPressEvent(event);
    const newMod::KeyAction action =
        newMod::FilterKey(text[0].unicode(), ModCountry::CommaLocale == 1);
    if (action.kind == newMod::KeyAction::Replace) {
        insert(QString(action.replacement));
        event->accept();
        return;
    }
    // Control characters (copy, paste, Escape) keep their usual meaning in every box.
    if (rule == KeyRule::DigitsOnly && text[0].isPrint() && !IsAllowedDigitKey(text[0])) {
        event->accept();
        emit refused();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void EntryBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
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
