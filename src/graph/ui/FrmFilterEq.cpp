// The equaliser half of the filter window: band edits, the type, flat and 2/3-octave buttons,
// the marking of the band being edited and the dragging of band markers on the graph.
#include <QCheckBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>

#include "editors/newMod.h"
#include "graph/FilterEdit.h"
#include "graph/GraphGeometry.h"
#include "graph/ModGraph.h"
#include "graph/ui/EntryControls.h"
#include "graph/ui/FrmFilter.h"
#include "graph/ui/GraphArea.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "shell/Messages.h"
#include "shell/ModCountry.h"
#include "shell/ui/PointerOverride.h"

using namespace ValueTables;
using ModCountry::NumberText;

namespace {

bool Graphic()
{
    return ModFun::state.GeqSelected == 1.0;
}

int ChannelOf(int band)
{
    return band / BandsPerChannel;
}

void SetHighlight(QWidget *box, bool edited)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     edited ? QColor(0xff, 0xec, 0xa8)
                            : box->parentWidget()->palette().color(QPalette::Base));
    box->setPalette(palette);
}

} // namespace

bool FrmFilter::LoadParametricFilterFun(int band)
{
    const BandControls &controls = bands[band];
    const ModFun::BandCodes stored = ModFun::EqBandCodes(band);
    const double typed =
        FilterEdit::ClampFrequency(BoxNumber(controls.frequency, FreqTable[stored.frequency]));
    const ModFun::BandCodes codes{FilterEdit::GainIndexOfSlider(controls.slider->value()),
                                  ModGraph::NearestFrequencyIndex(typed),
                                  controls.qButtons->value()};
    ShowBandTexts(band, codes);
    const bool linkKept = ModFun::SetEqBand(band, codes);
    PlaceMarker(band);
    return CloseIfLinkLost(linkKept);
}

void FrmFilter::LoadParametricFilterFunReInit(int band)
{
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    LoadParametricFilterFun(band);
}

bool FrmFilter::EditBand(int band)
{
    const ModFun::OperatorStep step(band / BandsPerChannel);
    if (!LoadParametricFilterFun(band))
        return false;
    LinkingFunctionPeq(band);
    ModGraph::ComputeBandCurve(band);
    return true;
}

void FrmFilter::LinkingFunctionPeq(int band)
{
    if (linkLost)
        return;
    const int twin = FilterEdit::TwinBand(band);
    if (ModFun::MirrorOntoLinkedChannel([&] { SetBandControls(twin, ModFun::EqBandCodes(band)); },
                                        [&] { LoadParametricFilterFun(twin); }))
        ModGraph::ComputeBandCurve(twin);
}

bool FrmFilter::LoadSetFreq(int channel)
{
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int band = channel * BandsPerChannel + k;
        bands[band].frequency->setText(
            NumberText(FreqTable[FilterEdit::GraphicFrequencyIndex(band)]));
        if (!EditBand(band))
            return false;
    }
    return true;
}

bool FrmFilter::LoadFlatEq(int channel)
{
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int band = channel * BandsPerChannel + k;
        {
            const QSignalBlocker blocker(bands[band].slider);
            bands[band].slider->setValue(FilterEdit::FlatSlider);
        }
        if (!LoadParametricFilterFun(band))
            return false;
        ModGraph::ComputeBandCurve(band);
    }
    return true;
}

void FrmFilter::ConfigureKeyButtonEqType(bool graphic)
{
    for (TabControls &controls : tab) {
        controls.eqType->setText(graphic ? QStringLiteral("Set Parametric EQ")
                                         : QStringLiteral("Set Graphic EQ"));
        controls.setFreq->setEnabled(!graphic);
    }
    for (int band = 0; band < BandCount; ++band) {
        const BandControls &controls = bands[band];
        if (graphic) {
            const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
            const QSignalBlocker blocker(controls.qButtons);
            controls.frequency->setText(
                NumberText(FreqTable[FilterEdit::GraphicFrequencyIndex(band)]));
            controls.qButtons->setValue(FilterEdit::GraphicQIndex);
        }
        for (QWidget *widget :
             std::initializer_list<QWidget *>{controls.frequency, controls.q, controls.qButtons})
            widget->setEnabled(!graphic);
        markers[band]->setCursor(graphic ? Qt::SizeVerCursor : Qt::SizeAllCursor);
    }
    for (int band = 0; band < BandCount; ++band) {
        LoadParametricFilterFunReInit(band);
        // Each channel's picture is drawn once, after its last band.
        const bool last = band % BandsPerChannel == BandsPerChannel - 1;
        const QScopedValueRollback drawing(ModGraph::state.CurveDrawEnabled,
                                           ModGraph::state.CurveDrawEnabled && last);
        ModGraph::ComputeBandCurve(band);
    }
    CloseIfLinkLost(ModFun::SetEqType(graphic));
}

