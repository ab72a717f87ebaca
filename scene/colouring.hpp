#pragma once

#include "layout/layout.hpp"
#include "layout/node_table.hpp"
#include "scene/drawing_style.hpp"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace l2v {

// What the nodes are coloured by.
enum class ColourBy { none, community, component, degree, partitionFile, column };

struct ColourRequest {
    ColourBy by = ColourBy::none;
    std::string partitionPath; // for ColourBy::partitionFile
    std::string column;        // for ColourBy::column: a column of the node table
};

// One line of the legend: a class (or a band of the degree map) with its colour and how many
// nodes it holds.
struct LegendEntry {
    std::string
        label; // "community 1", "component 3", "class 7", "other (12 classes)", "5 references"
    Rgb colour;
    std::uint64_t nodeCount = 0;
};

// The legend label of a class from its value and rank (0: the largest).
using ClassLabel = std::function<std::string(std::int64_t value, std::size_t rank)>;
// The legend label of a band of a sequential map, from its position on the map (0 to 1).
using BandLabel = std::function<std::string(double position)>;

// The colours of one run, computed once from the layout and read by every encoder.
// Classes are ranked by size, largest first (ties: the class whose first node comes first);
// the first kPaletteSize ranks take the palette's colours, every further rank the neutral
// "other" colour, which the legend's last entry stands for.
class Colouring {
  public:
    Colouring() = default; // nothing coloured: every encoder draws today's scene

    // Whether the run colours anything.
    bool active() const { return by_ != ColourBy::none; }
    ColourBy by() const { return by_; }

    // The colour of node `node`.
    const Rgb& nodeColour(std::uint32_t node) const { return nodeColours_[node]; }
    // The rank of node `node`'s class (0: the largest), or kNoClass for ColourBy::degree.
    std::int32_t nodeClass(std::uint32_t node) const;
    // The legend entry that node `node` is counted in.
    std::size_t legendEntryOf(std::uint32_t node) const;
    // An edge takes its ends' class colour when both ends share a class, the default edge
    // colour otherwise (always with ColourBy::degree).
    Rgb edgeColour(std::uint32_t from, std::uint32_t to) const;
    // Whether an edge between `from` and `to` takes its ends' class colour.
    bool sharesClass(std::uint32_t from, std::uint32_t to) const {
        return !nodeClasses_.empty() && nodeClasses_[from] == nodeClasses_[to];
    }
    // Classes (or, for degree, bands of the map) in legend order.
    const std::vector<LegendEntry>& legend() const { return legend_; }
    // "colour by community", "colour by degree", "colour by classes in FILE".
    const std::string& title() const { return title_; }

    static constexpr std::int32_t kNoClass = -1;

    friend Colouring colourByRankedClasses(ColourBy by, std::string title,
                                           const std::vector<std::int64_t>& classes,
                                           const ClassLabel& label, const std::int64_t* noValue);
    friend Colouring colourAlongMap(ColourBy by, std::string title,
                                    std::span<const double> positions, const BandLabel& label);

  private:
    ColourBy by_ = ColourBy::none;
    std::vector<Rgb> nodeColours_;
    std::vector<std::int32_t> nodeClasses_; // empty for degree
    std::vector<std::uint8_t> nodeBands_;   // legend entry per node, where not the class rank
    std::vector<LegendEntry> legend_;
    std::string title_;
    Rgb defaultEdgeColour_ = DrawingStyle{}.edgeColour;
};

// Colours nodes by the classes given per node (any integers). Classes are labelled
// "<word> <rank + 1>", or "class <value>" when `labelByValue`.
Colouring colourByClasses(ColourBy by, std::string title, const std::vector<std::int64_t>& classes,
                          bool labelByValue);

// Colours classes ranked by size, each labelled by `label`; nodes whose class is `*noValue`
// (when given) take the neutral colour under a last legend entry "no value".
Colouring colourByRankedClasses(ColourBy by, std::string title,
                                const std::vector<std::int64_t>& classes, const ClassLabel& label,
                                const std::int64_t* noValue = nullptr);

// Colours nodes along the sequential map at their positions from 0 to 1; a NaN position is
// "no value" (the neutral colour, a last legend entry). The legend shows five bands.
Colouring colourAlongMap(ColourBy by, std::string title, std::span<const double> positions,
                         const BandLabel& label);

// Colours nodes along the degree map by their run length (the count that sizes the spheres).
Colouring colourByDegree(const Layout& layout);

// Colours nodes by column `column` of the node table (the first whose header is `column` in
// any case): along the map when every value given is a number, else by value, ranked by how
// many nodes hold it. Throws Failure when the table has no such column.
Colouring colourByColumn(const NodeTable& table, const std::string& column);

// What `request` asks for, computed on `layout` and its node table. Throws Failure when a
// partition file or a column is refused.
Colouring computeColouring(const Layout& layout, const ColourRequest& request,
                           const NodeTable& names = NodeTable{});

} // namespace l2v
