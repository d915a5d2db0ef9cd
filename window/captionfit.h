#ifndef VELMIRA_CAPTIONFIT_H
#define VELMIRA_CAPTIONFIT_H

class QWidget;

// Whether the widget's caption (a label's text, a button's text, a group box's
// title) fits, line by line, in the room the widget gives it and shows of it.
// A widget without a caption fits.
bool captionFits(QWidget &widget);

// The form places its widgets at fixed positions and sizes. Where the system's
// font cuts a caption, that widget alone gets the same font a whole pixel
// smaller at a time until the caption fits: whole pixels keep the glyphs on the
// pixel grid, so they stay sharp. The smaller font is antialiased: below its
// usual size Tahoma asks for plain black pixels, and its hinting then drops
// strokes of the Cyrillic letters. Widgets whose captions fit keep their font,
// and no widget moves or changes size.
void shrinkCaptionsToFit(QWidget &window);

#endif // VELMIRA_CAPTIONFIT_H
