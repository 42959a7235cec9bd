#pragma once

/// Where a band's marker sits on the response graph and what a drag of it means, without a
/// window. Marker positions are in twips within the graph picture (15 twips are one pixel at
/// 96 dpi) and name the marker's hot spot: the point of the band on the graph, at its centre
/// frequency (column) and gain (row), on the same mapping as the curves, so a marker sits on
/// the peak it edits. Depends on graph/ModGraph.
namespace GraphGeometry {

inline constexpr double TwipsPerPixel = 15;
/// A marker can be dragged between these gains; the slider covers the same range.
inline constexpr double MarkerGainLimit = 15;

double PixelsToTwips(double pixels);
double TwipsToPixels(double twips);

/// Hot spot of a band at `hz` and `gainDb`, in twips: 20 Hz is x = 0, 20 kHz x = 8625 (column
/// 575); 0 dB is y = 1431 (row 95.4). A frequency outside 20..20000 Hz is put on the nearest
/// edge, a gain that is not a number on 0 dB.
double MarkerX(double hz);
double MarkerY(double gainDb);
double FrequencyAtX(double x);
double GainAtY(double y);

/// What one mouse move of a dragged marker gives.
struct DragStep
{
    /// The marker's hot spot, in twips, after clamping.
    double x = 0;
    double y = 0;
    /// The gain cut to 0.1 dB (towards minus infinity) that the gain box shows during the drag.
    double gainShown = 0;
    /// The table frequency nearest to the marker (the band's own one in graphic mode).
    double frequencyHz = 0;
};

/// Moves a marker's hot spot to (x, y) twips: x is limited to 20 Hz..20 kHz, the gain to
/// +-15 dB and the marker stays on the clamped gain. In graphic mode the marker keeps the
/// band's frequency `bandHz` and follows the mouse only up and down.
DragStep DragMarker(double x, double y, bool graphic, double bandHz);

} // namespace GraphGeometry
