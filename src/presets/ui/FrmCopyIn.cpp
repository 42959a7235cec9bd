#include "presets/ui/FrmCopyIn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/ModFun.h"
#include "model/SettingHistory.h"
#include "presets/ChannelCopy.h"
#include "presets/ui/BarProgress.h"

namespace {

QComboBox *ChannelList(const QString &name, int selected, QWidget *parent)
{
    auto *list = new QComboBox(parent);
    list->setObjectName(name);
    for (const QString &channel : ModFun::state.ChannelNames)
        list->addItem(channel);
    list->setCurrentIndex(selected);
    return list;
}

QCheckBox *Box(const QString &name, const QString &text, bool ticked, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    box->setChecked(ticked);
    return box;
}

QGroupBox *Frame(const QString &name, const QString &caption, QWidget *content, QWidget *parent)
{
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto *layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}

} // namespace

FrmCopyIn::FrmCopyIn(QWidget *parent)
    : QDialog(parent), Combo1_0(ChannelList(QStringLiteral("Combo1_0"), 0, this)),
      Combo1_1(ChannelList(QStringLiteral("Combo1_1"), 1, this)),
      Check1(Box(QStringLiteral("Check1"), QStringLiteral("Gate"), true, this)),
      Check2(Box(QStringLiteral("Check2"), QStringLiteral("Delay"), true, this)),
      Check3(Box(QStringLiteral("Check3"), QStringLiteral("Filter"), true, this)),
      Check5(Box(QStringLiteral("Check5"), QStringLiteral("Limiter"), true, this)),
      Check6(Box(QStringLiteral("Check6"), QStringLiteral("Lp Filter"), false, this))
{
    setObjectName(QStringLiteral("FrmCopyIn"));
    setWindowTitle(QStringLiteral("Copy"));

    auto *boxes = new QWidget(this);
    auto *boxLayout = new QGridLayout(boxes);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->addWidget(Check1, 0, 0);
    boxLayout->addWidget(Check2, 1, 0);
    boxLayout->addWidget(Check3, 2, 0);
    boxLayout->addWidget(Check5, 0, 1);
    boxLayout->addWidget(Check6, 1, 1);
    auto *copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("Command1"));
    copy->setDefault(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Frame(QStringLiteral("Frame1"), QStringLiteral("Source"), Combo1_0, this), 0,
                      0);
    layout->addWidget(
        Frame(QStringLiteral("Frame2"), QStringLiteral("Destination"), Combo1_1, this), 0, 1);
    layout->addWidget(Frame(QStringLiteral("Frame3"), QStringLiteral("Parameter"), boxes, this), 1,
                      0, 1, 2);
    layout->addWidget(copy, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(copy, &QPushButton::clicked, this, &FrmCopyIn::Copy);
}

void FrmCopyIn::Copy()
{
    const ChannelCopy::Selection ticked{Check1->isChecked(), Check2->isChecked(),
                                        Check3->isChecked(), Check5->isChecked(),
                                        Check6->isChecked()};
    const ModFun::OperatorStep step(QStringLiteral("channel copy"));
    // No bar: the copy shows the busy pointer only.
    const auto outcome = ChannelCopy::CopyAsked(Combo1_0->currentIndex(), Combo1_1->currentIndex(),
                                                ticked, Presets::BarProgress(nullptr));
    if (outcome == ChannelCopy::Outcome::Copied || outcome == ChannelCopy::Outcome::Stopped)
        accept();
}
