#pragma once

#include "output/output_buffer.hpp"
#include "scene/edge_geometry.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace l2v {

// The bytes of one binary view as they are written, counted so that the view can be held to
// the length it planned.
class ViewOut {
  public:
    // The most bytes one call below writes.
    static constexpr std::size_t kLargestPiece = 4 * sizeof(float);

    explicit ViewOut(OutputBuffer& out) : out_(out) {}

    void floats(std::initializer_list<float> values) {
        char* const start = out_.reserve(kLargestPiece);
        char* out = start;
        for (const float value : values) {
            std::memcpy(out, &value, sizeof value);
            out += sizeof value;
        }
        commit(start, out);
    }

    // A position or direction as three floats.
    void point(const Point& point) {
        floats({static_cast<float>(point.x), static_cast<float>(point.y),
                static_cast<float>(point.z)});
    }

    template <class Index> void index(Index index) {
        char* const start = out_.reserve(sizeof index);
        std::memcpy(start, &index, sizeof index);
        commit(start, start + sizeof index);
    }

    std::uint64_t written() const { return written_; }

  private:
    void commit(const char* start, const char* end) {
        written_ += static_cast<std::uint64_t>(end - start);
        out_.commitUpTo(end);
    }

    OutputBuffer& out_;
    std::uint64_t written_ = 0;
};

using ViewBytes = std::function<void(ViewOut&)>;

// Bounds of a view of vertex positions.
struct PositionBounds {
    std::array<float, 3> low{};
    std::array<float, 3> high{};
};

// One stretch of the binary chunk, read through the accessor of the same index, with the code
// that writes its bytes.
struct BinaryView {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t count = 0;
    int componentType = 0;
    const char* type = "";
    int target = 0; // 0: no GPU buffer target (instance data)
    std::optional<PositionBounds> bounds;
    ViewBytes bytes;
};

// The binary chunk: its views in the order their bytes follow each other, each starting on a
// 4-byte boundary.
class GlbViews {
  public:
    // `count` vectors of 3 or 4 floats; returns the view's accessor index.
    std::uint64_t addVectors(std::uint64_t count, int components, ViewBytes bytes);
    // Vertex positions or normals of a mesh.
    std::uint64_t addVertices(std::uint64_t count, ViewBytes bytes,
                              std::optional<PositionBounds> bounds = std::nullopt);
    // Triangle corners, 16-bit or (`wide`) 32-bit.
    std::uint64_t addIndices(std::uint64_t count, bool wide, ViewBytes bytes);

    const std::vector<BinaryView>& views() const { return views_; }
    std::uint64_t length() const { return end_; } // a multiple of 4

    // Writes every view through the code that planned it, each checked against its length
    // and padded with zeros to the next 4-byte boundary.
    void write(OutputBuffer& out) const;

  private:
    std::uint64_t add(BinaryView view, std::uint64_t elementBytes);

    std::vector<BinaryView> views_;
    std::uint64_t end_ = 0;
};

} // namespace l2v
