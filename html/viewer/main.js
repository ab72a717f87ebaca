import { OrbitCamera } from "./camera.js";
import { attachControls } from "./controls.js";
import { FrameBudget } from "./frame_budget.js";
import { LabelLayer, kAllLabelsLimit } from "./labels.js";
import { SceneRenderer, cylinderOnScreen, sphereOnScreen } from "./renderer.js";
import { readNodeNames } from "./names.js";
import { edgesByRank, nodeOrder, ranksOf } from "./sample_order.js";
import { neighbourTable, readSceneData, sceneBounds, suggestedSizeScale } from "./scene_data.js";
import { PageControls, downloadPicture } from "./ui.js";

const kMostFocusLabels = 500;
// Labels of the most referenced nodes in view, for scenes too big to label every node; the
// label layer leaves out those that would overlap.
const kHubLabels = 400;
const kMostSuggestions = 12;
const kMostListedNeighbours = 200;
// The view rests once the camera has not moved for this long; then the whole scene is drawn.
const kRestMilliseconds = 150;
// Of the selection's neighbours, at most this many are added to a moving frame's sample.
const kMostExtraNeighbours = 2000;

// The `most` nodes of largest run length, largest first: a histogram finds the smallest run
// length among them, so only they are sorted.
function mostReferenced(counts, most) {
  const kTop = 0xffff;
  const histogram = new Uint32Array(kTop + 1);
  counts.forEach((count) => ++histogram[Math.min(count, kTop)]);
  let threshold = kTop;
  for (let taken = 0; threshold > 0 && taken + histogram[threshold] < most; --threshold) {
    taken += histogram[threshold];
  }
  const above = [];
  const at = [];
  counts.forEach((count, i) => {
    const capped = Math.min(count, kTop);
    if (capped > threshold) {
      above.push(i);
    } else if (capped === threshold && above.length + at.length < most) {
      at.push(i);
    }
  });
  const chosen = above.concat(at).slice(0, most);
  return chosen.sort((a, b) => counts[b] - counts[a] || a - b);
}

// Ties the scene, the camera, the renderer and the page together and draws on demand.
class Viewer {
  constructor(scene) {
    this.scene = scene;
    this.bounds = sceneBounds(scene);
    const order = nodeOrder(scene.positions, scene.nodeCount, this.bounds);
    this.ranks = ranksOf(order);
    scene.drawing = { order, ...edgesByRank(scene.edges, this.ranks) };
    this.budget = new FrameBudget(scene.drawing.edgesBefore);
    this.camera = new OrbitCamera();
    this.canvas = document.getElementById("scene");
    this.renderer = new SceneRenderer(this.canvas, scene, {
      onLost: () =>
        this.showFailure(
          "The graphics context was lost: the view returns when the browser restores it.",
        ),
      onRestored: () => {
        this.showFailure("");
        this.changed();
      },
    });
    this.labels = new LabelLayer(document.getElementById("labels"));
    this.settings = {
      showEdges: scene.showEdges,
      showLabels: true,
      transparent: true,
      frameBudget: true,
    };
    // The file's sizes, as scales of the fitted ones: -size scaled them already.
    this.fileScale = scene.sizeFactor ?? 1;
    this.suggestedScale = scene.sizeFactor ?? suggestedSizeScale(scene);
    this.sizeScale = this.suggestedScale;
    this.selected = -1;
    this.highlighted = false;
    this.hovered = -1;
    this.pendingHover = null;
    this.hoverPicking = false;
    // Picks finish a little later, when the GPU has drawn them: a pick whose count is no
    // longer the current one (the pointer left, Escape came) is dropped.
    this.hoverCount = 0;
    this.selectionCount = 0;
    // A test hook: picks finish this many milliseconds later.
    this.pickDelay = 0;
    this.neighbours = null;
    this.frameRequested = false;
    this.dirty = true;
    this.firstPicture = true;
    this.pictureMarked = false;
    this.drawnFrames = 0;
    this.flying = false;
    this.restTimer = null;
    this.slices = 0;
    this.frameStart = 0;
    // When the GPU last finished a frame, and how many slices of a resting view it is still
    // drawing (one, or two just after the view changed).
    this.lastDrawnAt = -Infinity;
    this.slicesDrawing = 0;
    this.firstFrame = true;
    // The camera's last move, and the view it left (see frame()).
    this.movedAt = -Infinity;
    this.lastViewKey = "";
    // The rank (drawing order) up to which the resting view is drawn; the scene's node count
    // once it is complete.
    this.drawnUpTo = 0;
    // A test hook: what the last frame drew.
    this.lastFrame = null;
    this.controls = new PageControls(this);
    this.controls.showSizeScale(this.sizeScale, this.suggestedScale, this.fileScale);
    this.chosenEntry = -1;
    if (scene.legend) {
      this.controls.showLegend(scene.legend, (entry) => this.highlightEntry(entry));
    }
    attachControls(this.canvas, this);
    window.addEventListener("resize", () => this.changed());
  }

