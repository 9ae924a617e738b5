#include "organs/PetalControlPointManager.h"

#include "interaction/Stroke.h"
#include "model/Parameters.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace {

// A profile value that reaches 2 (or is not a number) comes from a stroke that
// missed the petal: the edit is refused.
bool tooLarge(double value) {
    return !(value < 2.0);
}

} // namespace

void PetalControlPointManager::createFromOutline(const PointList& left, const PointList& midrib,
                                                 const PointList& right,
                                                 const ResolutionPair& wanted) {
    const int rows =
        std::clamp(wanted.vertical, Parameters::kMinControlPoints, Parameters::kMaxControlPoints);
    const int half =
        std::clamp(wanted.horizontal, Parameters::kMinControlPoints, Parameters::kMaxControlPoints);
    points_.resize(rows, 2 * half + 1);
    const int c = midribColumn();

    const Vector3 base = midrib.empty() ? Vector3() : midrib.front();
    const Vector3 tip = midrib.empty() ? Vector3() : midrib.back();
    // A midrib without length cannot be spaced out: every row then sits at its one
    // point. The resampling gives one point per row otherwise.
    Stroke spine;
    if (polylineLength(midrib) > 0.0)
        Stroke::resample(rows - 1, Stroke(midrib), spine);
    spine.points.resize(static_cast<size_t>(rows), spine.empty() ? base : spine.back());
    for (int k = 0; k < columnCount(); ++k) {
        points_.at(0, k) = base;
        points_.at(tipRow(), k) = tip;
    }

    Vector3 lastLeft, lastRight;
    for (int r = 1; r < tipRow(); ++r) {
        const Vector3 M = spine.points[static_cast<size_t>(r)];
        // Where an outline stops short of this height, the row keeps the previous
        // row's crossing across the petal.
        const Vector3 L = outlineCrossing(M.y, left).value_or(Vector3(lastLeft.x, M.y, lastLeft.z));
        const Vector3 R =
            outlineCrossing(M.y, right).value_or(Vector3(lastRight.x, M.y, lastRight.z));
        lastLeft = L;
        lastRight = R;
        points_.at(r, c) = M;
        for (int k = 0; k < c; ++k) {
            points_.at(r, k) = L + (M - L) * k / c;
            points_.at(r, lastColumn() - k) = R - (R - M) * k / c;
        }
    }
}

Vector3 PetalControlPointManager::pointAt(int row, int column) const {
    return contains(row, column) ? points_.at(row, column) : Vector3();
}

void PetalControlPointManager::setPointAt(int row, int column, const Vector3& point) {
    if (contains(row, column))
        points_.at(row, column) = point;
}

void PetalControlPointManager::dragPoint(int row, int column, const Vector3& point) {
    if (!contains(row, column) || row == 0)
        return;
    if (row != tipRow()) {
        points_.at(row, column) = point;
        return;
    }
    const double height = midribPoint(tipRow()).y;
    if (point.y < 0.01 || !(height > 0.0))
        return;
    const double factor = point.y / height;
    for (int r = 0; r < rowCount(); ++r)
        for (int k = 0; k < columnCount(); ++k)
            points_.at(r, k) *= factor;
}

void PetalControlPointManager::levelMidrib() {
    for (int r = 0; r < rowCount(); ++r) {
        const double z = points_.at(r, midribColumn()).z;
        for (int k = 0; k < columnCount(); ++k)
            points_.at(r, k).z -= z;
    }
}

double PetalControlPointManager::rowFalloff(int a, int b) {
    switch (std::abs(a - b)) {
    case 0:
        return 1.0;
    case 1:
        return 0.6;
    case 2:
        return 0.2;
    default:
        return 0.0;
    }
}

std::optional<Vector3> PetalControlPointManager::outlineCrossing(double y,
                                                                 const PointList& outline) {
    for (size_t i = 1; i < outline.size(); ++i) {
        const Vector3& p = outline[i - 1];
        const Vector3& q = outline[i];
        if (y <= q.y) {
            if (q.y == p.y)
                return Vector3(p.x, y, 0.0);
            return Vector3(((q.x - p.x) * y + q.y * p.x - p.y * q.x) / (q.y - p.y), y, 0.0);
        }
    }
    return std::nullopt;
}

double PetalControlPointManager::pickSpan(NetIndex a, NetIndex b) const {
    if (!contains(a.row, a.column) || !contains(b.row, b.column))
        return 0.0;
    return distance(points_.at(a.row, a.column), points_.at(b.row, b.column));
}

