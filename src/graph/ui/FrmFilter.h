#pragma once

#include <array>
#include <optional>

#include <QDialog>
#include <QPointF>

#include "graph/ui/EqBandGrid.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/ValueTables.h"

class BandMarker;
class EntryBox;
class GraphArea;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

/// The filter window "Filters edit". One tab per channel (`SSTab1`), each with the channel's
/// response graph `Picture1` and its band markers `Label5`, the high-pass and low-pass crossover
/// filters (`Frame7`, `Combo2`, `Text8`) and the 15-band equaliser (`Slider2`, `Text3`, `Text4`,
/// `Text5`, `UpDown3`, `Command1..3`), plus the "Out2" (`Check4`) and "Cursor" (`Check3`) boxes.
/// "Export..." (`CommandExport`) in the free corner right of the tabs opens `FrmExport`.
///
/// The overview panel sets `PanelFlags::state.FilterChannel` and runs it modal. While it lives the
/// graph module draws into it (`ModGraph::state.FilterEditorShown`). Every edit goes into the
/// image and out to the unit as one frame; when a frame fails and the link cannot be mended the
/// panel has closed, so the window closes too and sends nothing more.
class FrmFilter : public QDialog
{
    Q_OBJECT
public:
    explicit FrmFilter(QWidget *parent = nullptr);
    ~FrmFilter() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TabControls
    {
        GraphArea *graph = nullptr;
        QCheckBox *out2 = nullptr; ///< `Check4`
        QCheckBox *cursor = nullptr; ///< `Check3`
        QPushButton *eqType = nullptr; ///< `Command2`
        QPushButton *setFreq = nullptr; ///< `Command3`
        QPushButton *flat = nullptr; ///< `Command1`
    };
    struct FilterControls
    {
        QComboBox *slope = nullptr; ///< `Combo2`
        EntryBox *frequency = nullptr; ///< `Text8`
    };

    // Building and filling (FrmFilter.cpp).
    QWidget *BuildTab(int channel);
    QWidget *BuildExportButton();
    QWidget *BuildCrossover(int filter);
    QWidget *BuildEqualiser(int channel);
    void ConnectBand(int band);
    void FillFromModel();

    // Response graph.
    void RedrawChannelGraph(int channel);
    void LoadViewGraphOut(int channel);
    void TabClicked(int index);

    // Crossover filters.
    bool LoadButterworthFilterFun(int filter);
    void LinkingFunctionHpLp(int filter);
    void EditFilter(int filter);
    void FilterFrequencyEntered(int filter);
    void SlopeChosen(int filter);
    void ShowFilterFromImage(int filter);

    // Equaliser (FrmFilterEq.cpp).
    bool LoadParametricFilterFun(int band);
    void LoadParametricFilterFunReInit(int band);
    bool LoadSetFreq(int channel);
    bool LoadFlatEq(int channel);
    /// Shows the equaliser type `graphic` on the buttons and bands, takes every band into the
    /// model again without sending, then sets the type in the model and sends it.
    void ConfigureKeyButtonEqType(bool graphic);
    void LinkingFunctionPeq(int band);
    /// A band edit: the band into the model and out to the unit, its twin, its curve; false
    /// when the link was lost.
    bool EditBand(int band);
    void GainEntered(int band);
    void BandFrequencyEntered(int band);
    void QEntered(int band);
    void PreviewGain(int band, int position);
    void EqTypeClicked();
    void SetFreqClicked(int channel);
    void FlatClicked(int channel);
    void SetBandControls(int band, const ModFun::BandCodes &codes);
    void ShowBandTexts(int band, const ModFun::BandCodes &codes);
    void PlaceMarker(int band);
    void MarkBand(int band);
    void UnmarkBand(int band);

    // Band markers on the graph (FrmFilterEq.cpp).
    void ShowGraphCursor(int channel);
    void Label5_MouseDown(int band, QPointF position);
    void Label5_MouseMove(int band, QPointF position);
    void Label5_MouseUp(int band);

    /// The number in a box, or `fallback` when its text is not one.
    static double BoxNumber(const QLineEdit *box, double fallback);
    /// A typed text as a number; a text that is none gets the "Warning" box `warning` and
    /// nothing is answered.
    static std::optional<double> TypedNumberOrWarn(const QString &text, const QString &warning);
    /// Control events act only while the window is not filling its own controls and the link
    /// has not been lost.
    bool Editable() const;
    /// Closes the window for good when a setter answered that the link was lost; passes its
    /// answer on.
    bool CloseIfLinkLost(bool linkKept);

    QTabWidget *tabs = nullptr;
    std::array<TabControls, 2> tab{};
    std::array<FilterControls, ValueTables::FilterCount> filters{};
    std::array<BandControls, ValueTables::BandCount> bands{};
    std::array<BandMarker *, ValueTables::BandCount> markers{};
    /// The "Out2" box of each tab: the other channel's curve is drawn over this one's.
    std::array<bool, 2> out2Shown{};
    std::array<bool, ValueTables::BandCount> markerDragging{};
    std::array<bool, ValueTables::BandCount> markerMoved{};
    /// Where the pointer held the dragged marker, from its hot spot, in twips.
    QPointF grabOffset;
    int editedBand = -1;
    bool linkLost = false;
};
