#include "component_colours.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <optional>

namespace conformance {
namespace {

constexpr std::size_t kPaletteSize = 12;
constexpr Vec3 kOtherColour{0.6, 0.6, 0.6};
constexpr double kTolerance = 1e-4;

struct Ranking {
    std::vector<std::size_t> rankOfNode;
    std::vector<std::size_t> sizes; // by rank
};

// Breadth-first from every unvisited node in index order, so components are numbered by
// their first node and a stable sort by size ranks ties.
Ranking rankComponents(const ExpectedScene& scene) {
    const std::size_t count = scene.nodes.size();
    std::vector<std::vector<std::size_t>> neighbours(count);
    for (const ExpectedEdge& edge : scene.edges) {
        neighbours[edge.from].push_back(edge.to);
        neighbours[edge.to].push_back(edge.from);
    }
    std::vector<std::size_t> component(count, count);
    std::vector<std::size_t> sizes;
    for (std::size_t start = 0; start < count; ++start) {
        if (component[start] != count) {
            continue;
        }
        std::vector<std::size_t> queue{start};
        component[start] = sizes.size();
        for (std::size_t k = 0; k < queue.size(); ++k) {
            for (const std::size_t next : neighbours[queue[k]]) {
                if (component[next] == count) {
                    component[next] = sizes.size();
                    queue.push_back(next);
                }
            }
        }
        sizes.push_back(queue.size());
    }
    std::vector<std::size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
    std::vector<std::size_t> rankOf(sizes.size());
    Ranking ranking;
    for (std::size_t rank = 0; rank < order.size(); ++rank) {
        rankOf[order[rank]] = rank;
        ranking.sizes.push_back(sizes[order[rank]]);
    }
    for (const std::size_t id : component) {
        ranking.rankOfNode.push_back(rankOf[id]);
    }
    return ranking;
}

struct LegendLine {
    std::size_t number;
    Vec3 colour;
    std::size_t nodes;
};

// A whole legend line of the given form: a number, a colour and a node count.
std::optional<LegendLine> parseLine(const std::string& line, const char* form) {
    LegendLine entry{};
    int consumed = 0;
    if (std::sscanf(line.c_str(), form, &entry.number, &entry.colour.x, &entry.colour.y,
                    &entry.colour.z, &entry.nodes, &consumed) != 5 ||
        static_cast<std::size_t>(consumed) != line.size()) {
        return std::nullopt;
    }
    return entry;
}

constexpr const char* kComponentLine = "component %zu: %lf %lf %lf, %zu nodes%n";
// The legend's last line when there are more components than colours.
constexpr const char* kOtherLine = "other (%zu classes): %lf %lf %lf, %zu nodes%n";

struct Legend {
    std::vector<LegendLine> components;
    std::optional<LegendLine> other;
};

Legend legendOf(const std::vector<std::string>& worldInfo) {
    Legend legend;
    for (const std::string& line : worldInfo) {
        if (const auto entry = parseLine(line, kComponentLine)) {
            legend.components.push_back(*entry);
        } else if (const auto other = parseLine(line, kOtherLine)) {
            legend.other = other;
        }
    }
    return legend;
}

void checkOtherLine(const Legend& legend, const Ranking& ranking,
                    std::vector<std::string>& failures) {
    const std::size_t beyond =
        ranking.sizes.size() > kPaletteSize ? ranking.sizes.size() - kPaletteSize : 0;
    if (beyond == 0) {
        if (legend.other) {
            failures.emplace_back(
                "the legend has an \"other\" line but no component lacks a colour");
        }
        return;
    }
    std::size_t nodes = 0;
    for (std::size_t rank = kPaletteSize; rank < ranking.sizes.size(); ++rank) {
        nodes += ranking.sizes[rank];
    }
    if (!legend.other || legend.other->number != beyond || legend.other->nodes != nodes ||
        !sameColour(legend.other->colour, kOtherColour)) {
        failures.push_back("the legend lacks \"other (" + std::to_string(beyond) +
                           " classes)\" in grey with " + std::to_string(nodes) + " nodes");
    }
}

void checkLegend(const Legend& whole, const Ranking& ranking, std::vector<std::string>& failures) {
    checkOtherLine(whole, ranking, failures);
    const std::vector<LegendLine>& legend = whole.components;
    const std::size_t shown = std::min(ranking.sizes.size(), kPaletteSize);
    if (legend.size() != shown) {
        failures.push_back("the legend names " + std::to_string(legend.size()) +
                           " components, expected " + std::to_string(shown));
    }
    for (std::size_t rank = 0; rank < std::min(shown, legend.size()); ++rank) {
        if (legend[rank].number != rank + 1 || legend[rank].nodes != ranking.sizes[rank]) {
            failures.push_back("legend line " + std::to_string(rank) + ": component " +
                               std::to_string(legend[rank].number) + " of " +
                               std::to_string(legend[rank].nodes) + " nodes, expected " +
                               std::to_string(ranking.sizes[rank]));
        }
        for (std::size_t other = 0; other < rank; ++other) {
            if (sameColour(legend[rank].colour, legend[other].colour)) {
                failures.push_back("components " + std::to_string(other + 1) + " and " +
                                   std::to_string(rank + 1) + " share a colour");
            }
        }
    }
}

} // namespace

bool sameColour(const Vec3& a, const Vec3& b) {
    return std::fabs(a.x - b.x) <= kTolerance && std::fabs(a.y - b.y) <= kTolerance &&
           std::fabs(a.z - b.z) <= kTolerance;
}

std::string describeColour(const Vec3& colour) {
    char text[64];
    std::snprintf(text, sizeof text, "(%.4g, %.4g, %.4g)", colour.x, colour.y, colour.z);
    return text;
}

ComponentColours expectedComponentColours(const ExpectedScene& scene,
                                          const std::vector<std::string>& worldInfo) {
    const Ranking ranking = rankComponents(scene);
    const Legend whole = legendOf(worldInfo);
    const std::vector<LegendLine>& legend = whole.components;
    ComponentColours colours;
    checkLegend(whole, ranking, colours.failures);
    const auto colourOf = [&legend](std::size_t rank) {
        if (rank >= kPaletteSize) {
            return kOtherColour;
        }
        return rank < legend.size() ? legend[rank].colour : Vec3{-1, -1, -1};
    };
    for (const std::size_t rank : ranking.rankOfNode) {
        colours.nodes.push_back(colourOf(rank));
    }
    // Both ends of an edge lie in one component, so every edge takes its component's colour.
    for (const ExpectedEdge& edge : scene.edges) {
        colours.edges.push_back(colours.nodes[edge.from]);
    }
    return colours;
}

} // namespace conformance
