#pragma once

/// Installs the presenters that show message boxes and file dialogs as real windows.
void InstallMessagePresenters();
