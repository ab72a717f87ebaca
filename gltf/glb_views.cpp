#include "gltf/glb_views.hpp"

#include <stdexcept>
#include <string>
#include <string_view>

namespace l2v {
namespace {

constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

std::uint64_t paddedTo4(std::uint64_t length) {
    return (length + 3) / 4 * 4;
}

} // namespace

std::uint64_t GlbViews::add(BinaryView view, std::uint64_t elementBytes) {
    view.offset = end_;
    view.length = view.count * elementBytes;
    end_ += paddedTo4(view.length);
    views_.push_back(std::move(view));
    return views_.size() - 1;
}

std::uint64_t GlbViews::addVectors(std::uint64_t count, int components, ViewBytes bytes) {
    BinaryView view;
    view.count = count;
    view.componentType = kFloat;
    view.type = components == 4 ? "VEC4" : "VEC3";
    view.bytes = std::move(bytes);
    return add(std::move(view), static_cast<std::uint64_t>(components) * sizeof(float));
}

std::uint64_t GlbViews::addVertices(std::uint64_t count, ViewBytes bytes,
                                    std::optional<PositionBounds> bounds) {
    BinaryView view;
    view.count = count;
    view.componentType = kFloat;
    view.type = "VEC3";
    view.target = kArrayBuffer;
    view.bounds = bounds;
    view.bytes = std::move(bytes);
    return add(std::move(view), 3 * sizeof(float));
}

std::uint64_t GlbViews::addIndices(std::uint64_t count, bool wide, ViewBytes bytes) {
    BinaryView view;
    view.count = count;
    view.componentType = wide ? kUnsignedInt : kUnsignedShort;
    view.type = "SCALAR";
    view.target = kElementArrayBuffer;
    view.bytes = std::move(bytes);
    return add(std::move(view), wide ? sizeof(std::uint32_t) : sizeof(std::uint16_t));
}

void GlbViews::write(OutputBuffer& out) const {
    for (std::size_t i = 0; i < views_.size(); ++i) {
        const BinaryView& view = views_[i];
        ViewOut bytes(out);
        view.bytes(bytes);
        if (bytes.written() != view.length) {
            throw std::logic_error("glb view " + std::to_string(i) + " wrote " +
                                   std::to_string(bytes.written()) + " bytes instead of " +
                                   std::to_string(view.length));
        }
        out.append(std::string_view("\0\0\0", paddedTo4(view.length) - view.length));
    }
}

} // namespace l2v
