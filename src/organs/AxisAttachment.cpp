#include "organs/AxisAttachment.h"

#include "interaction/Stroke.h"
#include "interaction/StrokeGeometry.h"
#include "model/FlowerObjectComposite.h"
#include "organs/AxisFrames.h"

PointList uprightLine(double length, int points) {
    PointList line;
    for (int i = 0; i < points; ++i)
        line.push_back({0.0, length * i / (points - 1), 0.0});
    return line;
}

std::unique_ptr<FlowerObjectComposite> carrying(std::unique_ptr<FlowerObjectNode> node,
                                                IdCounter& ids) {
    auto composite = std::make_unique<FlowerObjectComposite>(ids.nextId());
    const Stroke axis = node->mainAxis;
    composite->appendAlongAxis(std::move(node), axis, Vector3(0.0, 0.0, 1.0));
    return composite;
}

FlowerObjectComposite& attachLeaning(FlowerObjectComposite& holder, double position,
                                     const AxisFrame& frame, const Vector3& direction,
                                     std::unique_ptr<FlowerObjectComposite> branch) {
    const Matrix4 lean = rotationBetween(Vector3(0.0, 1.0, 0.0), direction).matrix;
    Stroke stroke;
    for (const Vector3& p : branch->mainAxis.points)
        stroke.add(frame.point + transformPoint(lean, p));
    // The holder's direction square to the branch faces it upwards; a branch along
    // the holder has no such direction and faces the frame's normal.
    Vector3 side = frame.tangent - direction * dot(frame.tangent, direction);
    side = side.length() > 1e-6 ? unit(side) : frame.normal;
    FlowerObjectComposite& attached = *branch;
    holder.addBranch(position, std::move(branch), stroke, side);
    return attached;
}
