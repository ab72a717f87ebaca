#include "scene/colouring.hpp"

#include "common/file_name.hpp"
#include "layout/partition_reader.hpp"
#include "scene/node_classes.hpp"
#include "scene/palette.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

namespace l2v {
namespace {

// Bands the degree legend shows.
constexpr std::size_t kDegreeBands = 5;

struct ClassTally {
    std::int64_t value = 0;
    std::uint64_t size = 0;
    std::size_t firstNode = 0;
};

// Every class once, largest first; equal sizes by their first node, so the order depends on
// the classes alone, never on how they are numbered.
std::vector<ClassTally> rankClasses(const std::vector<std::int64_t>& classes) {
    std::unordered_map<std::int64_t, ClassTally> byValue;
    for (std::size_t node = 0; node < classes.size(); ++node) {
        auto [at, added] = byValue.try_emplace(classes[node], ClassTally{classes[node], 0, node});
        ++at->second.size;
    }
    std::vector<ClassTally> ranked;
    ranked.reserve(byValue.size());
    for (const auto& entry : byValue) {
        ranked.push_back(entry.second);
    }
    std::sort(ranked.begin(), ranked.end(), [](const ClassTally& a, const ClassTally& b) {
        return a.size != b.size ? a.size > b.size : a.firstNode < b.firstNode;
    });
    return ranked;
}

const char* wordFor(ColourBy by) {
    return by == ColourBy::component ? "component " : "community ";
}

std::vector<std::int64_t> classesFromFile(const Layout& layout, const std::string& path) {
    return readPartitionFile(path, static_cast<std::uint64_t>(layout.nodeCount));
}

} // namespace

std::int32_t Colouring::nodeClass(std::uint32_t node) const {
    return nodeClasses_.empty() ? kNoClass : nodeClasses_[node];
}

std::size_t Colouring::legendEntryOf(std::uint32_t node) const {
    if (!nodeBands_.empty()) {
        return nodeBands_[node];
    }
    return std::min(static_cast<std::size_t>(nodeClasses_[node]), legend_.size() - 1);
}

Rgb Colouring::edgeColour(std::uint32_t from, std::uint32_t to) const {
    return sharesClass(from, to) ? nodeColours_[from] : defaultEdgeColour_;
}

Colouring colourByRankedClasses(ColourBy by, std::string title,
                                const std::vector<std::int64_t>& classes, const ClassLabel& label,
                                const std::int64_t* noValue) {
    Colouring colouring;
    colouring.by_ = by;
    colouring.title_ = std::move(title);
    std::vector<ClassTally> ranked = rankClasses(classes);
    std::optional<ClassTally> unvalued;
    if (noValue != nullptr) {
        const auto at = std::find_if(ranked.begin(), ranked.end(), [&](const ClassTally& tally) {
            return tally.value == *noValue;
        });
        if (at != ranked.end()) {
            unvalued = *at;
            ranked.erase(at);
            ranked.push_back(*unvalued); // ranked last: shares no colour with a class
        }
    }
    const std::size_t valued = ranked.size() - (unvalued ? 1 : 0);
    std::unordered_map<std::int64_t, std::int32_t> rankOf;
    for (std::size_t rank = 0; rank < ranked.size(); ++rank) {
        rankOf.emplace(ranked[rank].value, static_cast<std::int32_t>(rank));
        if (rank < kPaletteSize && rank < valued) {
            colouring.legend_.push_back(
                {label(ranked[rank].value, rank), kPalette[rank], ranked[rank].size});
        }
    }
    if (valued > kPaletteSize) {
        LegendEntry other{"other (" + std::to_string(valued - kPaletteSize) + " classes)",
                          kOtherColour, 0};
        for (std::size_t rank = kPaletteSize; rank < valued; ++rank) {
            other.nodeCount += ranked[rank].size;
        }
        colouring.legend_.push_back(other);
    }
    if (unvalued) {
        colouring.legend_.push_back({"no value", kOtherColour, unvalued->size});
        colouring.nodeBands_.reserve(classes.size());
    }
    colouring.nodeClasses_.reserve(classes.size());
    colouring.nodeColours_.reserve(classes.size());
    for (const std::int64_t value : classes) {
        const auto rank = static_cast<std::size_t>(rankOf.at(value));
        const bool coloured = rank < kPaletteSize && rank < valued;
        colouring.nodeClasses_.push_back(static_cast<std::int32_t>(rank));
        colouring.nodeColours_.push_back(coloured ? kPalette[rank] : kOtherColour);
        if (unvalued) {
            const std::size_t entry =
                rank < valued ? std::min(rank, kPaletteSize) : colouring.legend_.size() - 1;
            colouring.nodeBands_.push_back(static_cast<std::uint8_t>(entry));
        }
    }
    return colouring;
}

Colouring colourByClasses(ColourBy by, std::string title, const std::vector<std::int64_t>& classes,
                          bool labelByValue) {
    return colourByRankedClasses(by, std::move(title), classes,
                                 [by, labelByValue](std::int64_t value, std::size_t rank) {
                                     return labelByValue ? "class " + std::to_string(value)
                                                         : wordFor(by) + std::to_string(rank + 1);
                                 });
}

Colouring colourAlongMap(ColourBy by, std::string title, std::span<const double> positions,
                         const BandLabel& label) {
    Colouring colouring;
    colouring.by_ = by;
    colouring.title_ = std::move(title);
    for (std::size_t band = 0; band < kDegreeBands; ++band) {
        const double t = static_cast<double>(band) / static_cast<double>(kDegreeBands - 1);
        colouring.legend_.push_back({label(t), degreeMapColour(t), 0});
    }
    colouring.nodeColours_.reserve(positions.size());
    colouring.nodeBands_.reserve(positions.size());
    for (const double t : positions) {
        std::size_t band = kDegreeBands;
        if (std::isnan(t)) {
            if (colouring.legend_.size() == kDegreeBands) {
                colouring.legend_.push_back({"no value", kOtherColour, 0});
            }
            colouring.nodeColours_.push_back(kOtherColour);
        } else {
            band = static_cast<std::size_t>(std::lround(t * static_cast<double>(kDegreeBands - 1)));
            colouring.nodeColours_.push_back(degreeMapColour(t));
        }
        colouring.nodeBands_.push_back(static_cast<std::uint8_t>(band));
        ++colouring.legend_[band].nodeCount;
    }
    return colouring;
}

// The map runs over the logarithm of the run length: reference counts of real graphs are
// heavy-tailed, and a linear map would give nearly every node the first colour.
Colouring colourByDegree(const Layout& layout) {
    std::int32_t fewest = 1;
    std::int32_t most = 1;
    for (std::int32_t i = 0; i < layout.nodeCount; ++i) {
        const std::int32_t count = std::max(layout.nodes[static_cast<std::size_t>(i)].count, 1);
        fewest = i == 0 ? count : std::min(fewest, count);
        most = std::max(most, count);
    }
    const double low = std::log(static_cast<double>(fewest));
    const double span = std::log(static_cast<double>(most)) - low;
    std::vector<double> positions;
    positions.reserve(static_cast<std::size_t>(layout.nodeCount));
    for (const NodeEntry& node : layout.nodes) {
        positions.push_back(
            span > 0 ? (std::log(static_cast<double>(std::max(node.count, 1))) - low) / span : 0.0);
    }
    return colourAlongMap(ColourBy::degree, "colour by degree", positions, [&](double t) {
        return "run length " + std::to_string(std::llround(std::exp(low + t * span)));
    });
}

Colouring computeColouring(const Layout& layout, const ColourRequest& request,
                           const NodeTable& names) {
    switch (request.by) {
    case ColourBy::none:
        return {};
    case ColourBy::community:
        return colourByClasses(ColourBy::community, "colour by community", communityClasses(layout),
                               false);
    case ColourBy::component:
        return colourByClasses(ColourBy::component, "colour by component", componentClasses(layout),
                               false);
    case ColourBy::degree:
        return colourByDegree(layout);
    case ColourBy::partitionFile:
        return colourByClasses(ColourBy::partitionFile,
                               "colour by classes in " +
                                   std::string(fileNameOf(request.partitionPath)),
                               classesFromFile(layout, request.partitionPath), true);
    case ColourBy::column:
        return colourByColumn(names, request.column);
    }
    return {};
}

} // namespace l2v
