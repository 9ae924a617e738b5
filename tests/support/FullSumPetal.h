#pragma once

// The petal surface summed over the whole control net, term by term, exactly as
// the surface is defined: the reference the windowed evaluation must match bit for
// bit, and the baseline the benchmark compares it with.

#include "math/PointSequence.h"
#include "organs/PetalControlPointManager.h"
#include "organs/PetalShape.h"

#include <algorithm>

inline Vector3 fullSumEvaluate(double s, double t, PetalHalf half,
                               const PetalControlPointManager& net) {
    const int R = net.rowCount();
    const int c = net.midribColumn();
    Vector3 sum;
    for (int i = -2; i <= R + 1; ++i) {
        const int row = std::clamp(i, 0, R - 1);
        for (int j = -2; j <= c + 2; ++j) {
            int column = 0;
            if (half == PetalHalf::Left)
                column = row == 0 || row == R - 1 ? c : std::clamp(j, 0, c);
            else
                column = j <= 0 ? c : std::min(c + j, net.columnCount() - 1);
            sum += net.points().at(row, column) * (bsplineBasis(s - i) * bsplineBasis(t - j));
        }
    }
    return sum;
}

// The sample parameters of a rows x columns shape, as the shape steps them.
inline double sampleRowParameter(const PetalControlPointManager& net, int g, int rows) {
    return -1.0 + (net.rowCount() + 1.0) * g / (rows - 1);
}
inline double sampleColumnParameter(const PetalControlPointManager& net, int h, int columns) {
    return -1.0 + (net.midribColumn() + 2.0) * h / (columns - 1);
}

// Both halves at every sample position, summed in full.
struct FullSumSamples {
    Grid left;
    Grid right;
};

inline FullSumSamples fullSumSample(const PetalControlPointManager& net, int rows, int columns) {
    FullSumSamples out{Grid(rows, columns), Grid(rows, columns)};
    for (int g = 0; g < rows; ++g)
        for (int h = 0; h < columns; ++h) {
            const double s = sampleRowParameter(net, g, rows);
            const double t = sampleColumnParameter(net, h, columns);
            out.left.at(g, h) = fullSumEvaluate(s, t, PetalHalf::Left, net);
            out.right.at(g, h) = fullSumEvaluate(s, t, PetalHalf::Right, net);
        }
    return out;
}
