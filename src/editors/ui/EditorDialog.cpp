#include "editors/ui/EditorDialog.h"
#include "model/ui/HistoryControls.h"

EditorDialog::EditorDialog(const QString &name, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
    HistoryControls::AddShortcuts(this);
}

bool EditorDialog::CloseIfLinkLost(bool linkKept)
{
    if (!linkKept)
        reject();
    return linkKept;
}
