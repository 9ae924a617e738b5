#pragma once

// The tessellation resolutions and widths the organ builders read when they build
// geometry. The parameter dialog owns the values the program uses and keeps them
// within the ranges below; whoever builds or edits an organ hands them to it.
struct ResolutionPair {
    int vertical = 0;
    int horizontal = 0;
};

struct Parameters {
    static constexpr int kMinResolution = 3;
    static constexpr int kMaxResolution = 100;
    static constexpr int kMinControlPoints = 3;
    static constexpr int kMaxControlPoints = 30;
    static constexpr int kMinWidth = 3;
    static constexpr int kMaxWidth = 500;
    // Widths are kept as spin positions; model units are positions x 0.0001.
    static constexpr double kWidthUnit = 0.0001;

    ResolutionPair stem{10, 6};
    ResolutionPair stamen{10, 6};
    ResolutionPair anther{10, 6};
    ResolutionPair pistil{10, 6};
    ResolutionPair petal{20, 20};
    ResolutionPair receptacle{20, 20};
    ResolutionPair petalControlPoints{8, 5};
    int stamenWidthSteps = 50;
    int antherWidthSteps = 120;
    int stemWidthSteps = 80;

    double stamenWidth() const { return stamenWidthSteps * kWidthUnit; }
    double antherWidth() const { return antherWidthSteps * kWidthUnit; }
    double stemWidth() const { return stemWidthSteps * kWidthUnit; }
};
