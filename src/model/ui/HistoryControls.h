#pragma once

class QToolBar;
class QWidget;

/// The windows' way into the setting's undo history (`ModFun::history()`).
namespace HistoryControls {

/// Undo and redo with the line held, so that a close waits for the last frame.
void Undo();
void Redo();

/// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo while `window` is active. The main window takes
/// them application-wide; each modal window takes them too, as it blocks the main window's.
void AddShortcuts(QWidget *window, bool applicationWide = false);

/// The toolbar's "Undo" and "Redo" buttons (`CommandUndo`, `CommandRedo`): enabled while there is
/// a step to undo or redo, the tool tip naming it ("Undo CH.A EQ band 4").
void AddButtons(QToolBar *toolbar);

/// The title of `window` ends in " *" while the setting is unsaved.
void MarkUnsavedInTitle(QWidget *window);

/// Before the panel or the program closes: while the setting is unsaved, offers to store it to
/// the unit (the store window), then to save it to a file (the save dialog).
void OfferToKeepUnsaved(QWidget *parent);

} // namespace HistoryControls
