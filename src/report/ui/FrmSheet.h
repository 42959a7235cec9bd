#pragma once

#include <QDialog>

class QPrinter;

/// The settings sheet dialog of the main window: "Save PDF..." writes the sheet to a file asked
/// for through the message layer, "Print..." shows the print dialog and prints it.
class FrmSheet : public QDialog
{
    Q_OBJECT
public:
    explicit FrmSheet(QWidget *parent = nullptr);

    /// Prints the sheet of the current setting on a printer made ready; false when the printer
    /// cannot be drawn on.
    static bool PrintSheet(QPrinter &printer);

private:
    void SavePdf();
    void Print();
};