void FrmFilter::GainEntered(int band)
{
    if (!Editable())
        return;
    const std::optional<double> typed =
        TypedNumberOrWarn(bands[band].gain->text(), QStringLiteral("  Incorrect value"));
    if (!typed)
        return;
    const double gain = newMod::SnapFilterGain(*typed);
    {
        const QSignalBlocker blocker(bands[band].slider);
        bands[band].slider->setValue(FilterEdit::SliderOfGain(gain));
    }
    EditBand(band);
}

void FrmFilter::BandFrequencyEntered(int band)
{
    if (!Editable())
        return;
    const std::optional<double> typed = TypedNumberOrWarn(
        bands[band].frequency->text(), QStringLiteral("  Incorrect frequency value"));
    if (!typed)
        return;
    bands[band].frequency->setText(NumberText(FilterEdit::ClampFrequency(*typed)));
    EditBand(band);
}

void FrmFilter::QEntered(int band)
{
    if (!Editable())
        return;
    constexpr int ReadCharacters = 4;
    const std::optional<double> typed = TypedNumberOrWarn(
        bands[band].q->text().left(ReadCharacters), QStringLiteral("  Incorrect Q value"));
    if (!typed)
        return;
    {
        const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
        const QSignalBlocker blocker(bands[band].qButtons);
        bands[band].qButtons->setValue(newMod::QIndexOf(*typed));
    }
    EditBand(band);
}

void FrmFilter::PreviewGain(int band, int position)
{
    if (!Editable())
        return;
    // While the handle is held the band and graph follow it; the release sends it.
    const double gain = FilterEdit::GainOfIndex(FilterEdit::GainIndexOfSlider(position));
    bands[band].gain->setText(NumberText(gain));
    ModFun::PreviewEqBand(band, gain, ModFun::state.BandFreqHz[band]);
    PlaceMarker(band);
    ModGraph::ComputeBandCurve(band);
}

void FrmFilter::EqTypeClicked()
{
    if (!Editable())
        return;
    const bool graphic = !Graphic();
    const QString question = graphic ? QStringLiteral("Set EQ as Graphic EQ, are you sure?")
                                     : QStringLiteral("Set EQ as Parametric EQ, are you sure?");
    if (!Messages::Ask(question, QStringLiteral("EQ Type")))
        return;
    const PointerOverride busy(Qt::WaitCursor);
    const ModFun::OperatorStep step(QStringLiteral("EQ type"));
    ConfigureKeyButtonEqType(graphic);
}

void FrmFilter::SetFreqClicked(int channel)
{
    if (!Editable() ||
        !Messages::Ask(QStringLiteral("Set PEQ Frequency 2/3 octave, are you sure ?"),
                       QStringLiteral("Set Freq Eq")))
        return;
    const PointerOverride busy(Qt::WaitCursor);
    const ModFun::OperatorStep step(ModFun::ChannelStepName(channel, QStringLiteral("Set Freq")));
    if (LoadSetFreq(channel) && ModFun::state.ChannelLink == 1)
        LoadSetFreq(1 - channel);
}

void FrmFilter::FlatClicked(int channel)
{
    if (!Editable() ||
        !Messages::Ask(QStringLiteral("               Are you sure ? "), QStringLiteral("EQ Flat")))
        return;
    const ModFun::OperatorStep step(ModFun::ChannelStepName(channel, QStringLiteral("EQ Flat")));
    if (LoadFlatEq(channel) && ModFun::state.ChannelLink == 1)
        LoadFlatEq(1 - channel);
}

