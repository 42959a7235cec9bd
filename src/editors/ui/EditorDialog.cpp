#include "editors/ui/EditorDialog.h"

#include "link/ModTxRx.h"

EditorDialog::EditorDialog(const QString &name, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

bool EditorDialog::KeptAfterSending()
{
    if (ModTxRx::RecoverFromFailure() == ModTxRx::LinkOutcome::LinkUp)
        return true;
    reject();
    return false;
}
