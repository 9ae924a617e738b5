#pragma once

#include "math/ContentHash.h"
#include "math/Vector3.h"

#include <cstdint>

#include <vector>

// A rows x columns grid of points stored contiguously, row by row: the sampled
// positions, normals and texture coordinates of the organ surfaces, which every
// drawing style, the pick pass and the OBJ writer read.
class Grid {
public:
    Grid() = default;
    Grid(int rows, int columns) { resize(rows, columns); }

    // Reallocates zero-filled.
    void resize(int rows, int columns) {
        key_ = 0;
        rows_ = rows > 0 ? rows : 0;
        columns_ = columns > 0 ? columns : 0;
        cells_.assign(static_cast<size_t>(rows_) * static_cast<size_t>(columns_), Vector3());
    }
    void clear() { resize(0, 0); }

    int rows() const { return rows_; }
    int columns() const { return columns_; }
    bool empty() const { return cells_.empty(); }

    Vector3& at(int row, int column) {
        key_ = 0;
        return cells_[index(row, column)];
    }
    const Vector3& at(int row, int column) const { return cells_[index(row, column)]; }
    const std::vector<Vector3>& cells() const { return cells_; }

    // A fingerprint of the size and every point (never 0), computed on first use.
    std::uint64_t contentKey() const {
        if (key_ == 0)
            key_ = ContentHash().add(rows_).add(columns_).add(cells_).value();
        return key_;
    }

    bool operator==(const Grid& o) const {
        return rows_ == o.rows_ && columns_ == o.columns_ && cells_ == o.cells_;
    }

private:
    size_t index(int row, int column) const {
        return static_cast<size_t>(row) * static_cast<size_t>(columns_) +
               static_cast<size_t>(column);
    }

    int rows_ = 0;
    int columns_ = 0;
    std::vector<Vector3> cells_;
    mutable std::uint64_t key_ = 0;
};
