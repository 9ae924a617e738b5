#pragma once

#include "control/FloralDiagramSettings.h"
#include "model/SlotSelection.h"
#include "organs/FloralFormula.h"

#include <QPoint>
#include <QPointF>

#include <array>
#include <functional>
#include <string>

class FlowerObjectNode;
class IdCounter;
class FlowerTorusNode;
class QPainter;

// What a press on the diagram hits: an organ (kind = its whorl code, index = its
// slot), a ring handle (kind 4 + ring, index = ring) or nothing.
struct DiagramHit {
    static constexpr int kRingHandle = 4;
    static constexpr int kNothing = 8;

    int kind = kNothing;
    int index = -1;
};

// The floral diagram: the top view of a receptacle's four whorls as glyphs on
// concentric rings, drawn below the library view's thumbnails. It edits the slots
// of the receptacle it is bound to: counts, ring or band layout, ring radii,
// single slots dragged in polar coordinates, and library objects copied into marked
// or single slots.
//
// The diagram holds the view's selection of the bound receptacle's slots: the slots
// marked in it with the mouse and the slots the flower head modes select for
// editing. It lasts while the diagram shows that receptacle (binding it again keeps
// it) and is forgotten when the diagram is unbound or bound to another one.
//
// The binding holds the receptacle's id and looks it up on every use, so a
// receptacle deleted or replaced meanwhile leaves the diagram unbound instead of
// dangling. The operations take window pixels of the library view. A slot's radius
// (1/300ths of the profile length) and size, and a ring's radius, are diagram units,
// drawn as that many pixels from the centre in the direction of the slot's theta,
// window y growing downwards; a flower that reaches further than its rectangle
// leaves room for is drawn smaller, so that all of it shows.
//
// The editing operations return whether they changed the receptacle; the caller
// publishes the change (redraws, pick refresh).
class FloralDiagram {
public:
    using ReceptacleLookup = std::function<FlowerTorusNode*(int id)>;
    using CountsDisplay = std::function<void(const WhorlSummary&)>;
    using FormulaDisplay = std::function<void(const std::string&)>;

    static constexpr std::array<int, 4> kInitialRingRadii = {20, 40, 60, 100};

    // The lookup that resolves the bound id; without one nothing is ever bound.
    void setLookup(ReceptacleLookup lookup) { lookup_ = std::move(lookup); }
    // The dialog's values; null falls back to the initial values.
    void setSettings(const FloralDiagramSettings* settings) { settings_ = settings; }
    // Where the counts and indefinite flags of a bound receptacle are shown.
    void setCountsDisplay(CountsDisplay display) { display_ = std::move(display); }
    // Where the floral formula of the bound receptacle is shown besides the caption
    // under the diagram; handed an empty text while nothing is bound. Every paint
    // renews it, so it follows each whorl edit the views show.
    void setFormulaDisplay(FormulaDisplay display) { formulaDisplay_ = std::move(display); }

    // Binds to the receptacle (null does nothing), shows its counts and takes the
    // ring radii from its slots, kept in increasing order from the outside in.
    void bind(FlowerTorusNode* receptacle);
    // The layout every new flower starts with: bound, one pistil, six stamens and six
    // petals spread on their rings, and the counts shown. Null does nothing.
    void bindNewFlower(FlowerTorusNode* receptacle);
    void unbind();
    void unbindIf(int id);
    // The bound receptacle; null when unbound or when it no longer exists.
    FlowerTorusNode* receptacle() const;
    // Ring radius in pixels, ring 0 (pistils) to 3 (sepals).
    int ringRadius(int ring) const { return ringRadii_[ring]; }

    // Appends `count` empty slots to the whorl on its ring, 2 degrees apart from
    // 1 radian on, with the whorl's size.
    bool addOrgans(int count, int whorl);
    // Deletes up to `count` slots, and their organs, from the end of the whorl.
    bool removeOrgans(int count, int whorl);
    // Spreads every ring-layout whorl evenly on its ring.
    bool arrange();
    // Switches the whorl between ring and band layout; the whorl is emptied and a
    // band is filled between the ring inside it and its own ring.
    bool setIndefinite(int whorl, bool on);
    // Gives every whorl the count or the indefinite band a floral formula asks for
    // (inside out, as FormulaReading holds them): a band is filled afresh, a counted
    // whorl keeps the organs it has up to the count and is spread on its ring.
    bool applyFormula(const std::array<FormulaWhorl, 4>& whorls);

    DiagramHit hitTest(int x, int y) const;
    // Moves an organ (kind 0..3) to the pixel, or a ring (kind 4..7) to the height
    // of the pixel above the centre, as long as it stays between its neighbours.
    bool dragTo(int x, int y, int kind, int index);

    // Marks the slots that lie between r1 and r2 pixels from the centre.
    bool markRange(double r1, double r2);
    // Clears every mark; whether there was any.
    bool clearMarks();
    // Every marked slot gets its own copy of the prototype, with an id from `ids`.
    bool applyToPending(const FlowerObjectNode& prototype, IdCounter& ids);
    // A marked slot fills every marked slot; an unmarked one gets a copy of its own.
    bool applyToOne(const FlowerObjectNode& prototype, int whorl, int index, IdCounter& ids);
    // The marks and the slots selected for editing; drawing reads them.
    SlotSelection& selection() { return selection_; }
    const SlotSelection& selection() const { return selection_; }

    // The annulus being marked with the mouse, in pixels.
    void setHighlight(double inner, double outer);
    // The centre of the rectangle of the last paint.
    QPoint centre() const;
    // Pixels per diagram unit in the last paint: 1 where the flower fits, less where
    // it was drawn smaller.
    double scale() const { return scale_; }
    // The window pixel of the point `radius` diagram units from the centre in the
    // direction `theta`.
    QPointF pixelAt(double radius, double theta) const;

    // Draws the diagram into the rectangle (right and bottom exclusive), which it
    // remembers for the hit tests and drags that follow, with the bound receptacle's
    // floral formula as its caption.
    void paint(QPainter& painter, int left, int top, int right, int bottom);

private:
    const FloralDiagramSettings& settings() const;
    // The band of a whorl from the ring inside it to its own ring.
    void refillBand(FlowerTorusNode& torus, int whorl);
    // Empties the whorl and forgets what was selected in it.
    void clearSlots(FlowerTorusNode& torus, int whorl);
    void relayoutWhorl(FlowerTorusNode& torus, int whorl);
    bool dragRing(FlowerTorusNode& torus, int ring, int height);
    bool dragOrgan(FlowerTorusNode& torus, int x, int y, int whorl, int index);
    void showCounts(const FlowerTorusNode& torus) const;
    // The scale at which the rings and the receptacle's glyphs fit the rectangle.
    double fittingScale(const FlowerTorusNode* torus) const;
    // The window row of the ring's top point, where its handle sits.
    int ringTop(int ring) const;

    ReceptacleLookup lookup_;
    const FloralDiagramSettings* settings_ = nullptr;
    CountsDisplay display_;
    FormulaDisplay formulaDisplay_;
    int boundId_ = -1;
    std::array<int, 4> ringRadii_ = kInitialRingRadii;
    int left_ = 0;
    int top_ = 0;
    int right_ = 0;
    int bottom_ = 0;
    double scale_ = 1.0;
    double highlightInner_ = 0.0;
    double highlightOuter_ = 0.0;
    SlotSelection selection_;
};

// Created on first use.
FloralDiagram& floralDiagram();
