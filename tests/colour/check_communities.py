#!/usr/bin/env python3
"""Checks -color community against planted communities and against networkx.

Usage: check_communities.py CONVERTER KARATE_LAYOUT

A graph of ten dense groups of different sizes, joined by a few edges, must come out with one
community per group, a different one for each group, and groups joined by an edge in different
colours; on it and on the karate club, the modularity of the converter's communities must be
within 3 % of what networkx's Louvain finds. Two runs must give the same bytes.

Communities that touch no other may share a colour, so the communities are read from the
edges: an edge within a community takes its colour, an edge between two keeps the edge colour,
and every community is connected; the communities are the components over coloured edges.
"""
import random
import subprocess
import sys
import tempfile
from pathlib import Path

import networkx as nx

GROUP_SIZES = [12, 14, 16, 18, 20, 22, 24, 26, 28, 30]
TOLERANCE = 0.97
EDGE_COLOUR = "0.5 0.5 1"
OTHER_COLOUR = "0.6 0.6 0.6"


def planted_graph():
    rng = random.Random(7)
    graph = nx.Graph()
    groups = []
    first = 0
    for size in GROUP_SIZES:
        members = list(range(first, first + size))
        groups.append(members)
        graph.add_nodes_from(members)
        for a in members:
            for b in members:
                if a < b and rng.random() < 0.5:
                    graph.add_edge(a, b)
        first += size
    for _ in range(15):
        g, h = rng.sample(range(len(groups)), 2)
        graph.add_edge(rng.choice(groups[g]), rng.choice(groups[h]))
    return graph, groups


def write_layout(graph, path):
    rng = random.Random(3)
    lines = ["% planted communities", f"{graph.number_of_nodes()} {graph.number_of_edges()}"]
    for node in sorted(graph.nodes):
        x, y, z = (rng.uniform(-1, 1) for _ in range(3))
        refs = " ".join(str(n + 1) for n in sorted(graph.neighbors(node)))
        lines.append(f"{x:.6f} {y:.6f} {z:.6f} {refs}".rstrip())
    path.write_text("\n".join(lines) + "\n")


def read_layout(path):
    graph = nx.Graph()
    rows = [l.split() for l in path.read_text().splitlines() if l.strip() and not l.startswith("%")]
    count = int(rows[0][0])
    graph.add_nodes_from(range(count))
    for node, row in enumerate(rows[1:count + 1]):
        for ref in row[3:]:
            other = int(ref) - 1
            if other > node:
                graph.add_edge(node, other)
    return graph


def all_colours(scene):
    return [line.split("diffuseColor ")[1] for line in scene.splitlines() if "diffuseColor" in line]


def node_colours(scene, count):
    return all_colours(scene)[:count]


def drawn_edges(path):
    """The edges in the order the scene draws them: by lower end, then as the layout lists them."""
    rows = [l.split() for l in path.read_text().splitlines() if l.strip() and not l.startswith("%")]
    count = int(rows[0][0])
    return [(node, int(ref) - 1) for node, row in enumerate(rows[1:count + 1]) for ref in row[3:]
            if int(ref) - 1 > node]


def convert(converter, layout, output):
    result = subprocess.run([converter, "-in", str(layout), "-out", str(output), "-color", "community"],
                            capture_output=True, text=True, check=False)
    if result.returncode != 0 or result.stdout or result.stderr:
        sys.exit(f"conversion failed: {result.returncode} {result.stdout!r} {result.stderr!r}")
    return output.read_text()


def communities_of(scene, layout):
    colours = all_colours(scene)
    edges = drawn_edges(layout)
    count = len(colours) - len(edges)
    inside = nx.Graph()
    inside.add_nodes_from(range(count))
    for (a, b), colour in zip(edges, colours[count:]):
        if colour != EDGE_COLOUR:
            inside.add_edge(a, b)
    return [set(part) for part in nx.connected_components(inside)]


def compare_modularity(name, graph, ours):
    mine = nx.community.modularity(graph, ours)
    theirs = nx.community.modularity(graph, nx.community.louvain_communities(graph, seed=1))
    print(f"{name}: modularity {mine:.4f}, networkx Louvain {theirs:.4f}")
    if mine < TOLERANCE * theirs:
        sys.exit(f"{name}: modularity {mine:.4f} falls short of {theirs:.4f}")


def main():
    converter, karate = sys.argv[1], Path(sys.argv[2])
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        scratch = Path(scratch)
        graph, groups = planted_graph()
        layout = scratch / "planted.3dlayout"
        write_layout(graph, layout)
        scene = convert(converter, layout, scratch / "a.wrl")
        if convert(converter, layout, scratch / "b.wrl") != scene:
            failures.append("two runs gave different scenes")
        colours = node_colours(scene, graph.number_of_nodes())
        if OTHER_COLOUR in colours:
            failures.append("a node is grey")
        communities = communities_of(scene, layout)
        community_of = {node: index for index, part in enumerate(communities) for node in part}
        for index, members in enumerate(groups):
            seen = {community_of[m] for m in members}
            if len(seen) != 1:
                failures.append(f"group {index} spans {len(seen)} communities")
        if len({community_of[members[0]] for members in groups}) != len(groups):
            failures.append("groups share a community")
        for a, b in graph.edges:
            if community_of[a] != community_of[b] and colours[a] == colours[b]:
                failures.append(f"communities joined by edge {a}-{b} share colour {colours[a]}")
        compare_modularity("planted", graph, communities)

        karate_graph = read_layout(karate)
        karate_scene = convert(converter, karate, scratch / "karate.wrl")
        compare_modularity("karate", karate_graph, communities_of(karate_scene, karate))
    if failures:
        sys.exit("\n".join(failures))


if __name__ == "__main__":
    main()
