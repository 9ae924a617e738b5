#include "control/CommitPublisher.h"

#include "control/LibraryBrowser.h"
#include "control/ObjectLibrary.h"
#include "control/Thumbnail.h"
#include "control/ViewHost.h"
#include "gl/TOGL.h"
#include "interaction/OpenGL.h"
#include "model/FlowerObjectNode.h"

#include <algorithm>

CommitPublisher::CommitPublisher(std::function<void(const DrawContext&)> drawMainView,
                                 std::function<DrawContext()> drawRecords)
    : drawMainView_(std::move(drawMainView)), drawRecords_(std::move(drawRecords)) {
    overallTimer_.setSingleShot(true);
    QObject::connect(&overallTimer_, &QTimer::timeout, [this] { redrawOverallView(); });
}

void CommitPublisher::setViewHost(ViewHost* host) {
    if (TOGL* context = mainContext())
        context->setPickSource({});
    host_ = host;
    if (TOGL* context = mainContext())
        context->setPickSource([this](TOGL& picked) { drawPicks(picked); });
}

TOGL* CommitPublisher::mainContext() const {
    return host_ ? host_->mainContext() : nullptr;
}

void CommitPublisher::note(unsigned changes, const std::string& step) {
    pending_.changes |= changes;
    if (!step.empty()) {
        pending_.step = step;
        pending_.joining = StepJoining::NewStep;
    }
}

void CommitPublisher::noteAdjustment(unsigned changes, const std::string& step) {
    note(changes, step);
    pending_.joining = StepJoining::Burst;
}

void CommitPublisher::noteRevision(unsigned changes, const std::string& step) {
    note(changes, step);
    pending_.joining = StepJoining::Revision;
}

void CommitPublisher::noteEdited(int objectId) {
    if (objectId != -1)
        pending_.editedIds.insert(objectId);
}

CommitPublisher::Pending CommitPublisher::take() {
    Pending taken = std::move(pending_);
    pending_ = Pending();
    if (!taken.editedIds.empty())
        taken.changes |= kChangeLibrary;
    return taken;
}

void CommitPublisher::publish(unsigned changes) {
    if (changes & (kChangeLibrary | kChangeLibraryView | kChangeWorkObject))
        redrawLibraryView();
    if (changes & (kChangeWorkObject | kChangeScene | kChangeMainView)) {
        redrawMainView();
        if (TOGL* context = mainContext())
            context->markPicksStale();
    }
    if (changes & (kChangeScene | kChangeOverallView))
        scheduleOverallView();
    if (observer_)
        observer_();
}

void CommitPublisher::renewThumbnails(const std::set<int>& ids, const ObjectLibrary& library) {
    for (int id : ids)
        if (auto it = library.entries().find(id); it != library.entries().end())
            libraryBrowser().replaceThumbnail(id, thumbnailOf(*it->second));
}

QImage CommitPublisher::thumbnailOf(SceneNode& node) {
    // A tile shows its object as modelled, whatever moment of the bloom the views show.
    DrawContext records = drawRecords_();
    records.bloom = {};
    return renderThumbnail(node, mainContext(), records);
}

void CommitPublisher::drawPicks(TOGL& context) {
    glDisable(GL_BLEND);
    glDisable(GL_LIGHTING);
    glShadeModel(GL_FLAT);
    drawMainView_(context.frameContext(drawRecords_()));
}

void CommitPublisher::redrawMainView() {
    if (host_)
        host_->redrawMainView();
}

void CommitPublisher::scheduleOverallView() {
    if (!host_ || overallTimer_.isActive())
        return;
    const qint64 since = sinceOverallPaint_.isValid() ? sinceOverallPaint_.elapsed() : kOverallIntervalMs;
    overallTimer_.start(static_cast<int>(std::max<qint64>(0, kOverallIntervalMs - since)));
}

void CommitPublisher::redrawOverallView() {
    sinceOverallPaint_.start();
    if (host_)
        host_->redrawOverallView();
}

void CommitPublisher::redrawLibraryView() {
    if (host_)
        host_->redrawLibraryView();
}
