#ifndef VELMIRA_ISOTONICFIT_H
#define VELMIRA_ISOTONICFIT_H

#include <QVector>

// A weighted isotonic (non-decreasing) regression of placement rates over the
// rows of a table, by pool adjacent violators, clipped to [low, high]; rows
// without cases take the value interpolated linearly between the nearest
// fitted rows, or the nearest fitted row's value beyond the last one. These
// are the predictions of a standard isotonic regression fitted to the cases
// with clipping at the ends (out of bounds: the nearest value).
struct IsotonicFit {
    struct Block {
        int first = 0; // rows, inclusive, both with cases
        int last = 0;
        int cases = 0;
        int placed = 0;
        double rate = 0.0; // pooled, before clipping
    };

    QVector<double> value; // per row, clipped
    QVector<int> block; // per row: its block in blocks, -1 for a row without cases
    QVector<Block> blocks;
};

// x: the rows' diameters, ascending; cases and placed: per row. With no row
// of cases there is nothing to fit: every value is 0 and there is no block.
IsotonicFit fitIsotonic(const QVector<double> &x, const QVector<int> &cases,
                        const QVector<int> &placed, double low, double high);

#endif // VELMIRA_ISOTONICFIT_H
