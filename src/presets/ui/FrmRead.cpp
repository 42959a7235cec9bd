#include "presets/ui/FrmRead.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "link/ModTxRx.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "presets/ui/BarProgress.h"
#include "presets/ui/NumberedList.h"

namespace {

const QString Caption = QStringLiteral("Preset");

QPushButton *NamedButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QStringList AllNames()
{
    const auto &names = ModPreset::state.PresetNames;
    return QStringList(names.begin(), names.end());
}

} // namespace

FrmRead::FrmRead(QWidget *parent)
    : QDialog(parent), list(new NumberedList(1, ModPreset::PresetCount, 16, this)),
      Command1_1(NamedButton(QStringLiteral("Command1_1"), QStringLiteral("Read"), this)),
      ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FrmRead"));
    setWindowTitle(Caption);
    QListWidget *names = list->names();
    names->setToolTip(QStringLiteral("Double click to load a preset"));
    list->SetNames(AllNames());
    names->setCurrentRow(ModPreset::state.CurrentPreset);
    Command1_1->setEnabled(!ModTxRx::state.DemoMode);
    Command1_1->setDefault(true);
    auto *cancel = NamedButton(QStringLiteral("Command1_0"), QStringLiteral("Cancel"), this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);

    auto *label = new QLabel(QStringLiteral("Factory 01 - 16, user 17 - 32"), this);
    label->setObjectName(QStringLiteral("Label1"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(list, 1, 0, 3, 1);
    layout->addWidget(Command1_1, 1, 1);
    layout->addWidget(cancel, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(ProgressBar1, 4, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1_1, &QPushButton::clicked, this, &FrmRead::Read);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(names, &QListWidget::itemDoubleClicked, this, [this, names](QListWidgetItem *item) {
        names->setCurrentItem(item);
        Read();
    });
}

void FrmRead::Read()
{
    const Presets::Progress progress = Presets::BarProgress(ProgressBar1, [this](bool running) {
        setWindowTitle(running ? QStringLiteral("Reading Preset......") : Caption);
    });
    const auto outcome = DevicePresets::ReadPresetAsked(list->names()->currentRow(), progress);
    if (outcome == DevicePresets::Outcome::Done || outcome == DevicePresets::Outcome::Stopped)
        accept();
}