  // --- drawing

  changed() {
    this.dirty = true;
    this.requestFrame();
  }

  requestFrame() {
    if (!this.frameRequested) {
      this.frameRequested = true;
      requestAnimationFrame((now) => this.frame(now));
    }
  }

  pixelAngle() {
    return this.camera.pixelAngle(this.canvas.width, this.canvas.height);
  }

  currentView() {
    const aspect = this.canvas.width / this.canvas.height;
    const pixelAngle = this.pixelAngle();
    // The nearest in view depth a node can be: its centre lies inside the ball that holds the
    // scene, shrunk by the largest sphere. The shaders measure sizes by view depth too.
    const { centre, radius, largestRadius } = this.bounds;
    const nearest = this.camera.depthOf(centre) - (radius - largestRadius);
    const scale = this.sizeScale;
    return {
      largestSphere: sphereOnScreen(largestRadius * scale, nearest, pixelAngle),
      // A cylinder's end lies at most a node radius beyond its node (the shortest edges).
      widestCylinder: cylinderOnScreen(
        this.scene.edgeRadius * scale,
        nearest - this.scene.nodeRadius * scale,
        pixelAngle,
      ),
      view: this.camera.viewMatrix(),
      projection: this.camera.projectionMatrix(aspect, this.bounds),
      pixelAngle,
      sizeScale: this.sizeScale,
      highlight: this.highlighted,
      showEdges: this.settings.showEdges,
      transparent: this.settings.transparent,
    };
  }

  frame(now) {
    this.frameRequested = false;
    if (this.renderer.lost) {
      return;
    }
    this.frameStart = performance.now();
    const flying = this.camera.step(now);
    this.flying = flying;
    if (this.renderer.fitCanvas()) {
      this.dirty = true;
    }
    const view = this.currentView();
    const viewKey = `${view.view} ${view.projection}`;
    if (viewKey !== this.lastViewKey) {
      this.movedAt = this.lastViewKey === "" ? -Infinity : now;
      this.lastViewKey = viewKey;
      this.dirty = true;
    }
    const moving = flying || now - this.movedAt < kRestMilliseconds;
    if (this.dirty) {
      this.dirty = false;
      this.drawnUpTo = 0;
      if (moving && this.settings.frameBudget) {
        this.drawSample(view);
        this.whenResting();
      }
    }
    const resting = !moving || !this.settings.frameBudget;
    if (resting) {
      this.drawRest(view);
    }
    if (this.pendingHover && !moving && !this.hoverPicking) {
      this.pickHover();
    }
    // "still" once the whole scene is drawn for a resting camera.
    const complete = this.drawnUpTo >= this.scene.nodeCount;
    document.body.dataset.camera = moving ? "moving" : complete ? "still" : "drawing";
    if (flying || (resting && this.drawnUpTo < this.scene.nodeCount && this.slicesDrawing === 0)) {
      this.requestFrame();
    }
  }

  // Draws the whole scene once the camera rests: one timer, put off while it still moves.
  whenResting() {
    if (this.restTimer) {
      return;
    }
    const wait = Math.max(0, this.movedAt + kRestMilliseconds - performance.now());
    this.restTimer = setTimeout(() => {
      this.restTimer = null;
      if (performance.now() - this.movedAt < kRestMilliseconds) {
        this.whenResting();
      } else {
        this.changed();
      }
    }, wait + 1);
  }

