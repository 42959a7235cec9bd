#pragma once

#include <QDialog>

/// What the gate, limiter and delay editors share: a fixed-size modal window that closes itself
/// when the link to the unit is lost.
class EditorDialog : public QDialog
{
    Q_OBJECT
protected:
    EditorDialog(const QString &name, const QString &caption, QWidget *parent);

    /// Closes this window too when a setter answered that the link could not be mended (the
    /// overview panel has closed); passes the answer on, so that the caller stops.
    bool CloseIfLinkLost(bool linkKept);
};
