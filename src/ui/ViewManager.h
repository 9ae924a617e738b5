#pragma once

#include "control/ViewHost.h"
#include "gl/TextureManager.h"
#include "interaction/Camera.h"

#include <memory>

class CFlowerLibView;
class COverallView;
class CPelmoraView;
class FDParameterDlg;
class InflorescenceDlg;
class LeafArrangementDlg;
class ParameterDlg;
class TimeDlg;
class TOGL;

// The two 3D contexts, the textures they share, the windows they and the library
// view belong to, and the three modeless dialogs, created hidden. The controller
// redraws and renders through it. The main context looks at a flower of about unit
// size from its home camera; the overall context keeps the default. It goes after
// the windows (see shutdownApplication), whose contexts went with them: no context
// is current when the textures go, so they free only their pixels, and their GL
// names go with the share group when the application ends.
class ViewManager final : public ViewHost {
public:
    ViewManager();
    ~ViewManager() override;

    void setMainView(CPelmoraView* view) { mainView_ = view; }
    void setLibraryView(CFlowerLibView* view) { libraryView_ = view; }
    void setOverallView(COverallView* view) { overallView_ = view; }
    CPelmoraView* mainView() const { return mainView_; }
    CFlowerLibView* libraryView() const { return libraryView_; }
    COverallView* overallView() const { return overallView_; }

    void redrawMainView() override;
    void redrawOverallView() override;
    void redrawLibraryView() override;
    TOGL* mainContext() override { return mainContext_.get(); }
    TOGL* overallContext() override { return overallContext_.get(); }
    TextureManager& textures() { return *textures_; }
    // Both 3D views orbit the same way.
    void setOrbitStyle(OrbitStyle style);
    OrbitStyle orbitStyle() const;

    ParameterDlg& parameterDialog() { return *parameterDialog_; }
    // Linked with the floral diagram: the diagram reads its sizes and rotation angle
    // and shows the counts of the receptacle it binds in it.
    FDParameterDlg& floralDiagramDialog() { return *floralDiagramDialog_; }
    InflorescenceDlg& inflorescenceDialog() { return *inflorescenceDialog_; }
    LeafArrangementDlg& leafArrangementDialog() { return *leafArrangementDialog_; }
    TimeDlg& timeDialog() { return *timeDialog_; }

private:
    CPelmoraView* mainView_ = nullptr;
    CFlowerLibView* libraryView_ = nullptr;
    COverallView* overallView_ = nullptr;
    std::unique_ptr<TOGL> mainContext_;
    std::unique_ptr<TOGL> overallContext_;
    std::unique_ptr<ParameterDlg> parameterDialog_;
    std::unique_ptr<FDParameterDlg> floralDiagramDialog_;
    std::unique_ptr<InflorescenceDlg> inflorescenceDialog_;
    std::unique_ptr<LeafArrangementDlg> leafArrangementDialog_;
    std::unique_ptr<TimeDlg> timeDialog_;
    std::unique_ptr<TextureManager> textures_;
};

// Created on first use; destroyed by destroyViewManager once the windows are gone
// and before the application object, which the GL contexts need.
ViewManager& viewManager();
void destroyViewManager();
