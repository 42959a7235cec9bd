#include "editors/ui/EditorDialog.h"

EditorDialog::EditorDialog(const QString &name, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    setModal(true);
}

bool EditorDialog::CloseIfLinkLost(bool linkKept)
{
    if (!linkKept)
        reject();
    return linkKept;
}
