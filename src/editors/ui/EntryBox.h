#pragma once

#include <functional>

#include <QLineEdit>

#include "editors/newMod.h"

/// A text box for typed numbers: each typed character goes through the box's key filter (not
/// while the program sets controls itself), Enter applies the box and leaving it lets the editor
/// show the model's value again (not when a menu or another window only takes the focus for a
/// while, such as the warning about a refused key).
class EntryBox : public QLineEdit
{
    Q_OBJECT
public:
    /// The filter gets the character code of a key (Enter 13, Backspace 8, Ctrl+V 22) and the
    /// locale's choice of decimal comma.
    using KeyFilter = std::function<newMod::KeyAction(int key, bool commaLocale)>;

    explicit EntryBox(KeyFilter filter, QWidget *parent = nullptr);

signals:
    /// Enter was pressed; the text is what the operator typed.
    void applied(const QString &text);
    /// The filter refused a key; it did not go in.
    void refused();
    /// The box lost the focus to another control of the window.
    void left();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    KeyFilter filter;
};
