#include "model/ui/HistoryControls.h"

#include <QKeySequence>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QToolBar>

#include "link/LineUse.h"
#include "model/SettingHistory.h"
#include "shell/Messages.h"
#include "shell/ui/WindowOpeners.h"

namespace HistoryControls {

namespace {

/// What `DecorateTitle` adds to a title: the active compare setting, then the unsaved mark.
const QRegularExpression Decoration(QStringLiteral(R"(( \[[AB]\])?( \*)?$)"));

QPushButton *HistoryButton(const QString &name, const QString &caption, QToolBar *toolbar,
                           void (*press)())
{
    auto *button = new QPushButton(caption, toolbar);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->setEnabled(false);
    QObject::connect(button, &QPushButton::clicked, button, press);
    toolbar->addWidget(button);
    return button;
}

void AddShortcut(QWidget *window, const QKeySequence &keys, Qt::ShortcutContext context,
                 void (*press)())
{
    auto *shortcut = new QShortcut(keys, window);
    shortcut->setContext(context);
    QObject::connect(shortcut, &QShortcut::activated, window, press);
}

} // namespace

void Undo()
{
    const LineUse::Hold sequence;
    ModFun::history().Undo();
}

void Redo()
{
    const LineUse::Hold sequence;
    ModFun::history().Redo();
}

void CopyToB()
{
    ModFun::history().CopyToB();
}

void SwitchAB()
{
    const LineUse::Hold sequence;
    const ModFun::OperatorStep step(QStringLiteral("A/B switch"));
    ModFun::history().SwitchAB();
}

void AddShortcuts(QWidget *window, bool applicationWide)
{
    const Qt::ShortcutContext context =
        applicationWide ? Qt::ApplicationShortcut : Qt::WindowShortcut;
    AddShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Z), context, Undo);
    AddShortcut(window, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), context, Redo);
    AddShortcut(window, QKeySequence(Qt::CTRL | Qt::Key_Y), context, Redo);
    AddShortcut(window, QKeySequence(Qt::Key_F6), context, SwitchAB);
}

void AddButtons(QToolBar *toolbar)
{
    QPushButton *undo =
        HistoryButton(QStringLiteral("CommandUndo"), QStringLiteral("Undo"), toolbar, Undo);
    QPushButton *redo =
        HistoryButton(QStringLiteral("CommandRedo"), QStringLiteral("Redo"), toolbar, Redo);
    HistoryButton(QStringLiteral("CommandCopyB"), QStringLiteral("Copy to B"), toolbar, CopyToB)
        ->setEnabled(true);
    QPushButton *ab =
        HistoryButton(QStringLiteral("CommandAB"), QStringLiteral("A/B"), toolbar, SwitchAB);
    ab->setToolTip(QStringLiteral("Switch between settings A and B (F6)"));
    const auto follow = [undo, redo, ab] {
        const ModFun::SettingHistory &history = ModFun::history();
        undo->setEnabled(history.CanUndo());
        undo->setToolTip(history.UndoText());
        redo->setEnabled(history.CanRedo());
        redo->setToolTip(history.RedoText());
        ab->setEnabled(history.HasB());
    };
    QObject::connect(&ModFun::history(), &ModFun::SettingHistory::changed, toolbar, follow);
    follow();
}

void DecorateTitle(QWidget *window)
{
    QObject::connect(&ModFun::history(), &ModFun::SettingHistory::changed, window, [window] {
        const ModFun::SettingHistory &history = ModFun::history();
        QString title = window->windowTitle().remove(Decoration);
        if (history.HasB())
            title += history.BActive() ? QStringLiteral(" [B]") : QStringLiteral(" [A]");
        if (history.Unsaved())
            title += QStringLiteral(" *");
        window->setWindowTitle(title);
    });
}

void OfferToKeepUnsaved(QWidget *parent)
{
    const QString title = QStringLiteral("Unsaved changes");
    if (!ModFun::history().Unsaved())
        return;
    if (Messages::Ask(QStringLiteral("The setting has changed since it was last stored or "
                                     "saved. Store it to the unit first?"),
                      title, Messages::Answer::No))
        WindowOpeners::Run(WindowOpeners::Action::PresetToDevice, parent);
    if (ModFun::history().Unsaved() &&
        Messages::Ask(QStringLiteral("Save it to a file first?"), title, Messages::Answer::No))
        WindowOpeners::Run(WindowOpeners::Action::PresetToPc, parent);
}

} // namespace HistoryControls
