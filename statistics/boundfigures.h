#ifndef VELMIRA_BOUNDFIGURES_H
#define VELMIRA_BOUNDFIGURES_H

// The figures at and beyond a sheath size's fixed bounds. A clinic's table
// is clipped to them, so reading its rows back needs them as the rule does.
constexpr int UpperBoundFigure = 93;
constexpr int LowerBoundFigure = 29;

#endif // VELMIRA_BOUNDFIGURES_H
