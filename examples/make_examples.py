#!/usr/bin/python3
"""Write the example graph layouts in examples/ as .3dlayout files, and the
node table (names and attributes, CSV) of the named example.

Rerun from the repository root with Debian's Python and python3-networkx:

    /usr/bin/python3 examples/make_examples.py

The files are written next to this script. Layouts come from networkx's
spring_layout in three dimensions with fixed seeds, and coordinates are
rounded to six decimals, so a rerun with the same networkx and numpy
versions reproduces the committed files byte for byte.

Each layout is turned onto its principal axes with the longest one along z.
The converter scales a layout by its z range alone and looks at it along -z,
so a layout that is deep rather than wide stays within the default view.
"""

import csv
import os

import networkx as nx
import numpy as np

MAX_LINE_LENGTH = 499  # the reader's line limit, newline included


def example_graphs():
    """(file stem, description, graph, seed) for each example."""
    grid = nx.convert_node_labels_to_integers(
        nx.grid_graph(dim=[4, 4, 3]), ordering="sorted"
    )
    return [
        ("karate", "Zachary's karate club", nx.karate_club_graph(), 1),
        ("dodecahedron", "dodecahedral graph", nx.dodecahedral_graph(), 2),
        ("grid", "4 x 4 x 3 grid graph", grid, 3),
        ("lesmis", "co-appearances of the characters of Les Miserables",
         nx.les_miserables_graph(), 4),
    ]


def node_table_rows(graph):
    """Header and rows of a named graph's node table, in node order: the name,
    the group of characters that networkx's greedy modularity search puts it
    in (largest group first) and how many scenes it shares with others."""
    groups = nx.community.greedy_modularity_communities(graph, weight="weight")
    group_of = {}
    for number, members in enumerate(groups, start=1):
        for node in members:
            group_of[node] = "group %d" % number
    rows = [["name", "group", "shared scenes"]]
    for node in graph.nodes():
        scenes = int(sum(w for _, _, w in graph.edges(node, data="weight")))
        rows.append([str(node), group_of[node], str(scenes)])
    return rows


def deep_along_z(positions, nodes):
    """Node coordinates centred and aligned with their principal axes.

    The axis of largest spread becomes z, the second x and the smallest y
    (pictures are wider than high). Each axis is signed so that the first
    node lies on its non-negative side, which keeps reruns stable.
    """
    points = np.array([positions[node] for node in nodes], dtype=float)
    points -= points.mean(axis=0)
    _, _, axes = np.linalg.svd(points, full_matrices=False)
    aligned = points @ axes.T  # columns ordered by decreasing spread
    aligned = aligned[:, [1, 2, 0]]
    signs = np.where(aligned[0] < 0.0, -1.0, 1.0)
    return aligned * signs


def format_coordinate(value):
    text = "%.6f" % value
    # Rounding can leave "-0.000000"; write zero without a sign.
    return "0.000000" if text == "-0.000000" else text


def layout_lines(description, graph, seed):
    """The lines of the .3dlayout file for one graph."""
    if any(u == v for u, v in graph.edges()):
        raise ValueError("self-loops cannot be drawn: " + description)
    nodes = list(graph.nodes())
    points = deep_along_z(nx.spring_layout(graph, dim=3, seed=seed), nodes)
    number_of = {node: index + 1 for index, node in enumerate(nodes)}
    lines = [
        "%% %s, %d nodes, %d edges"
        % (description, graph.number_of_nodes(), graph.number_of_edges()),
        "%% networkx %s spring_layout(dim=3, seed=%d), longest axis "
        "turned to z, by examples/make_examples.py" % (nx.__version__, seed),
        "%d %d" % (graph.number_of_nodes(), graph.number_of_edges()),
    ]
    for node, point in zip(nodes, points):
        coordinates = [format_coordinate(c) for c in point]
        # Each undirected edge appears at both endpoints, as the format expects.
        neighbours = sorted(number_of[other] for other in graph.neighbors(node))
        line = " ".join(coordinates + [str(n) for n in neighbours])
        if len(line) + 1 > MAX_LINE_LENGTH:
            raise ValueError("node line too long in " + description)
        lines.append(line)
    return lines


def main():
    out_dir = os.path.dirname(os.path.abspath(__file__))
    for stem, description, graph, seed in example_graphs():
        path = os.path.join(out_dir, stem + ".3dlayout")
        with open(path, "w", encoding="ascii", newline="\n") as out:
            out.write("\n".join(layout_lines(description, graph, seed)) + "\n")
        print("wrote", os.path.relpath(path))
        if all(isinstance(node, str) for node in graph.nodes()):
            table = os.path.join(out_dir, stem + ".csv")
            with open(table, "w", encoding="utf-8", newline="") as out:
                csv.writer(out, lineterminator="\n").writerows(node_table_rows(graph))
            print("wrote", os.path.relpath(table))


if __name__ == "__main__":
    main()
