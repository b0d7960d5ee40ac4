#pragma once
// Sizes a fixed-size window to the texts it holds now.

class QWidget;

// Qt learns that a text inside a group box grew only a few events later,
// once the window is on screen: it would appear clipped, then jump. This lays
// the whole window out anew at once, so call it before the window is shown
// (or centred) and after its texts are set.
void FitToTexts(QWidget& window);
