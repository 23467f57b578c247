#include "ZuXSubtree.h"

void TakeApartSubtree(const pugi::xml_node& top) {
    // A node is removed as the walk leaves it, when everything below it is gone: a leaf.
    for (CZuXSubtreeWalk walk(top); !IsNone(walk.Node());) {
        const pugi::xml_node node = walk.Node();
        const bool leaving = !walk.Entering();
        walk.Step();
        if (leaving && !SameItem(node, top)) node.parent().remove_child(node);
    }
}

void TakeApartDeepSubtree(const pugi::xml_node& top) {
    for (CZuXSubtreeWalk walk(top); !IsNone(walk.Node()); walk.Next())
        if (walk.Depth() > kShallowSubtree) return TakeApartSubtree(top);
}
