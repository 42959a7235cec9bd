#include "graph/ui/FrmFilter.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "graph/ui/EntryControls.h"
#include "graph/ui/GraphArea.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SettingHistory.h"
#include "model/ui/HistoryControls.h"
#include "report/ui/FrmExport.h"
#include "shell/Messages.h"
#include "shell/ModCountry.h"

using namespace ValueTables;
using ModCountry::NumberText;

namespace {

const char *const SlopeItems[] = {"   Bypass", "- 6  dB/Oct", "-12 dB/Oct"};

QPushButton *Button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    // Enter belongs to the text boxes: it must never press a button behind them.
    button->setAutoDefault(false);
    return button;
}

QLabel *FilterCaption(int index, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1_%1").arg(index));
    return label;
}

} // namespace

FrmFilter::FrmFilter(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmFilter"));
    setWindowTitle(QStringLiteral("Filters edit"));
    HistoryControls::AddShortcuts(this);
    connect(&ModFun::history(), &ModFun::SettingHistory::settingReplaced, this,
            &FrmFilter::FillFromModel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    for (int channel = 0; channel < 2; ++channel)
        tabs->addTab(BuildTab(channel), QString());
    tabs->setCornerWidget(BuildExportButton(), Qt::TopRightCorner);
    layout->addWidget(tabs);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(tabs, &QTabWidget::currentChanged, this, &FrmFilter::TabClicked);

    ModGraph::state.FilterEditorShown = true;
    ModGraph::SetRedrawHook([this](int channel) {
        RedrawChannelGraph(channel);
        // A shown tab that draws this channel over its own curve follows it too; a hidden one
        // is redrawn when its tab is clicked.
        if (out2Shown[1 - channel] && tab[1 - channel].graph->isVisible())
            RedrawChannelGraph(1 - channel);
    });
    FillFromModel();
}

FrmFilter::~FrmFilter()
{
    ModGraph::SetRedrawHook({});
    ModGraph::state.FilterEditorShown = false;
}

QWidget *FrmFilter::BuildTab(int channel)
{
    auto *page = new QWidget(tabs);
    page->setObjectName(QStringLiteral("Tab_%1").arg(channel));
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(12);

    TabControls &controls = tab[channel];
    controls.graph = new GraphArea(channel, page);
    grid->addWidget(controls.graph, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int band = channel * BandsPerChannel + k;
        markers[band] = controls.graph->Marker(k);
        connect(markers[band], &BandMarker::pressed, this,
                [this, band](QPointF position) { Label5_MouseDown(band, position); });
        connect(markers[band], &BandMarker::moved, this,
                [this, band](QPointF position) { Label5_MouseMove(band, position); });
        connect(markers[band], &BandMarker::released, this, [this, band] { Label5_MouseUp(band); });
    }

    auto *side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(BuildCrossover(2 * channel));
    side->addWidget(BuildCrossover(2 * channel + 1));
    side->addStretch();
    controls.out2 = new QCheckBox(QStringLiteral("View Out2"), page);
    controls.out2->setObjectName(QStringLiteral("Check4_%1").arg(channel));
    controls.out2->setToolTip(QStringLiteral("Draw this channel's response over the graph"));
    controls.cursor = new QCheckBox(QStringLiteral("Cursor"), page);
    controls.cursor->setObjectName(QStringLiteral("Check3_%1").arg(channel));
    controls.cursor->setToolTip(QStringLiteral("Show the band markers; drag them on the graph"));
    side->addWidget(controls.out2);
    side->addWidget(controls.cursor);
    grid->addLayout(side, 0, 1);
    connect(controls.out2, &QCheckBox::toggled, this,
            [this, channel] { LoadViewGraphOut(channel); });
    connect(controls.cursor, &QCheckBox::toggled, this,
            [this, channel] { ShowGraphCursor(channel); });

    grid->addWidget(BuildEqualiser(channel), 1, 0, 1, 2);
    return page;
}

QWidget *FrmFilter::BuildExportButton()
{
    auto *button = new QToolButton(tabs);
    button->setObjectName(QStringLiteral("CommandExport"));
    button->setText(QStringLiteral("Export..."));
    button->setToolTip(QStringLiteral("Save the response as a CSV table, a PNG picture or an SVG "
                                      "drawing"));
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, [this] {
        FrmExport dialog(tabs->currentIndex(), this);
        dialog.exec();
    });
    return button;
}

