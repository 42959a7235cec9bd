#include "editors/ui/EntryBox.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "shell/ModCountry.h"

namespace {

/// The character code a key types, as the key filters know it; -1 for keys that type nothing
/// (arrows, Delete, Home, Tab, Escape, ...), which the box handles as usual.
int CharacterCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return 13;
    if (key == Qt::Key_Backspace)
        return 8;
    if ((event.modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    const QString text = event.text();
    if (text.size() != 1 || !text[0].isPrint())
        return -1;
    return text[0].unicode();
}

} // namespace

EntryBox::EntryBox(KeyFilter filter, QWidget *parent) : QLineEdit(parent), filter(std::move(filter))
{ }

void EntryBox::keyPressEvent(QKeyEvent *event)
{
    const int code = CharacterCodeOf(*event);
    if (code < 0 || PanelFlags::state.UpdatingControls) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const newMod::KeyAction action = filter(code, ModCountry::CommaLocale == 1);
    switch (action.kind) {
    case newMod::KeyAction::Pass:
        QLineEdit::keyPressEvent(event);
        return;
    case newMod::KeyAction::Replace:
        insert(QString(action.replacement));
        return;
    case newMod::KeyAction::Apply:
        emit applied(text());
        return;
    case newMod::KeyAction::Refuse:
        emit refused();
        return;
    }
}

void EntryBox::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit left();
}
