#pragma once

/// Installs the presenters that show message boxes and file dialogs as real windows, and the
/// arrow over boxes (`InstallArrowOverBoxes`).
void InstallMessagePresenters();
/// While a box is up the pointer is the plain arrow, also where the program shows a busy
/// pointer; the pointer shown before comes back when the box was answered.
void InstallArrowOverBoxes();