QWidget *FrmFilter::BuildCrossover(int filter)
{
    const bool highPass = filter % 2 == 0;
    auto *frame = new QGroupBox(highPass ? QStringLiteral("High Pass Filter")
                                         : QStringLiteral("Low Pass Filter"));
    frame->setObjectName(QStringLiteral("Frame7_%1").arg(filter));
    auto *grid = new QGridLayout(frame);
    grid->setContentsMargins(8, 6, 8, 8);
    FilterControls &controls = filters[filter];
    controls.slope = new QComboBox(frame);
    controls.slope->setObjectName(QStringLiteral("Combo2_%1").arg(filter));
    for (const char *item : SlopeItems)
        controls.slope->addItem(QLatin1String(item));
    controls.frequency =
        NumberBox(QStringLiteral("Text8_%1").arg(filter), newMod::FilterFrequencyKey, frame);
    controls.frequency->setText(QStringLiteral("1000"));
    controls.frequency->setFixedWidth(64);
    grid->addWidget(FilterCaption(2 * filter, QStringLiteral("Slope"), frame), 0, 0);
    grid->addWidget(controls.slope, 0, 1);
    grid->addWidget(FilterCaption(2 * filter + 1, QStringLiteral("Frequency [Hz]"), frame), 1, 0);
    grid->addWidget(controls.frequency, 1, 1, Qt::AlignLeft);

    connect(controls.slope, &QComboBox::activated, this, [this, filter] { SlopeChosen(filter); });
    connect(controls.frequency, &EntryBox::applied, this,
            [this, filter] { FilterFrequencyEntered(filter); });
    connect(controls.frequency, &EntryBox::refused, this,
            [] { Messages::Warn(QStringLiteral("  Incorrect f value")); });
    connect(controls.frequency, &EntryBox::left, this,
            [this, filter] { ShowFilterFromImage(filter); });
    return frame;
}

QWidget *FrmFilter::BuildEqualiser(int channel)
{
    auto *group = new QGroupBox(QStringLiteral("EQ Filters"));
    group->setObjectName(QStringLiteral("EqGroup_%1").arg(channel));
    auto *layout = new QVBoxLayout(group);
    layout->setContentsMargins(8, 6, 8, 8);
    auto *grid = new EqBandGrid(channel, group);
    layout->addWidget(grid);
    for (int k = 0; k < BandsPerChannel; ++k) {
        const int band = channel * BandsPerChannel + k;
        bands[band] = grid->Band(k);
        ConnectBand(band);
    }

    TabControls &controls = tab[channel];
    controls.eqType =
        Button(QStringLiteral("Command2_%1").arg(channel), QStringLiteral("Set Graphic EQ"), group);
    controls.setFreq =
        Button(QStringLiteral("Command3_%1").arg(channel), QStringLiteral("Set Freq"), group);
    controls.flat =
        Button(QStringLiteral("Command1_%1").arg(channel), QStringLiteral("EQ Flat"), group);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {controls.eqType, controls.setFreq, controls.flat}) {
        button->setMinimumWidth(110);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(controls.eqType, &QPushButton::clicked, this, &FrmFilter::EqTypeClicked);
    connect(controls.setFreq, &QPushButton::clicked, this,
            [this, channel] { SetFreqClicked(channel); });
    connect(controls.flat, &QPushButton::clicked, this, [this, channel] { FlatClicked(channel); });
    return group;
}

void FrmFilter::ConnectBand(int band)
{
    const BandControls &controls = bands[band];
    connect(controls.slider, &QSlider::valueChanged, this, [this, band] {
        if (Editable())
            EditBand(band);
    });
    connect(controls.slider, &QSlider::sliderMoved, this,
            [this, band](int position) { PreviewGain(band, position); });
    connect(controls.qButtons, &UpDown::valueChanged, this, [this, band] {
        if (Editable())
            EditBand(band);
    });
    connect(controls.gain, &EntryBox::applied, this, [this, band] { GainEntered(band); });
    connect(controls.frequency, &EntryBox::applied, this,
            [this, band] { BandFrequencyEntered(band); });
    connect(controls.q, &EntryBox::applied, this, [this, band] { QEntered(band); });
    for (EntryBox *box : {controls.gain, controls.frequency, controls.q}) {
        connect(box, &EntryBox::left, this,
                [this, band] { ShowBandTexts(band, ModFun::EqBandCodes(band)); });
    }
    for (QWidget *widget : std::initializer_list<QWidget *>{
             controls.slider, controls.gain, controls.frequency, controls.q, controls.qButtons}) {
        widget->setProperty("band", band);
        widget->installEventFilter(this);
    }
}

void FrmFilter::FillFromModel()
{
    const QScopedValueRollback updating(PanelFlags::state.UpdatingControls, true);
    const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
    {
        // Each picture is drawn once, at the end.
        const QScopedValueRollback drawing(ModGraph::state.CurveDrawEnabled, false);
        for (int channel = 0; channel < 2; ++channel) {
            tabs->setTabText(channel, ModFun::state.ChannelNames[channel]);
            tab[channel].out2->setText(ModFun::state.ChannelNames[1 - channel]);
        }
        for (int filter = 0; filter < FilterCount; ++filter) {
            const ModFun::FilterCodes codes = ModFun::CrossoverCodes(filter);
            filters[filter].frequency->setText(NumberText(FreqTable[codes.frequency]));
            const QSignalBlocker blocker(filters[filter].slope);
            filters[filter].slope->setCurrentIndex(codes.slope);
            LoadButterworthFilterFun(filter);
        }
        for (int band = 0; band < BandCount; ++band) {
            SetBandControls(band, ModFun::EqBandCodes(band));
            LoadParametricFilterFun(band);
        }
        ConfigureKeyButtonEqType(ModFun::state.GeqSelected == 1.0);
        for (int channel = 0; channel < 2; ++channel) {
            const QSignalBlocker out2(tab[channel].out2);
            const QSignalBlocker cursor(tab[channel].cursor);
            tab[channel].out2->setChecked(FilterEdit::state.Out2Saved[channel]);
            tab[channel].cursor->setChecked(FilterEdit::state.CursorShown[channel]);
            out2Shown[channel] = FilterEdit::state.Out2Saved[channel];
            ShowGraphCursor(channel);
        }
        tabs->setCurrentIndex(std::clamp<int>(PanelFlags::state.FilterChannel, 0, 1));
    }
    RedrawChannelGraph(0);
    RedrawChannelGraph(1);
}

