#pragma once

class QToolBar;
class QWidget;

/// The windows' way into the setting's undo history (`ModFun::history()`).
namespace HistoryControls {

/// Undo and redo with the line held, so that a close waits for the last frame.
void Undo();
void Redo();
/// A/B compare: keep the current setting as B; switch the unit to the other setting, as one
/// operator step.
void CopyToB();
void SwitchAB();

/// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo, F6 switches A/B while `window` is active. The main
/// window takes them application-wide; each modal window takes them too, as it blocks the main
/// window's.
void AddShortcuts(QWidget *window, bool applicationWide = false);

/// The toolbar's "Undo" and "Redo" buttons (`CommandUndo`, `CommandRedo`): enabled while there is
/// a step to undo or redo, the tool tip naming it ("Undo CH.A EQ band 4"); "Copy to B"
/// (`CommandCopyB`) and "A/B" (`CommandAB`, enabled once B is kept).
void AddButtons(QToolBar *toolbar);

/// The title of `window` ends in " [A]" or " [B]" once setting B of the compare is kept (the
/// active one), then in " *" while the setting is unsaved.
void DecorateTitle(QWidget *window);

/// Before the panel or the program closes: while the setting is unsaved, offers to store it to
/// the unit (the store window), then to save it to a file (the save dialog).
void OfferToKeepUnsaved(QWidget *parent);

} // namespace HistoryControls
