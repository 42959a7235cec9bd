#include "remote/ui/FrmRemote.h"

#include <memory>

#include <qrencode.h>

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "editors/ui/FrmMain.h"
#include "link/LineUse.h"
#include "shell/Messages.h"

namespace {

constexpr int QuietModules = 4;
constexpr int ModulePixels = 6;

template<typename Widget> Widget *Named(Widget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

QImage QrCodeImage(const QString &text, int scale)
{
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.toUtf8().constData(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), QRcode_free);
    if (!code)
        return {};
    const int side = code->width + 2 * QuietModules;
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    for (int y = 0; y < code->width; ++y) {
        for (int x = 0; x < code->width; ++x) {
            // Bit 0 of each module byte is its colour: 1 black.
            if (code->data[y * code->width + x] & 1)
                image.setPixel(x + QuietModules, y + QuietModules, 1);
        }
    }
    image.setColor(0, qRgb(255, 255, 255));
    image.setColor(1, qRgb(0, 0, 0));
    return image.scaled(side * scale, side * scale);
}

FrmRemote::FrmRemote(FrmMain *panel, QWidget *parent)
    : QWidget(parent, Qt::Window), panel(panel),
      TextAddress(Named(new QLineEdit(this), QStringLiteral("TextAddress"))),
      PictureQr(Named(new QLabel(this), QStringLiteral("PictureQr"))),
      LabelToken(Named(new QLabel(this), QStringLiteral("LabelToken"))),
      LabelRemotes(Named(new QLabel(this), QStringLiteral("LabelRemotes"))),
      CommandStart(
          Named(new QPushButton(QStringLiteral("Start"), this), QStringLiteral("CommandStart"))),
      CommandStop(
          Named(new QPushButton(QStringLiteral("Stop"), this), QStringLiteral("CommandStop")))
{
    setObjectName(QStringLiteral("FrmRemote"));
    setWindowTitle(QStringLiteral("Remote"));
    TextAddress->setReadOnly(true);
    TextAddress->setMinimumWidth(380);
    LabelToken->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Open on the phone or tablet:"), this), 0, 0, 1, 2);
    layout->addWidget(TextAddress, 1, 0, 1, 2);
    layout->addWidget(PictureQr, 2, 0, 1, 2, Qt::AlignCenter);
    layout->addWidget(LabelToken, 3, 0, 1, 2);
    layout->addWidget(LabelRemotes, 4, 0, 1, 2);
    layout->addWidget(CommandStart, 5, 0);
    layout->addWidget(CommandStop, 5, 1);
    connect(CommandStart, &QPushButton::clicked, this, &FrmRemote::Start);
    connect(CommandStop, &QPushButton::clicked, this, &FrmRemote::Stop);
    connect(&remote, &RemoteServer::remotesChanged, this, &FrmRemote::ShowState);
    if (panel) {
        connect(panel, &FrmMain::metersPolled, &remote, &RemoteServer::SendMeters);
        connect(panel, &FrmMain::closed, this, &QWidget::close);
    }
    ShowState();
}

void FrmRemote::Start()
{
    if (!panel)
        return;
    if (!remote.Start())
        Messages::Tell(QStringLiteral("No network port could be opened"), QStringLiteral("Remote"),
                       Messages::Icon::Exclamation);
    ShowState();
}

void FrmRemote::Stop()
{
    remote.Stop();
    ShowState();
}

void FrmRemote::ShowState()
{
    const bool running = remote.Running();
    CommandStart->setEnabled(!running && panel);
    CommandStop->setEnabled(running);
    TextAddress->setText(running ? remote.Address() : QStringLiteral("Not serving"));
    LabelToken->setText(running ? QStringLiteral("Token: %1").arg(remote.Token()) : QString());
    PictureQr->setPixmap(running ? QPixmap::fromImage(QrCodeImage(remote.Address(), ModulePixels))
                                 : QPixmap());
    const int count = remote.RemoteCount();
    LabelRemotes->setText(running ? QStringLiteral("Writer: %1, readers: %2")
                                        .arg(count > 0 ? 1 : 0)
                                        .arg(count > 0 ? count - 1 : 0)
                                  : QString());
}

void FrmRemote::closeEvent(QCloseEvent *event)
{
    // An edit from a remote may be on the line: the window goes once it is answered.
    if (LineUse::PutOffWhileTaken(this, [this] { close(); })) {
        event->ignore();
        return;
    }
    remote.Stop();
    event->accept();
}