  // A moving frame: the first nodes in drawing order as the budget allows, the edges among
  // them, and the selection, its neighbours and the hovered node wherever they are.
  drawSample(view) {
    const nodes = this.budget.movingNodes();
    const drawing = this.scene.drawing;
    const parts = [this.renderer.part(0, nodes, 0, drawing.edgesBefore[nodes])];
    const extras = this.extraNodes(nodes);
    if (extras.length > 0) {
      parts.push(this.renderer.extraPart(extras));
    }
    this.renderer.render(view, parts);
    this.drawLabels(view, true);
    this.drew(view, parts, true);
  }

  // The nodes besides the first `sampled` that a moving frame draws all the same.
  extraNodes(sampled) {
    const wanted = new Set();
    if (this.hovered >= 0) {
      wanted.add(this.hovered);
    }
    if (this.selected >= 0) {
      wanted.add(this.selected);
      const neighbours = this.neighbourTable().of(this.selected);
      neighbours.slice(0, kMostExtraNeighbours).forEach((i) => wanted.add(i));
    }
    return [...wanted].filter((i) => this.ranks[i] >= sampled).sort((a, b) => a - b);
  }

  // A resting frame: the scene from where the last frame left it, as much as the budget
  // allows when it can be drawn in slices, else all of it.
  drawRest(view) {
    const total = this.scene.nodeCount;
    const from = this.drawnUpTo;
    // A scene without nodes is drawn once all the same: its frame is the first.
    if (from >= total && (total > 0 || !this.firstFrame)) {
      return;
    }
    // One slice at a time: slices that are not shown meet no back pressure from the screen,
    // and queued ahead of the GPU they would hold up a move for all of them.
    if (from > 0 && this.slicesDrawing > 0) {
      return;
    }
    let to = total;
    if (this.settings.frameBudget && this.renderer.canSlice(view)) {
      const end = this.firstPicture
        ? this.budget.movingNodes()
        : this.budget.sliceEnd(from, this.slices);
      to = Math.min(total, end);
    }
    const before = this.scene.drawing.edgesBefore;
    const parts = [this.renderer.part(from, to - from, before[from], before[to] - before[from])];
    // The slices between the first and the last are not shown: the picture stays as it was
    // (the first slice, or the sample while moving) until the whole scene replaces it.
    this.renderer.render(view, parts, from === 0, from === 0 || to >= total);
    this.slices = from === 0 ? 1 : this.slices + 1;
    if (from === 0) {
      this.drawLabels(view, false);
    }
    this.drawnUpTo = to;
    this.drew(view, parts, false);
  }

  // Measures the frame, marks the first picture and the first complete frame, and tells on
  // screen how much of the scene is shown.
  drew(view, parts, moving) {
    const count = (key) => parts.reduce((sum, part) => sum + part[key], 0);
    const nodes = count("count");
    const edges = view.showEdges ? count("edgeCount") : 0;
    const complete = !moving && this.drawnUpTo >= this.scene.nodeCount;
    const share = moving ? nodes : this.drawnUpTo;
    this.lastFrame = { moving, complete, nodes, edges, shown: share, view: this.lastViewKey };
    // The very first frame also compiles and uploads: it tells nothing of later ones.
    const measured = this.drawnFrames++ > 0;
    const started = this.frameStart;
    this.controls.showDrawn(
      complete
        ? ""
        : `drawing ${Math.floor((100 * share) / this.scene.nodeCount)}%${moving ? " while moving" : ""}`,
    );
    const firstComplete = complete && this.firstFrame;
    this.firstPicture = false;
    if (firstComplete) {
      this.firstFrame = false;
    }
    const slice = !moving && !complete;
    this.slicesDrawing += slice ? 1 : 0;
    // The frame's cost: until the GPU has drawn it, from its start or, when it was queued
    // behind the frame before, from when that one was drawn; else a queued frame would count
    // the wait as its own, and slices would be cut too short.
    this.renderer.whenDrawn().then(() => {
      if (slice) {
        --this.slicesDrawing;
        this.requestFrame();
      }
      const drawnAt = performance.now();
      if (measured) {
        this.budget.record(nodes + edges, drawnAt - Math.max(started, this.lastDrawnAt));
      }
      this.lastDrawnAt = Math.max(this.lastDrawnAt, drawnAt);
      // Fences may be seen signalled out of order: the first seen marks the first picture.
      if (!this.pictureMarked) {
        this.pictureMarked = true;
        performance.mark("layout2vrml:first-picture");
      }
      if (firstComplete) {
        performance.mark("layout2vrml:first-frame");
        // Names are read once the picture is up, not before. They follow the script, so
        // the parser may still be reading them.
        if (document.readyState === "loading") {
          document.addEventListener("DOMContentLoaded", () => this.readNames());
        } else {
          setTimeout(() => this.readNames(), 0);
        }
      }
    });
  }

