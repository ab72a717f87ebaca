#include "scene/node_classes.hpp"

#include "scene/community_refinement.hpp"
#include "scene/connected_pieces.hpp"
#include "scene/graph_library.hpp"
#include "scene/node_groups.hpp"

namespace l2v {

// Leiden on the contracted graph optimises the same modularity as on the nodes: a group
// weighs its nodes' degrees and a joining edge the drawn edges it stands for.
std::vector<std::uint32_t> groupCommunities(const Layout& layout) {
    const ContractedGraph contracted = contractNodeGroups(layout);
    const std::size_t groups = contracted.groupDegrees.size();
    IntegerVector membership(static_cast<igraph_integer_t>(groups));
    {
        const Graph graph(contracted.ends, groups);
        const RealVector edgeWeights(contracted.weights);
        runLeiden(graph, &edgeWeights, RealVector(contracted.groupDegrees), contracted.drawnEdges,
                  membership);
    }
    std::vector<std::uint32_t> community(contracted.groupOf.size());
    for (std::size_t node = 0; node < community.size(); ++node) {
        community[node] = static_cast<std::uint32_t>(membership.begin()[contracted.groupOf[node]]);
    }
    return community;
}

std::vector<std::int64_t> communityClasses(const Layout& layout) {
    const std::vector<std::uint32_t> community =
        refineCommunities(layout, groupCommunities(layout));
    return {community.begin(), community.end()};
}

std::vector<std::int64_t> componentClasses(const Layout& layout) {
    const std::vector<std::uint32_t> component = connectedPieces(
        layout, std::vector<std::uint32_t>(static_cast<std::size_t>(layout.nodeCount), 0));
    return {component.begin(), component.end()};
}

} // namespace l2v
