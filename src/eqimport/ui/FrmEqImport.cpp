#include "eqimport/ui/FrmEqImport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>

#include "eqimport/ui/EqImportGraph.h"
#include "lock/ModLock.h"
#include "model/PanelFlags.h"
#include "shell/Messages.h"

namespace {

QPushButton *NamedButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QComboBox *NamedCombo(const QString &name, const QStringList &items, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItems(items);
    return combo;
}

bool UnitGraphic()
{
    return ModFun::state.GeqSelected != 0;
}

bool ChannelsLinked()
{
    return ModFun::state.LinkAB != 0;
}

} // namespace

FrmEqImport::FrmEqImport(QWidget *parent)
    : QWidget(parent, Qt::Window), TextFile(new QLineEdit(this)),
      ComboChannel(NamedCombo(QStringLiteral("ComboChannel"),
                              {QStringLiteral("Channel A"), QStringLiteral("Channel B"),
                               QStringLiteral("Channels A and B")},
                              this)),
      ComboMode(NamedCombo(QStringLiteral("ComboMode"),
                           {QStringLiteral("Parametric"), QStringLiteral("Graphic")}, this)),
      TableFilters(new QTableWidget(0, 3, this)), Graph(new EqImportGraph(this)),
      LabelDifference(new QLabel(this)), LabelNotes(new QLabel(this)),
      CommandApply(NamedButton(QStringLiteral("CommandApply"), QStringLiteral("Apply"), this))
{
    setObjectName(QStringLiteral("FrmEqImport"));
    setWindowTitle(QStringLiteral("Import EQ"));
    TextFile->setObjectName(QStringLiteral("TextFile"));
    TextFile->setReadOnly(true);
    TableFilters->setObjectName(QStringLiteral("TableFilters"));
    TableFilters->setHorizontalHeaderLabels(
        {QStringLiteral("Line"), QStringLiteral("Given"), QStringLiteral("The unit takes")});
    TableFilters->verticalHeader()->hide();
    TableFilters->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableFilters->horizontalHeader()->setStretchLastSection(true);
    LabelDifference->setObjectName(QStringLiteral("LabelDifference"));
    LabelNotes->setObjectName(QStringLiteral("LabelNotes"));
    LabelNotes->setWordWrap(true);
    auto *choose = NamedButton(QStringLiteral("CommandChoose"), QStringLiteral("Choose..."), this);
    auto *cancel = NamedButton(QStringLiteral("CommandCancel"), QStringLiteral("Cancel"), this);
    ComboMode->setCurrentIndex(UnitGraphic() ? 1 : 0);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("File:"), this), 0, 0);
    layout->addWidget(TextFile, 0, 1, 1, 3);
    layout->addWidget(choose, 0, 4);
    layout->addWidget(new QLabel(QStringLiteral("Into:"), this), 1, 0);
    layout->addWidget(ComboChannel, 1, 1);
    layout->addWidget(ComboMode, 1, 2);
    layout->addWidget(TableFilters, 2, 0, 1, 5);
    layout->addWidget(Graph, 3, 0, 1, 5);
    layout->addWidget(LabelDifference, 4, 0, 1, 5);
    layout->addWidget(LabelNotes, 5, 0, 1, 5);
    layout->addWidget(CommandApply, 6, 3);
    layout->addWidget(cancel, 6, 4);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(3, 1);

    connect(choose, &QPushButton::clicked, this, &FrmEqImport::Choose);
    connect(ComboChannel, &QComboBox::currentIndexChanged, this, &FrmEqImport::Refresh);
    connect(ComboMode, &QComboBox::currentIndexChanged, this, &FrmEqImport::Refresh);
    connect(CommandApply, &QPushButton::clicked, this, &FrmEqImport::Apply);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 620);
    Refresh();
}

void FrmEqImport::LoadFile(const QString &path)
{
    TextFile->setText(path);
    read = EqText::ReadFile(path);
    Refresh();
}

void FrmEqImport::Choose()
{
    const QString folder = TextFile->text().isEmpty()
        ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        : QFileInfo(TextFile->text()).path();
    const QString path =
        Messages::AskFileName({Messages::FileMode::Open, QStringLiteral("Import EQ"), folder,
                               QStringLiteral("EQ settings (*.txt *.cfg *.conf);;All files (*)")});
    if (!path.isEmpty())
        LoadFile(path);
}

EqPlan::Channels FrmEqImport::ChosenChannels() const
{
    return static_cast<EqPlan::Channels>(ComboChannel->currentIndex());
}

EqPlan::Mode FrmEqImport::ChosenMode() const
{
    return UnitGraphic() && ComboMode->currentIndex() == 1 ? EqPlan::Mode::Graphic
                                                           : EqPlan::Mode::Parametric;
}

EqPlan::Plan FrmEqImport::CurrentPlan() const
{
    const int channel = ChosenChannels() == EqPlan::Channels::B ? 1 : 0;
    return EqPlan::MakePlan(read, ChosenMode(), EqPlan::CurrentBands(channel));
}

void FrmEqImport::Refresh()
{
    // Graphic mode only while the unit is in it: switching the unit would move every band.
    ComboMode->setEnabled(UnitGraphic());
    const bool readable = read.refusal.isEmpty() && read.HasUsable();
    const EqPlan::Plan plan = readable ? CurrentPlan() : EqPlan::Plan{};
    ShowRows(plan);
    Graph->SetCurves(plan.curves);
    LabelDifference->setText(readable ? QStringLiteral("Largest difference 20 Hz - 20 kHz: %1 dB")
                                            .arg(plan.curves.largestDifferenceDb, 0, 'f', 2)
                                      : QString());
    QStringList notes = readable ? plan.notes : QStringList{read.refusal};
    if (readable && UnitGraphic() && plan.mode == EqPlan::Mode::Parametric)
        notes << QStringLiteral("The unit's equaliser becomes parametric (both channels).");
    if (readable && ChannelsLinked() && ChosenChannels() != EqPlan::Channels::Both)
        notes << QStringLiteral("The channels are linked: both take the import.");
    if (!PanelFlags::state.PanelOpen)
        notes << QStringLiteral("Connect or start Demo to apply it.");
    if (ModLock::state.LockState == 1)
        notes << QStringLiteral("The unit is locked.");
    LabelNotes->setText(notes.join(QLatin1Char('\n')));
    CommandApply->setEnabled(readable && PanelFlags::state.PanelOpen &&
                             ModLock::state.LockState != 1);
}

void FrmEqImport::ShowRows(const EqPlan::Plan &plan)
{
    TableFilters->setRowCount(static_cast<int>(plan.rows.size()));
    for (int r = 0; r < TableFilters->rowCount(); ++r) {
        const EqPlan::Row &row = plan.rows[static_cast<std::size_t>(r)];
        TableFilters->setItem(r, 0, new QTableWidgetItem(QString::number(row.given.line)));
        TableFilters->setItem(r, 1, new QTableWidgetItem(row.given.text));
        TableFilters->setItem(r, 2, new QTableWidgetItem(EqPlan::Outcome(row)));
    }
    TableFilters->resizeColumnsToContents();
}

void FrmEqImport::Apply()
{
    EqPlan::Apply(CurrentPlan(), ChosenChannels());
    close();
}
