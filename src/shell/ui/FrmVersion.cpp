#include "shell/ui/FrmVersion.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "shell/AppInfo.h"
#include "shell/ui/UnitPicture.h"

namespace {

class UnitPictureBox : public QWidget
{
public:
    explicit UnitPictureBox(QWidget *parent) : QWidget(parent)
    {
        setObjectName(QStringLiteral("Picture1"));
        setFixedSize(300, 70);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        DrawUnitPicture(painter, QRectF(rect()).adjusted(2, 2, -2, -2));
    }
};

QLabel *NamedLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

FrmVersion::FrmVersion(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmVersion"));
    setWindowTitle(QStringLiteral("About"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(new UnitPictureBox(this), 0, 0, 1, 2, Qt::AlignHCenter);
    auto *title = NamedLabel(QStringLiteral("Label1"),
                             QStringLiteral("MX-RF418 - Remote Control Software"), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title, 1, 0, 1, 2, Qt::AlignHCenter);
    layout->addWidget(new QLabel(QStringLiteral("Software version:"), this), 2, 0);
    layout->addWidget(
        NamedLabel(QStringLiteral("Label2"), QString::fromLatin1(AppInfo::SoftwareVersion), this),
        2, 1);
    layout->addWidget(new QLabel(QStringLiteral("Firmware version:"), this), 3, 0);
    layout->addWidget(NamedLabel(QStringLiteral("Label3"), AppInfo::state.FirmwareVersion, this), 3,
                      1);
    auto *close = new QPushButton(QStringLiteral("OK"), this);
    close->setObjectName(QStringLiteral("Command1"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 4, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
