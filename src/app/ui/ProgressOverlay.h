#pragma once

// The progress line of the downloading and modifying pages: a label laid over
// the progress bar at (10, 0) inside it, so the status text reads on top of
// the bar.

class QLabel;
class QProgressBar;

namespace tuji {

// Makes `label` a child of `bar` at (10, 0), as wide as the bar less 20 and
// as high as the bar, see-through and deaf to the mouse; the bar stops
// drawing its own percentage.
void LayLabelOverBar(QLabel* label, QProgressBar* bar);

} // namespace tuji