  // Screen position (device pixels) and depth of node `i`, or null when behind the eye.
  project(view, i) {
    const p = this.scene.positions;
    const v = view.view;
    const m = view.projection;
    const x = p[3 * i];
    const y = p[3 * i + 1];
    const z = p[3 * i + 2];
    const ex = v[0] * x + v[4] * y + v[8] * z + v[12];
    const ey = v[1] * x + v[5] * y + v[9] * z + v[13];
    const ez = v[2] * x + v[6] * y + v[10] * z + v[14];
    if (ez >= 0) {
      return null;
    }
    const w = -ez;
    return {
      x: ((m[0] * ex) / w + 1) * 0.5 * this.canvas.width,
      y: (1 - (m[5] * ey) / w) * 0.5 * this.canvas.height,
      depth: w,
    };
  }

  labelFor(view, i) {
    const at = this.project(view, i);
    return at && { text: this.nodeLabel(i), x: at.x, y: at.y, depth: at.depth };
  }

  readNames() {
    try {
      this.scene.names = readNodeNames(
        document.getElementById("names-data").textContent,
        this.scene.nodeCount,
      );
    } catch (error) {
      this.controls.say(error.message);
      return;
    }
    if (this.scene.names) {
      performance.mark("layout2vrml:names-read");
      this.changed();
      setTimeout(() => this.scene.names.searchIndex(), 0);
    }
  }

  nodeLabel(i) {
    return this.scene.names ? this.scene.names.label(i) : String(i);
  }

  // The most referenced nodes, most first (ties by index): found once, in linear time, when
  // hub labels are first drawn.
  hubs() {
    if (!this.hubNodes) {
      this.hubNodes = mostReferenced(this.scene.counts, 20 * kHubLabels);
    }
    return this.hubNodes;
  }

  // Every node's label when the file asks for labels and they stay few enough; else, for
  // labelled or named scenes, the hubs in view.
  addSceneLabels(view, add) {
    const labelled = this.scene.showLabels || this.scene.names;
    if (!this.settings.showLabels || !labelled) {
      return;
    }
    if (this.scene.showLabels && this.scene.nodeCount <= kAllLabelsLimit) {
      for (let i = 0; i < this.scene.nodeCount; ++i) {
        add(i);
      }
      return;
    }
    let added = 0;
    const width = this.canvas.width;
    const height = this.canvas.height;
    for (const i of this.hubs()) {
      const at = this.project(view, i);
      if (at && at.x >= 0 && at.x < width && at.y >= 0 && at.y < height) {
        add(i);
        if (++added === kHubLabels) {
          break;
        }
      }
    }
  }

  // While the camera moves only the hovered and selected nodes' labels are drawn.
  drawLabels(view, moving = false) {
    this.labels.fitCanvas(this.canvas.width, this.canvas.height);
    const must = [];
    const rest = [];
    const add = (list, i) => {
      const label = this.labelFor(view, i);
      if (label) {
        list.push(label);
      }
    };
    if (this.hovered >= 0) {
      add(must, this.hovered);
    }
    if (this.settings.showLabels && this.selected >= 0) {
      add(must, this.selected);
      this.neighbourTable()
        .of(this.selected)
        .slice(0, kMostFocusLabels)
        .forEach((i) => add(rest, i));
    }
    if (!moving) {
      this.addSceneLabels(view, (i) => add(rest, i));
    }
    this.labels.draw(must, rest, window.devicePixelRatio || 1);
  }

  // --- pointing

  devicePoint(clientX, clientY) {
    const box = this.canvas.getBoundingClientRect();
    const ratio = this.canvas.width / box.width;
    return {
      x: Math.floor((clientX - box.left) * ratio),
      y: Math.floor((clientY - box.top) * ratio),
    };
  }

