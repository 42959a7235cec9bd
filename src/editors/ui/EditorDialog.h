#pragma once

#include <QDialog>

/// What the gate, limiter and delay editors share: a fixed-size modal window that closes itself
/// when the link to the unit is lost.
class EditorDialog : public QDialog
{
    Q_OBJECT
protected:
    EditorDialog(const QString &name, const QString &caption, QWidget *parent);

    /// The recovery rule after a frame. False when the link could not be mended: the overview
    /// panel has been closed, this window closes too and the caller stops.
    bool KeptAfterSending();
};
