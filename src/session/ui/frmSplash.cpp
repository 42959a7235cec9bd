#include "session/ui/frmSplash.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include "model/ModFun.h"
#include "shell/AppInfo.h"
#include "shell/ModCountry.h"
#include "shell/ui/PointerOverride.h"
#include "shell/ui/UnitPicture.h"

namespace {

QLabel *UnitPictureLabel(QWidget *parent)
{
    QPixmap picture(360, 84);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    DrawUnitPicture(painter, QRectF(picture.rect()).adjusted(2, 2, -2, -2));
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("Picture1"));
    label->setPixmap(picture);
    return label;
}

QLabel *SplashLabel(const QString &name, const QString &text, qreal scale, bool bold,
                    QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignHCenter);
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * scale);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

frmSplash::frmSplash(QWidget *parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSplash"));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setWindowTitle(QLatin1String(ModFun::ModelName));
    setAutoFillBackground(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(8);
    layout->addWidget(UnitPictureLabel(this), 0, Qt::AlignHCenter);
    layout->addWidget(
        SplashLabel(QStringLiteral("Label1"), QLatin1String(ModFun::ModelName), 1.8, true, this));
    layout->addWidget(SplashLabel(QStringLiteral("Label2"),
                                  QStringLiteral("Remote Control Software"), 1.2, false, this));
    layout->addWidget(
        SplashLabel(QStringLiteral("Label3"),
                    QStringLiteral("Version %1").arg(QString::fromLatin1(AppInfo::SoftwareVersion)),
                    1, false, this));
    // The unit's firmware is not known before connecting.
    auto *firmware = SplashLabel(QStringLiteral("Label4"), QString(), 1, false, this);
    layout->addWidget(firmware);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    AppInfo::Reset();
    firmware->setText(QStringLiteral("Firmware %1").arg(AppInfo::state.FirmwareVersion));
    ModCountry::CheckLocale();
    firmware->hide();
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::TimerFired);
    Timer1->start(ShowMs);
}

void frmSplash::TimerFired()
{
    Timer1->stop();
    {
        const PointerOverride busy(Qt::BusyCursor);
        emit timeUp();
    }
    close();
}
