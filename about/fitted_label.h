#pragma once
// Fitting a one-line label into a width by narrowing its face.

class QLabel;

namespace vf::about {

// Narrows the label's font (a condensed stretch of the same face and size)
// just enough for its text to fit the width, and sizes the label to the text.
// A text that already fits keeps its font.
void narrowToWidth(QLabel& label, int width);

} // namespace vf::about