void PetalControlPointManager::bendRowsLocally(NetIndex a, NetIndex b, const PointList& profile) {
    const int c = midribColumn();
    const double L0 = pickSpan(a, b);
    const bool toRight = b.column == lastColumn();
    if (L0 == 0.0 || static_cast<int>(profile.size()) <= c || (!toRight && b.column != 0))
        return;
    const int side = toRight ? 1 : -1;
    for (int r = 1; r < tipRow(); ++r) {
        const Vector3 midrib = points_.at(r, c);
        const double Lr = distance(midrib, points_.at(r, b.column));
        const double w = Lr / L0 * rowFalloff(a.row, r);
        for (int j = 1; j <= c; ++j) {
            Vector3& p = points_.at(r, c + side * j);
            p.x += w * (profile[j].x - (midrib.x + side * j * Lr / c));
            p.z += w * profile[j].z;
        }
    }
}

void PetalControlPointManager::shapeRowsGlobally(NetIndex a, NetIndex b, const PointList& profile) {
    const int c = midribColumn();
    const double L0 = pickSpan(a, b);
    const bool toRight = b.column == lastColumn();
    if (L0 == 0.0 || static_cast<int>(profile.size()) <= c || (!toRight && b.column != 0))
        return;
    const bool refused = std::any_of(profile.begin(), profile.end(),
                                     [](const Vector3& p) { return tooLarge(p.length()); });
    const bool flat = std::none_of(profile.begin(), profile.end(),
                                   [](const Vector3& p) { return p.length() > 0.00001; });
    if (refused || flat)
        return;
    const int side = toRight ? 1 : -1;
    for (int r = 1; r < tipRow(); ++r) {
        const Vector3 midrib = points_.at(r, c);
        const double s = distance(midrib, points_.at(r, b.column)) / L0;
        for (int j = 1; j <= c; ++j) {
            Vector3& p = points_.at(r, c + side * j);
            p.x = profile[j].x * s + midrib.x;
            p.z = profile[j].z * s + midrib.z;
        }
    }
}

void PetalControlPointManager::bendAlongMidrib(NetIndex a, NetIndex b, const Profile& offsets) {
    levelMidrib();
    if (!contains(a.row, a.column) || !contains(b.row, b.column))
        return;
    const int n = static_cast<int>(offsets.size());
    const auto lift = [&](int row, double dz) {
        for (int k = 0; k < columnCount(); ++k)
            points_.at(row, k).z += dz;
    };
    if (a.row == 0 && b.row == tipRow() && n >= rowCount() - 1) {
        for (int i = 1; i < tipRow(); ++i)
            lift(i, offsets[i]);
    } else if (b.row == 0 && a.row == tipRow() && n >= rowCount()) {
        // Drawn from the tip down: the offsets run the other way, and the tip row
        // takes the first of them.
        for (int i = tipRow(); i >= 1; --i)
            lift(i, offsets[n - i - 1]);
    }
}

void PetalControlPointManager::liftRowsLocally(NetIndex a, NetIndex b, Profile heights) {
    liftRows(a, b, std::move(heights), Lift::Local);
}

void PetalControlPointManager::liftRowsGlobally(NetIndex a, NetIndex b, Profile heights) {
    liftRows(a, b, std::move(heights), Lift::Global);
}

void PetalControlPointManager::liftRows(NetIndex a, NetIndex b, Profile heights, Lift mode) {
    const double L0 = pickSpan(a, b);
    if (L0 == 0.0 || std::any_of(heights.begin(), heights.end(), tooLarge))
        return;
    const int c = midribColumn();
    const int last = lastColumn();
    // A span runs between two end columns, whose points stay. `offset` is the column
    // of heights[0], `reference` the end a global lift starts from, and the heights
    // run the other way when b holds `innerEnd`.
    struct Span {
        int from, to, offset, reference, innerEnd;
    };
    const Span spans[] = {{c, last, c, c, c}, {0, last, 0, 0, 0}, {0, c, 0, c, 0}};
    const auto picked = std::find_if(std::begin(spans), std::end(spans), [&](const Span& s) {
        return (a.column == s.from && b.column == s.to) || (a.column == s.to && b.column == s.from);
    });
    if (picked == std::end(spans))
        return;
    const Span& span = *picked;
    if (span.to - 1 - span.offset >= static_cast<int>(heights.size()))
        return;
    if (b.column == span.innerEnd)
        reverseProfile(heights);
    for (int r = 1; r < tipRow(); ++r) {
        const double Lr = distance(points_.at(r, span.from), points_.at(r, span.to));
        const double start = points_.at(r, span.reference).z;
        for (int p = span.from + 1; p < span.to; ++p) {
            const double h = heights[static_cast<size_t>(p - span.offset)] * Lr / L0;
            if (mode == Lift::Local)
                points_.at(r, p).z += h * rowFalloff(a.row, r);
            else
                points_.at(r, p).z = start + h;
        }
    }
}

void PetalControlPointManager::reverseProfile(Profile& profile) {
    std::reverse(profile.begin(), profile.end());
}
