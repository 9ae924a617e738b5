#include "organs/OrganTexturing.h"

#include "model/FlowerObjectComposite.h"
#include "organs/FlowerTorusNode.h"

namespace {

class OrganTexturer {
public:
    OrganTexturer(OrganGroup group, int front, int back)
        : group_(group), front_(front), back_(back) {}

    void visit(FlowerObjectNode& node) {
        if (FlowerObjectComposite* composite = asComposite(&node)) {
            for (auto& branch : composite->branches)
                visit(*branch.composite);
            for (auto& segment : composite->segments)
                if (segment.node)
                    visit(*segment.node);
        } else if (node.kind == kKindTorus) {
            visitFlowerHead(static_cast<FlowerTorusNode&>(node));
        } else if ((node.kind == kKindPetal && group_ == OrganGroup::Leaves) ||
                   (node.kind == kKindStem && group_ == OrganGroup::Stems)) {
            apply(node);
        }
    }

    int textured() const { return textured_; }

private:
    void visitFlowerHead(FlowerTorusNode& head) {
        if (group_ == OrganGroup::Stems)
            apply(head);
        const int whorl = group_ == OrganGroup::Petals   ? kWhorlPetal
                          : group_ == OrganGroup::Sepals ? kWhorlSepal
                                                         : kWhorlNone;
        if (whorl == kWhorlNone)
            return;
        for (auto& slot : head.whorl(whorl).parts)
            if (slot->holdsOrgan())
                apply(*slot->object);
    }

    void apply(FlowerObjectNode& organ) {
        organ.setTexture(true, front_, back_);
        ++textured_;
    }

    OrganGroup group_;
    int front_;
    int back_;
    int textured_ = 0;
};

} // namespace

int textureOrgans(FlowerObjectNode& root, OrganGroup group, int front, int back) {
    OrganTexturer texturer(group, front, back);
    texturer.visit(root);
    return texturer.textured();
}
