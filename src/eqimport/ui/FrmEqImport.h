#pragma once

#include <QWidget>

#include "eqimport/EqPlan.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class EqImportGraph;

/// The EQ import preview: the file chosen with "Choose..." (`CommandChoose`), the channel
/// (`ComboChannel`: A, B or both) and the mode (`ComboMode`: parametric, or graphic while the
/// unit is in graphic mode); the table of filters as given and what each becomes
/// (`TableFilters`), the target and unit curves (`EqImportGraph`), the largest difference
/// (`LabelDifference`) and the notes (`LabelNotes`). "Apply" (`CommandApply`) sends the import as
/// one undo step while the overview panel is open and the unit unlocked; "Cancel" closes.
class FrmEqImport : public QWidget
{
    Q_OBJECT
public:
    explicit FrmEqImport(QWidget *parent = nullptr);

    /// Reads the file and shows its preview (or why it is refused).
    void LoadFile(const QString &path);

private:
    void Choose();
    void Refresh();
    void ShowRows(const EqPlan::Plan &plan);
    void Apply();
    EqPlan::Channels ChosenChannels() const;
    EqPlan::Mode ChosenMode() const;
    EqPlan::Plan CurrentPlan() const;

    EqText::Read read;
    QLineEdit *TextFile;
    QComboBox *ComboChannel;
    QComboBox *ComboMode;
    QTableWidget *TableFilters;
    EqImportGraph *Graph;
    QLabel *LabelDifference;
    QLabel *LabelNotes;
    QPushButton *CommandApply;
};
