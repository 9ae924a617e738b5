#pragma once

#include "interaction/PetalStrokes.h"
#include "math/PointSequence.h"
#include "model/Parameters.h"
#include "organs/Grid.h"

#include <optional>

// A control point of the petal net, as a pick names it.
struct NetIndex {
    int row = 0;
    int column = 0;
};

// The control net of a petal, leaf or sepal, in the petal's drawing frame (strokes
// in z = 0, y from base to tip, x across, z out of the plane). Row 0 is the base
// and the last row the tip; every point of either is the same point. The column
// count is odd: column 0 is the left edge, the last column the right edge and the
// middle column the midrib. Bending changes the inner rows only.
class PetalControlPointManager {
public:
    // An empty net, until createFromOutline or a file fills it.
    PetalControlPointManager() = default;
    // A net read from a file, one grid row per net row.
    explicit PetalControlPointManager(Grid points) : points_(std::move(points)) {}

    // Builds the net from the three strokes, running base to tip, with the rows and
    // columns `wanted` asks for (the "Petal CP" parameters), brought into their
    // range. Each half row is an evenly divided straight segment from the outline to
    // the midrib.
    void createFromOutline(const PointList& left, const PointList& midrib, const PointList& right,
                           const ResolutionPair& wanted);

    int rowCount() const { return points_.rows(); }
    int columnCount() const { return points_.columns(); }
    int midribColumn() const { return (columnCount() - 1) / 2; }
    int tipRow() const { return rowCount() - 1; }
    int lastColumn() const { return columnCount() - 1; }
    bool empty() const { return points_.empty(); }
    bool contains(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    }

    // The point, or the zero point outside the net.
    Vector3 pointAt(int row, int column) const;
    // Ignored outside the net.
    void setPointAt(int row, int column, const Vector3& point);
    Vector3 midribPoint(int row) const { return pointAt(row, midribColumn()); }
    // A constrained move: the base never moves; moving the tip scales the whole net
    // about the frame's origin by the ratio of the new height to the old; any other
    // point is replaced.
    void dragPoint(int row, int column, const Vector3& point);
    const Grid& points() const { return points_; }

    // Lowers or raises every row so that its midrib point lies at z = 0.
    void levelMidrib();
    // The weight a local bend around row a gives row b: 1, 0.6, 0.2, then 0.
    static double rowFalloff(int a, int b);
    // Where the outline first reaches height y (interpolated on that segment), or
    // nothing when it never does. Outlines are expected to rise from base to tip.
    static std::optional<Vector3> outlineCrossing(double y, const PointList& outline);

    // Cross-section bends from the midrib (a) out to one edge (b) in x and z. The
    // profile holds midribColumn() + 1 points relative to the midrib, scaled to the
    // picked row. Locally only the rows within two of a's row move, with falloff.
    void bendRowsLocally(NetIndex a, NetIndex b, const PointList& profile);
    // Every inner row takes the profile's shape outright; a profile that reaches 2
    // or lies entirely at zero is refused.
    void shapeRowsGlobally(NetIndex a, NetIndex b, const PointList& profile);
    // Levels the midrib, then bends the net along it by one z offset per row, when
    // a and b are the base and the tip (in either order).
    void bendAlongMidrib(NetIndex a, NetIndex b, const Profile& offsets);
    // Cross-section lifts in z only over a span of a row (midrib to right edge, edge
    // to edge, or left edge to midrib), one height per column offset. Heights of 2
    // or more are refused; the span's end columns never move.
    void liftRowsLocally(NetIndex a, NetIndex b, Profile heights);
    void liftRowsGlobally(NetIndex a, NetIndex b, Profile heights);
    static void reverseProfile(Profile& profile);

private:
    enum class Lift { Local, Global };
    void liftRows(NetIndex a, NetIndex b, Profile heights, Lift mode);
    // |a - b| when both lie in the net and apart, else 0 (the edit is refused).
    double pickSpan(NetIndex a, NetIndex b) const;

    Grid points_;
};
