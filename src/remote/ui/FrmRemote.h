#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "remote/RemoteServer.h"

class QLabel;
class QLineEdit;
class QPushButton;
class FrmMain;

/// The web remote's window: "Start" serves the page for the open overview panel, "Stop" ends it.
/// While it serves, the window shows the address with its token, the address as a QR code for
/// the phone's camera, and how many remotes are connected. The server stops when the window
/// closes or the panel closes (the window then closes too); the meters go out on the panel's
/// own poll.
class FrmRemote : public QWidget
{
    Q_OBJECT
public:
    FrmRemote(FrmMain *panel, QWidget *parent = nullptr);

    RemoteServer &server() { return remote; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Start();
    void Stop();
    void ShowState();

    RemoteServer remote;
    QPointer<FrmMain> panel;
    QLineEdit *TextAddress;
    QLabel *PictureQr;
    QLabel *LabelToken;
    QLabel *LabelRemotes;
    QPushButton *CommandStart;
    QPushButton *CommandStop;
};

/// The QR code of a text, black modules on white with a four-module quiet zone, `scale` pixels a
/// module; a null image when the text does not fit a QR code.
QImage QrCodeImage(const QString &text, int scale);
