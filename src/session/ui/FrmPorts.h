#pragma once

#include <vector>

#include <QWidget>

#include "link/PortDiagnosis.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

/// The ports window: COM1..COM32 with the device each leads to, whether it exists and opens, and
/// why not in words with the command that fixes it (`GridPorts`, the selected port's reason in
/// `LabelWhy`); "Test" asks the selected port for the unit's identity. Below, the serial adapters
/// no port name leads to (`GridAdapters`) with "Map to COMn", and the port map folder with a
/// button that opens it (Linux; elsewhere the names go to the serial port unchanged).
class FrmPorts : public QWidget
{
    Q_OBJECT
public:
    explicit FrmPorts(QWidget *parent = nullptr);

    /// Diagnoses every port and lists the adapters again.
    void Refresh();

private:
    void FillPorts();
    void FillAdapters();
    void ShowWhy();
    void TestSelected();
    void MapSelected();
    void UpdateMapButton();
    /// The first port without a device that is there, for a new adapter; one without a map
    /// entry first.
    int FreePort() const;

    std::vector<PortDiagnosis::PortState> ports;
    std::vector<PortDiagnosis::Adapter> adapters;
    QTableWidget *GridPorts;
    QLabel *LabelWhy;
    QLabel *LabelTest;
    QTableWidget *GridAdapters;
    QComboBox *ComboMapPort;
    QPushButton *CommandMap;
};