  // Resolves to the node under the pointer, or -1.
  nodeAt(clientX, clientY) {
    const at = this.devicePoint(clientX, clientY);
    const node = this.renderer.nodeAt(this.currentView(), at.x, at.y);
    if (this.pickDelay <= 0) {
      return node;
    }
    return node.then(
      (found) => new Promise((resolve) => setTimeout(() => resolve(found), this.pickDelay)),
    );
  }

  hover(clientX, clientY) {
    this.pendingHover = { x: clientX, y: clientY };
    this.requestFrame();
  }

  // One hover pick at a time; the pointer's latest place waits for the next.
  pickHover() {
    const { x, y } = this.pendingHover;
    this.pendingHover = null;
    this.hoverPicking = true;
    const count = this.hoverCount;
    this.nodeAt(x, y).then((node) => {
      this.hoverPicking = false;
      if (this.pendingHover) {
        this.requestFrame();
      }
      if (count !== this.hoverCount) {
        return;
      }
      this.controls.showHover(node >= 0 ? this.nodeFacts(node) : null, x, y);
      if (node !== this.hovered) {
        this.hovered = node;
        this.drawLabels(this.currentView());
      }
    });
  }

  leave() {
    ++this.hoverCount;
    this.pendingHover = null;
    this.hovered = -1;
    this.controls.showHover(null);
    this.changed();
  }

  click(clientX, clientY) {
    const count = this.selectionCount;
    this.nodeAt(clientX, clientY).then((node) => {
      if (node >= 0 && count === this.selectionCount) {
        this.select(node);
      }
    });
  }

  doubleClick(clientX, clientY) {
    const count = this.selectionCount;
    this.nodeAt(clientX, clientY).then((node) => {
      if (node >= 0 && count === this.selectionCount) {
        this.flyToNode(node);
      }
    });
  }

  // --- selection and search

  neighbourTable() {
    if (!this.neighbours) {
      this.neighbours = neighbourTable(this.scene);
    }
    return this.neighbours;
  }

  // Makes the nodes of legend entry `entry` stand out, with the edges between them; the same
  // entry again, or -1, clears.
  highlightEntry(entry) {
    const chosen = entry === this.chosenEntry ? -1 : entry;
    this.select(-1);
    this.chosenEntry = chosen;
    this.controls.markLegendEntry(chosen);
    if (chosen < 0) {
      return;
    }
    const states = new Uint8Array(this.scene.nodeCount);
    const colours = this.scene.nodeColours;
    for (let i = 0; i < this.scene.nodeCount; ++i) {
      states[i] = colours[4 * i + 3] === chosen ? 2 : 0;
    }
    this.renderer.setStates(states);
    this.highlighted = true;
    const entryOf = this.scene.legend.legend[chosen];
    this.controls.showClassSelection(entryOf.label, entryOf.nodes);
    this.changed();
  }

  select(node) {
    this.highlighted = node >= 0;
    if (this.chosenEntry >= 0 && node >= 0) {
      this.chosenEntry = -1;
      this.controls.markLegendEntry(-1);
    }
    const states = new Uint8Array(this.scene.nodeCount);
    const neighbours = node >= 0 ? this.neighbourTable().of(node) : [];
    neighbours.forEach((i) => (states[i] = 1));
    if (node >= 0) {
      states[node] = 2;
    }
    this.renderer.setStates(states);
    this.selected = node;
    const references = node >= 0 ? this.scene.counts[node] - 1 : 0;
    const distinct = [...new Set(neighbours)];
    this.controls.showSelection(node, references, distinct.length, this.classOf(node));
    this.controls.showDetails(node >= 0 && this.scene.names ? this.details(node, distinct) : null);
    this.changed();
  }

  // "community 12" for node `node` where the page numbers classes, else "".
  classOf(node) {
    const numbers = this.scene.classNumbers;
    return node >= 0 && numbers ? `${this.scene.legend.colourBy} ${numbers[node]}` : "";
  }

  // What hovering node `node` tells: its name, index, class and reference count.
  nodeFacts(node) {
    const references = this.scene.counts[node] - 1;
    return [
      this.scene.names?.name(node) ?? "",
      `node ${node}`,
      this.classOf(node),
      `${references} reference${references === 1 ? "" : "s"}`,
    ].filter((fact) => fact !== "");
  }

