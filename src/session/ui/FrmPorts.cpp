#include "session/ui/FrmPorts.h"

#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QUrl>

#include "link/ModTxRx.h"
#include "link/PortMap.h"
#include "shell/Messages.h"

namespace {

QPushButton *NamedButton(const QString &name, const QString &text, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QLabel *NamedLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QTableWidget *Grid(const QString &name, const QStringList &columns, QWidget *parent)
{
    auto *grid = new QTableWidget(0, int(columns.size()), parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels(columns);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void SetRow(QTableWidget *grid, int row, const QStringList &texts)
{
    for (int column = 0; column < texts.size(); ++column)
        grid->setItem(row, column, new QTableWidgetItem(texts[column]));
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

int SelectedRow(const QTableWidget *grid)
{
    const QList<QTableWidgetItem *> items = grid->selectedItems();
    return items.isEmpty() ? -1 : items.first()->row();
}

} // namespace

FrmPorts::FrmPorts(QWidget *parent)
    : QWidget(parent, Qt::Window),
      GridPorts(Grid(QStringLiteral("GridPorts"),
                     {QStringLiteral("Port"), QStringLiteral("Device"), QStringLiteral("Exists"),
                      QStringLiteral("Opens"), QStringLiteral("Why")},
                     this)),
      LabelWhy(NamedLabel(QStringLiteral("LabelWhy"), this)),
      LabelTest(NamedLabel(QStringLiteral("LabelTest"), this)),
      GridAdapters(Grid(QStringLiteral("GridAdapters"),
                        {QStringLiteral("Device"), QStringLiteral("Description"),
                         QStringLiteral("Manufacturer"), QStringLiteral("USB ids"),
                         QStringLiteral("Serial number"), QStringLiteral("Stable name")},
                        this)),
      ComboMapPort(new QComboBox(this)),
      CommandMap(NamedButton(QStringLiteral("CommandMap"), QString(), this))
{
    setObjectName(QStringLiteral("FrmPorts"));
    setWindowTitle(QStringLiteral("Ports"));
    auto *layout = new QGridLayout(this);

    auto *portBox = new QGroupBox(QStringLiteral("COM ports"), this);
    portBox->setObjectName(QStringLiteral("FramePorts"));
    auto *portLayout = new QGridLayout(portBox);
    portLayout->addWidget(GridPorts, 0, 0, 1, 4);
    portLayout->addWidget(LabelWhy, 1, 0, 1, 4);
    auto *test = NamedButton(QStringLiteral("CommandTest"), QStringLiteral("Test"), portBox);
    auto *refresh =
        NamedButton(QStringLiteral("CommandRefresh"), QStringLiteral("Refresh"), portBox);
    portLayout->addWidget(test, 2, 0);
    portLayout->addWidget(LabelTest, 2, 1, 1, 2);
    portLayout->setColumnStretch(1, 1);
    portLayout->addWidget(refresh, 2, 3);
    layout->addWidget(portBox, 0, 0, 1, 3);
    layout->setRowStretch(0, 3);

    auto *adapterBox = new QGroupBox(QStringLiteral("Serial adapters no COM name leads to"), this);
    adapterBox->setObjectName(QStringLiteral("FrameAdapters"));
    auto *adapterLayout = new QGridLayout(adapterBox);
    adapterLayout->addWidget(GridAdapters, 0, 0, 1, 3);
    ComboMapPort->setObjectName(QStringLiteral("ComboMapPort"));
    for (int port = PortMap::FirstPort; port <= PortMap::LastPort; ++port)
        ComboMapPort->addItem(ModTxRx::PortName(port), port);
    adapterLayout->setColumnStretch(0, 1);
    adapterLayout->addWidget(ComboMapPort, 1, 1);
    adapterLayout->addWidget(CommandMap, 1, 2);
    layout->addWidget(adapterBox, 1, 0, 1, 3);
    layout->setRowStretch(1, 1);

    auto *folder = NamedLabel(QStringLiteral("LabelMapFolder"), this);
    folder->setText(QStringLiteral("Port map: ") + QDir::toNativeSeparators(PortMap::MapFolder()));
    auto *openFolder =
        NamedButton(QStringLiteral("CommandOpenFolder"), QStringLiteral("Open folder"), this);
    layout->setColumnStretch(0, 1);
    layout->addWidget(folder, 2, 0, 1, 2);
    layout->addWidget(openFolder, 2, 2);
    folder->setVisible(PortDiagnosis::CanMap());
    openFolder->setVisible(PortDiagnosis::CanMap());
    ComboMapPort->setVisible(PortDiagnosis::CanMap());
    CommandMap->setVisible(PortDiagnosis::CanMap());

    connect(GridPorts, &QTableWidget::itemSelectionChanged, this, &FrmPorts::ShowWhy);
    connect(test, &QPushButton::clicked, this, &FrmPorts::TestSelected);
    connect(refresh, &QPushButton::clicked, this, &FrmPorts::Refresh);
    connect(GridAdapters, &QTableWidget::itemSelectionChanged, this, &FrmPorts::UpdateMapButton);
    connect(ComboMapPort, &QComboBox::currentIndexChanged, this, &FrmPorts::UpdateMapButton);
    connect(CommandMap, &QPushButton::clicked, this, &FrmPorts::MapSelected);
    connect(openFolder, &QPushButton::clicked, this, [] {
        QDir().mkpath(PortMap::MapFolder());
        QDesktopServices::openUrl(QUrl::fromLocalFile(PortMap::MapFolder()));
    });
    resize(900, 660);
    Refresh();
}

void FrmPorts::Refresh()
{
    const int selected = std::max(SelectedRow(GridPorts), 0);
    ports = PortDiagnosis::DiagnoseAll();
    adapters = PortDiagnosis::UnmappedAdapters();
    FillPorts();
    FillAdapters();
    GridPorts->selectRow(selected);
    ComboMapPort->setCurrentIndex(ComboMapPort->findData(FreePort()));
    UpdateMapButton();
}

void FrmPorts::FillPorts()
{
    GridPorts->setRowCount(int(ports.size()));
    for (int row = 0; row < int(ports.size()); ++row) {
        const PortDiagnosis::PortState &port = ports[row];
        SetRow(GridPorts, row,
               {port.port, port.device, YesNo(port.exists), YesNo(port.opens), port.words});
    }
    GridPorts->resizeColumnsToContents();
}

void FrmPorts::FillAdapters()
{
    GridAdapters->setRowCount(int(adapters.size()));
    for (int row = 0; row < int(adapters.size()); ++row) {
        const PortDiagnosis::Adapter &adapter = adapters[row];
        SetRow(GridAdapters, row,
               {adapter.device, adapter.description, adapter.manufacturer, adapter.usbIds,
                adapter.serialNumber, adapter.stablePath});
    }
    GridAdapters->resizeColumnsToContents();
    if (!adapters.empty())
        GridAdapters->selectRow(0);
}

void FrmPorts::ShowWhy()
{
    const int row = SelectedRow(GridPorts);
    LabelTest->clear();
    if (row < 0) {
        LabelWhy->clear();
        return;
    }
    const PortDiagnosis::PortState &port = ports[row];
    QString text = QStringLiteral("%1: %2").arg(port.port, port.words);
    if (!port.fix.isEmpty())
        text += QStringLiteral("\nFix: ") + port.fix;
    LabelWhy->setText(text);
}

void FrmPorts::TestSelected()
{
    const int row = SelectedRow(GridPorts);
    if (row < 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const PortDiagnosis::IdentityTest test = PortDiagnosis::TestIdentity(ports[row].port);
    QApplication::restoreOverrideCursor();
    LabelTest->setText(QStringLiteral("%1: %2").arg(ports[row].port, test.text));
}

void FrmPorts::MapSelected()
{
    const int row = SelectedRow(GridAdapters);
    const int port = ComboMapPort->currentData().toInt();
    if (row < 0 || port == 0)
        return;
    const PortDiagnosis::PortState &now = ports[port - 1];
    const QString device = adapters[row].stablePath;
    if (now.exists &&
        !Messages::Ask(QStringLiteral("%1 leads to %2 now. Point it at %3 instead?")
                           .arg(now.port, now.device, device),
                       CommandMap->text()))
        return;
    if (!PortDiagnosis::MapTo(port, adapters[row].device))
        Messages::Tell(QStringLiteral("The port map entry could not be written in %1.")
                           .arg(QDir::toNativeSeparators(PortMap::MapFolder())),
                       CommandMap->text(), Messages::Icon::Exclamation);
    Refresh();
}

void FrmPorts::UpdateMapButton()
{
    CommandMap->setText(QStringLiteral("Map to ") + ComboMapPort->currentText());
    CommandMap->setEnabled(PortDiagnosis::CanMap() && SelectedRow(GridAdapters) >= 0);
}

int FrmPorts::FreePort() const
{
    // A port whose entry names an unplugged adapter keeps it for when that comes back.
    const auto isFree = [](const PortDiagnosis::PortState &port, bool entryAllowed) {
        return !port.exists &&
            (entryAllowed || !QFileInfo(PortMap::MapFolder() + u'/' + port.port).isSymLink());
    };
    for (const bool entryAllowed : {false, true}) {
        for (const PortDiagnosis::PortState &port : ports) {
            if (isFree(port, entryAllowed))
                return PortMap::PortNumber(port.port);
        }
    }
    return PortMap::LastPort;
}