void FrmFilter::SetBandControls(int band, const ModFun::BandCodes &codes)
{
    const BandControls &controls = bands[band];
    const QSignalBlocker slider(controls.slider);
    const QSignalBlocker qButtons(controls.qButtons);
    controls.slider->setValue(FilterEdit::SliderOfGainIndex(codes.gain));
    controls.frequency->setText(NumberText(FreqTable[codes.frequency]));
    controls.qButtons->setValue(codes.q);
}

void FrmFilter::ShowBandTexts(int band, const ModFun::BandCodes &codes)
{
    const BandControls &controls = bands[band];
    controls.gain->setText(NumberText(FilterEdit::GainOfIndex(codes.gain)));
    controls.frequency->setText(NumberText(At(FreqTable, codes.frequency)));
    controls.q->setText(NumberText(At(QTable, codes.q)));
}

void FrmFilter::PlaceMarker(int band)
{
    tab[ChannelOf(band)].graph->PlaceMarker(band % BandsPerChannel,
                                            GraphGeometry::MarkerX(ModFun::state.BandFreqHz[band]),
                                            GraphGeometry::MarkerY(ModFun::state.BandGainDb[band]));
}

void FrmFilter::MarkBand(int band)
{
    if (editedBand == band)
        return;
    if (editedBand >= 0)
        UnmarkBand(editedBand);
    editedBand = band;
    markers[band]->SetEdited(true);
    markers[band]->raise(); // over the markers of neighbouring bands
    SetHighlight(bands[band].gain, true);
}

void FrmFilter::UnmarkBand(int band)
{
    if (editedBand != band)
        return;
    editedBand = -1;
    markers[band]->SetEdited(false);
    SetHighlight(bands[band].gain, false);
}

void FrmFilter::ShowGraphCursor(int channel)
{
    const bool shown = tab[channel].cursor->isChecked();
    FilterEdit::state.CursorShown[channel] = shown;
    tab[channel].graph->ShowMarkers(shown);
}

void FrmFilter::Label5_MouseDown(int band, QPointF position)
{
    if (!Editable())
        return;
    markerDragging[band] = true;
    const QPointF pointer = tab[ChannelOf(band)].graph->PictureTwips(markers[band], position);
    grabOffset = pointer -
        QPointF(GraphGeometry::MarkerX(ModFun::state.BandFreqHz[band]),
                GraphGeometry::MarkerY(ModFun::state.BandGainDb[band]));
    MarkBand(band);
    // The keys fine-tune the band after the drag.
    bands[band].slider->setFocus(Qt::MouseFocusReason);
}

void FrmFilter::Label5_MouseMove(int band, QPointF position)
{
    if (!markerDragging[band] || linkLost)
        return;
    markerMoved[band] = true;
    const BandControls &controls = bands[band];
    const QPointF hotSpot =
        tab[ChannelOf(band)].graph->PictureTwips(markers[band], position) - grabOffset;
    const GraphGeometry::DragStep step =
        GraphGeometry::DragMarker(hotSpot.x(), hotSpot.y(), Graphic(),
                                  BoxNumber(controls.frequency, ModFun::state.BandFreqHz[band]));
    tab[ChannelOf(band)].graph->PlaceMarker(band % BandsPerChannel, step.x, step.y);
    controls.gain->setText(NumberText(step.gainShown));
    {
        // The band goes to the unit once, on release: moving the slider here sends nothing.
        const QSignalBlocker blocker(controls.slider);
        controls.slider->setValue(FilterEdit::SliderOfGain(step.gainShown));
    }
    controls.frequency->setText(NumberText(step.frequencyHz));
    ModFun::PreviewEqBand(band, step.gainShown, step.frequencyHz);
    ModGraph::ComputeBandCurve(band);
}

void FrmFilter::Label5_MouseUp(int band)
{
    markerDragging[band] = false;
    if (!markerMoved[band])
        return;
    markerMoved[band] = false;
    if (Editable())
        EditBand(band);
}
