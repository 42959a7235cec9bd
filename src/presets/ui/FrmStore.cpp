#include "presets/ui/FrmStore.h"

#include <algorithm>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

#include "link/ModTxRx.h"
#include "presets/DevicePresets.h"
#include "presets/ModPreset.h"
#include "presets/ui/BarProgress.h"
#include "presets/ui/NumberedList.h"
#include "shell/Messages.h"

namespace {

using ModPreset::FactoryCount;
constexpr int PlaceCount = ModPreset::PresetCount - FactoryCount;

QStringList UserNames()
{
    const auto &names = ModPreset::state.PresetNames;
    return QStringList(names.begin() + FactoryCount, names.end());
}

QWidget *Named(QWidget *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

FrmStore::FrmStore(QWidget *parent)
    : QDialog(parent), list(new NumberedList(FactoryCount + 1, PlaceCount, PlaceCount, this)),
      Text1(new QLineEdit(this)), Combo1(new QComboBox(this)), ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FrmStore"));
    setWindowTitle(QStringLiteral("Memory Preset"));
    QListWidget *names = list->names();
    names->setToolTip(QStringLiteral("Double click to select a preset"));
    list->SetNames(UserNames());
    Named(Text1, QStringLiteral("Text1"));
    Named(Combo1, QStringLiteral("Combo1"));
    for (int n = FactoryCount + 1; n <= ModPreset::PresetCount; ++n)
        Combo1->addItem(QString::number(n));
    Named(ProgressBar1, QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Named(cancel, QStringLiteral("Command1_0"));
    auto *store = new QPushButton(QStringLiteral("Store"), this);
    Named(store, QStringLiteral("Command1_1"));
    store->setEnabled(!ModTxRx::state.DemoMode);
    store->setDefault(true);

    auto *layout = new QGridLayout(this);
    layout->addWidget(list, 0, 0, 6, 1);
    layout->addWidget(
        Named(new QLabel(QStringLiteral("Edit Name"), this), QStringLiteral("Label1")), 0, 1);
    layout->addWidget(Text1, 1, 1);
    layout->addWidget(
        Named(new QLabel(QStringLiteral("Select position"), this), QStringLiteral("Label2")), 2, 1);
    layout->addWidget(Combo1, 3, 1);
    layout->setRowStretch(4, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(store);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 5, 1);
    layout->addWidget(ProgressBar1, 6, 0, 1, 2);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    const int current = ModPreset::state.CurrentPreset - FactoryCount;
    SelectPlace(std::clamp(current, 0, PlaceCount - 1));
    names->setCurrentRow(Combo1->currentIndex());

    connect(store, &QPushButton::clicked, this, &FrmStore::Store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(names, &QListWidget::itemDoubleClicked, this,
            [this, names](QListWidgetItem *item) { SelectPlace(names->row(item)); });
    connect(Text1, &QLineEdit::textEdited, this, &FrmStore::RefuseWideCharacters);
}

void FrmStore::SelectPlace(int place)
{
    Text1->setText(list->names()->item(place)->text());
    Combo1->setCurrentIndex(place);
}

/// Only characters of the single-byte code page can be stored.
void FrmStore::RefuseWideCharacters()
{
    QString text = Text1->text();
    if (text.removeIf([](QChar c) { return c.unicode() > 255; }).size() == Text1->text().size())
        return;
    Messages::Tell(QStringLiteral("Symbol not admited"), QStringLiteral("Warning"),
                   Messages::Icon::Information);
    Text1->setText(text);
}

void FrmStore::Store()
{
    const auto outcome = DevicePresets::StorePresetAsked(Combo1->currentIndex(), Text1->text(),
                                                         Presets::BarProgress(ProgressBar1));
    if (outcome == DevicePresets::Outcome::Refused)
        Text1->clear();
    else if (outcome != DevicePresets::Outcome::Declined)
        accept();
}
