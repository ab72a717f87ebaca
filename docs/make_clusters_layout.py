#!/usr/bin/python3
"""Write a 10,800-node layout to standard output: twelve blocks of 900 nodes on a ring, each
node joined to some of the nodes at most two lattice steps away, neighbouring blocks joined by
a few edges across their facing sides. Used for the README picture of -color community
(docs/render_glb_picture.sh)."""

import math
import random

rng = random.Random(5)
blocks, side, ring = 12, 10, 30.0
per_block = side * side * (side - 1)
positions, neighbours = [], []
for b in range(blocks):
    angle = 2 * math.pi * b / blocks
    cx, cy, cz = ring * math.cos(angle), ring * math.sin(angle), 6.0 * math.sin(3 * angle)
    for i in range(per_block):
        x, y, z = i % side, i // side % side, i // (side * side)
        positions.append((cx + (x - side / 2) * 1.2 + rng.uniform(-0.3, 0.3),
                          cy + (y - side / 2) * 1.2 + rng.uniform(-0.3, 0.3),
                          cz + (z - side / 2) * 1.2 + rng.uniform(-0.3, 0.3)))
        neighbours.append(set())
for b in range(blocks):
    first = b * per_block
    for i in range(per_block):
        x, y, z = i % side, i // side % side, i // (side * side)
        for dx in range(-2, 3):
            for dy in range(-2, 3):
                for dz in range(-2, 3):
                    u, v, w = x + dx, y + dy, z + dz
                    if (dx, dy, dz) != (0, 0, 0) and 0 <= u < side and 0 <= v < side \
                            and 0 <= w < side - 1 and rng.random() < 0.12:
                        j = u + side * (v + side * w)
                        neighbours[first + i].add(first + j)
                        neighbours[first + j].add(first + i)
    following = ((b + 1) % blocks) * per_block
    for _ in range(8):
        i, j = first + rng.randrange(per_block), following + rng.randrange(per_block)
        neighbours[i].add(j)
        neighbours[j].add(i)
edges = sum(len(n) for n in neighbours) // 2
print("% twelve blocks on a ring, by docs/make_clusters_layout.py")
print(len(positions), edges)
tilt = math.radians(55)  # tilt the ring towards the viewer
for (x, y, z), near in zip(positions, neighbours):
    y, z = y * math.cos(tilt) - z * math.sin(tilt), y * math.sin(tilt) + z * math.cos(tilt)
    print(f"{x:.4f} {y:.4f} {z:.4f} " + " ".join(str(n + 1) for n in sorted(near)))