  // What the selection panel shows of a named node: its name, attributes and neighbours.
  details(node, neighbours) {
    const names = this.scene.names;
    return {
      name: names.label(node),
      node,
      attributes: names.attributes(node),
      neighbours: neighbours
        .slice(0, kMostListedNeighbours)
        .map((i) => ({ node: i, label: names.label(i) })),
      moreNeighbours: Math.max(0, neighbours.length - kMostListedNeighbours),
    };
  }

  // Selects node `node` and flies to it.
  goTo(node) {
    this.controls.say("");
    this.select(node);
    this.flyToNode(node);
  }

  // The nodes the search box offers for `text`: the index it spells, then names holding it.
  suggest(text) {
    const wanted = text.trim();
    const found = [];
    if (/^\d+$/.test(wanted) && Number(wanted) < this.scene.nodeCount) {
      found.push(Number(wanted));
    }
    if (this.scene.names && wanted !== "") {
      this.scene.names
        .search(wanted, kMostSuggestions)
        .forEach((node) => found.includes(node) || found.push(node));
    }
    return found.slice(0, kMostSuggestions).map((node) => ({ node, label: this.nodeLabel(node) }));
  }

  flyToNode(node) {
    const p = this.scene.positions;
    const radius = this.scene.nodeRadius * Math.sqrt(this.scene.counts[node]) * this.sizeScale;
    this.camera.flyTo([p[3 * node], p[3 * node + 1], p[3 * node + 2]], 12 * radius + 1);
    this.changed();
  }

  find(text) {
    const wanted = text.trim();
    const [first] = this.suggest(wanted);
    if (!first) {
      this.controls.say(
        this.scene.names
          ? `No node is named "${wanted}", nor numbered so (0 to ${this.scene.nodeCount - 1}).`
          : `There is no node "${wanted}": nodes are numbered 0 to ${this.scene.nodeCount - 1}.`,
      );
      return;
    }
    this.goTo(first.node);
  }

  // --- buttons and keys

  showFailure(text) {
    const failure = document.getElementById("failure");
    failure.textContent = text;
    failure.hidden = text === "";
  }

  reset() {
    this.camera.reset();
    this.changed();
  }

  fitAll() {
    this.camera.fit(this.bounds.centre, this.bounds.radius, this.canvas.width / this.canvas.height);
    this.changed();
  }

  set(setting, value) {
    this.settings[setting] = value;
    this.controls.showSetting(setting, value);
    this.changed();
  }

  setSizeScale(scale) {
    this.sizeScale = scale;
    this.controls.showSizeScale(scale, this.suggestedScale, this.fileScale);
    this.changed();
  }

  toggleFileSizes() {
    this.setSizeScale(this.sizeScale === this.fileScale ? this.suggestedScale : this.fileScale);
  }

  screenshot() {
    const view = this.currentView();
    this.renderer.render(view);
    this.drawLabels(view);
    downloadPicture([this.canvas, this.labels.canvas], document.title);
  }

  key(event) {
    const actions = {
      Escape: () => {
        ++this.selectionCount;
        this.select(-1);
        this.chosenEntry = -1;
        this.controls.markLegendEntry(-1);
        document.activeElement.blur();
      },
      r: () => this.reset(),
      f: () => this.fitAll(),
      e: () => this.set("showEdges", !this.settings.showEdges),
      l: () => this.set("showLabels", !this.settings.showLabels),
      t: () => this.set("transparent", !this.settings.transparent),
      "?": () => this.controls.toggleHelp(),
      "/": () => this.controls.focusSearch(),
    };
    const action = actions[event.key];
    if (action && !event.ctrlKey && !event.metaKey && !event.altKey) {
      event.preventDefault();
      action();
    }
  }
}

function start() {
  try {
    performance.mark("layout2vrml:start");
    const scene = readSceneData(document.getElementById("scene-data").textContent);
    performance.mark("layout2vrml:data-read");
    window.layout2vrml = new Viewer(scene);
    performance.mark("layout2vrml:viewer-ready");
    window.layout2vrml.changed();
  } catch (error) {
    const failure = document.getElementById("failure");
    failure.textContent = error.message;
    failure.hidden = false;
  }
}

start();