bool FrmFilter::eventFilter(QObject *watched, QEvent *event)
{
    const QVariant band = watched->property("band");
    if (band.isValid() && event->type() == QEvent::FocusIn)
        MarkBand(band.toInt());
    else if (band.isValid() && event->type() == QEvent::FocusOut && !markerDragging[band.toInt()])
        UnmarkBand(band.toInt());
    return QDialog::eventFilter(watched, event);
}

double FrmFilter::BoxNumber(const QLineEdit *box, double fallback)
{
    bool ok = false;
    const double value = ModCountry::ParseNumber(box->text(), &ok);
    return ok ? value : fallback;
}

std::optional<double> FrmFilter::TypedNumberOrWarn(const QString &text, const QString &warning)
{
    bool ok = false;
    const double value = ModCountry::ParseNumber(text, &ok);
    if (ok)
        return value;
    Messages::Warn(warning);
    return std::nullopt;
}

bool FrmFilter::Editable() const
{
    return !linkLost && !PanelFlags::state.UpdatingControls;
}

bool FrmFilter::CloseIfLinkLost(bool linkKept)
{
    if (!linkKept && !linkLost) {
        linkLost = true;
        reject();
    }
    return linkKept;
}

void FrmFilter::RedrawChannelGraph(int channel)
{
    if (!ModGraph::state.FilterEditorShown)
        return;
    GraphPicture *picture = tab[channel].graph->Picture();
    picture->Clear();
    if (ModGraph::state.GraphFrozen == 1)
        return;
    picture->DrawCurve(ModGraph::state.TotalCurve[channel], ChannelColour(channel));
    if (out2Shown[channel])
        picture->DrawCurve(ModGraph::state.TotalCurve[1 - channel], ChannelColour(1 - channel));
}

void FrmFilter::LoadViewGraphOut(int channel)
{
    out2Shown[channel] = tab[channel].out2->isChecked();
    FilterEdit::state.Out2Saved[channel] = out2Shown[channel];
    RedrawChannelGraph(channel);
}

void FrmFilter::TabClicked(int index)
{
    if (PanelFlags::state.UpdatingControls || index < 0)
        return;
    PanelFlags::state.FilterChannel = static_cast<std::int16_t>(index);
    RedrawChannelGraph(index);
}

bool FrmFilter::LoadButterworthFilterFun(int filter)
{
    const FilterControls &controls = filters[filter];
    const double typed =
        BoxNumber(controls.frequency, FreqTable[ModFun::CrossoverCodes(filter).frequency]);
    const int index = ModGraph::NearestFrequencyIndex(typed);
    controls.frequency->setText(NumberText(FreqTable[index]));
    return CloseIfLinkLost(ModFun::SetCrossover(filter, {index, controls.slope->currentIndex()}));
}

void FrmFilter::LinkingFunctionHpLp(int filter)
{
    if (linkLost)
        return;
    const int twin = FilterEdit::TwinFilter(filter);
    const auto showOnTwin = [&] {
        const QSignalBlocker blocker(filters[twin].slope);
        filters[twin].frequency->setText(filters[filter].frequency->text());
        filters[twin].slope->setCurrentIndex(filters[filter].slope->currentIndex());
    };
    if (ModFun::MirrorOntoLinkedChannel(showOnTwin, [&] { LoadButterworthFilterFun(twin); }))
        ModGraph::ComputeFilterCurve(twin);
}

void FrmFilter::EditFilter(int filter)
{
    const ModFun::OperatorStep step(filter / 2);
    EntryBox *box = filters[filter].frequency;
    const double typed = BoxNumber(box, FreqTable[ModFun::CrossoverCodes(filter).frequency]);
    box->setText(NumberText(FilterEdit::ClampFrequency(typed)));
    if (!LoadButterworthFilterFun(filter))
        return;
    ModGraph::ComputeFilterCurve(filter);
    LinkingFunctionHpLp(filter);
}

void FrmFilter::FilterFrequencyEntered(int filter)
{
    if (!Editable())
        return;
    if (TypedNumberOrWarn(filters[filter].frequency->text(), QStringLiteral("  Incorrect f value")))
        EditFilter(filter);
}

void FrmFilter::SlopeChosen(int filter)
{
    if (Editable())
        EditFilter(filter);
}

void FrmFilter::ShowFilterFromImage(int filter)
{
    filters[filter].frequency->setText(
        NumberText(FreqTable[ModFun::CrossoverCodes(filter).frequency]));
}
