#pragma once

#include "scene/colouring.hpp"

namespace l2v {

// The word a file names a colouring by.
inline const char* colouringWord(ColourBy by) {
    switch (by) {
    case ColourBy::community:
        return "community";
    case ColourBy::component:
        return "component";
    case ColourBy::degree:
        return "degree";
    case ColourBy::partitionFile:
        return "partition file";
    case ColourBy::column:
        return "column";
    case ColourBy::none:
        break;
    }
    return "none";
}

// What the colours stand for, as the encoders that carry it write it: an object with the
// colouring's word and the legend, each entry's label, colour (red, green, blue from 0 to 1)
// and node count. `Json` is a JsonWriter.
template <class Json> void writeLegendJson(Json& json, const Colouring& colouring) {
    json.beginObject();
    json.key("colourBy");
    json.string(colouringWord(colouring.by()));
    if (colouring.by() == ColourBy::column) {
        json.key("title"); // the column's header, the user's own word
        json.string(colouring.title());
    }
    json.key("legend");
    json.beginArray();
    for (const LegendEntry& entry : colouring.legend()) {
        json.beginObject();
        json.key("label");
        json.string(entry.label);
        json.key("colour");
        json.beginArray();
        for (const float channel : {entry.colour.red, entry.colour.green, entry.colour.blue}) {
            json.number(channel);
        }
        json.endArray();
        json.key("nodes");
        json.index(entry.nodeCount);
        json.endObject();
    }
    json.endArray();
    json.endObject();
}

} // namespace l2v
