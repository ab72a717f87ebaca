function element(id) {
  return document.getElementById(id);
}

// The page's panels and buttons: what they show and which viewer action each one calls.
export class PageControls {
  constructor(viewer) {
    this.viewer = viewer;
    this.tooltip = element("tooltip");
    this.status = element("status");
    this.selection = element("selection");
    this.help = element("help");
    this.search = element("search");
    this.sizeSlider = element("size");
    this.fileSizes = element("file-sizes");
    this.checkboxes = {
      showEdges: element("show-edges"),
      showLabels: element("show-labels"),
      transparent: element("transparent"),
      frameBudget: element("frame-budget"),
    };
    this.drawn = element("drawn");
    element("reset").addEventListener("click", () => viewer.reset());
    element("fit").addEventListener("click", () => viewer.fitAll());
    element("screenshot").addEventListener("click", () => viewer.screenshot());
    element("help-button").addEventListener("click", () => this.toggleHelp());
    this.help.addEventListener("click", () => this.toggleHelp());
    Object.entries(this.checkboxes).forEach(([setting, box]) => {
      box.checked = viewer.settings[setting];
      box.addEventListener("change", () => viewer.set(setting, box.checked));
    });
    this.suggestions = element("suggestions");
    this.details = element("details");
    this.chosenSuggestion = 0;
    this.search.addEventListener("input", () => this.showSuggestions());
    this.search.addEventListener("keydown", (event) => this.searchKey(event));
    this.search.addEventListener("blur", () => {
      // A click on a suggestion lands before the list goes.
      setTimeout(() => (this.suggestions.hidden = true), 200);
    });
    this.sizeSlider.addEventListener("input", () =>
      viewer.setSizeScale(2 ** (Number(this.sizeSlider.value) / 10)),
    );
    this.fileSizes.addEventListener("click", () => viewer.toggleFileSizes());
    // The slider reaches the file's sizes, however far -size took them.
    const fileStep = Math.round(10 * Math.log2(viewer.fileScale));
    this.sizeSlider.min = String(Math.min(Number(this.sizeSlider.min), fileStep));
    this.sizeSlider.max = String(Math.max(Number(this.sizeSlider.max), fileStep));
  }

  // The legend of a coloured scene: one line per class with its colour and node count; a
  // click on a line calls pick(entry).
  showLegend(legend, pick) {
    const box = element("legend");
    const title = document.createElement("div");
    title.className = "legend-title";
    title.textContent = legend.title ?? `colour by ${legend.colourBy}`;
    box.append(title);
    legend.legend.forEach((entry, index) => {
      const line = document.createElement("button");
      line.className = "legend-entry";
      const swatch = document.createElement("span");
      swatch.className = "swatch";
      swatch.style.background = `rgb(${entry.colour.map((c) => Math.round(255 * c)).join(",")})`;
      line.append(swatch, `${entry.label} · ${entry.nodes.toLocaleString("en")}`);
      line.addEventListener("click", () => pick(index));
      box.append(line);
    });
    box.hidden = false;
    this.legendLines = [...box.querySelectorAll(".legend-entry")];
  }

  markLegendEntry(index) {
    (this.legendLines ?? []).forEach((line, k) => line.classList.toggle("chosen", k === index));
  }

  // The note that a frame shows part of the scene ("drawing 12% while moving"), or "".
  showDrawn(text) {
    if (this.drawn.textContent !== text) {
      this.drawn.textContent = text;
    }
  }

  showSetting(setting, value) {
    this.checkboxes[setting].checked = value;
  }

  // `scale`, `suggested` and `fileScale` are scales of the fitted sizes; the file's sizes are
  // those times `fileScale`, which is 1 unless -size was given.
  showSizeScale(scale, suggested, fileScale) {
    this.sizeSlider.value = String(Math.round(10 * Math.log2(scale)));
    const scaledDown = suggested < fileScale && scale === suggested;
    this.fileSizes.textContent =
      scale === fileScale && suggested < fileScale ? "fitted sizes" : "file sizes";
    this.fileSizes.hidden = suggested === fileScale && scale === fileScale;
    this.say(
      scaledDown
        ? `Spheres and cylinders are drawn at ${scale.toPrecision(2)} of the file's size, ` +
            "so the edges show between them."
        : "",
    );
  }

  say(text) {
    this.status.textContent = text;
  }

  // Suggestions for what the search box holds, the first one chosen.
  showSuggestions() {
    const found = this.viewer.suggest(this.search.value);
    this.suggestions.replaceChildren(
      ...found.map(({ node, label }) => {
        const line = document.createElement("button");
        line.className = "suggestion";
        line.textContent = label === String(node) ? `node ${node}` : label;
        const index = document.createElement("span");
        index.className = "index";
        index.textContent = ` #${node}`;
        line.append(index);
        line.addEventListener("mousedown", (event) => event.preventDefault());
        line.addEventListener("click", () => this.chooseSuggestion(node));
        return line;
      }),
    );
    this.suggestionNodes = found.map(({ node }) => node);
    this.markSuggestion(0);
    this.suggestions.hidden = found.length === 0;
  }

  markSuggestion(index) {
    this.chosenSuggestion = index;
    [...this.suggestions.children].forEach((line, k) =>
      line.classList.toggle("chosen", k === index),
    );
  }

  searchKey(event) {
    const count = this.suggestionNodes?.length ?? 0;
    if (event.key === "ArrowDown" || event.key === "ArrowUp") {
      event.preventDefault();
      const step = event.key === "ArrowDown" ? 1 : count - 1;
      this.markSuggestion(count > 0 ? (this.chosenSuggestion + step) % count : 0);
    } else if (event.key === "Enter") {
      if (count > 0 && !this.suggestions.hidden) {
        this.chooseSuggestion(this.suggestionNodes[this.chosenSuggestion]);
      } else {
        this.viewer.find(this.search.value);
      }
    }
  }

  chooseSuggestion(node) {
    this.suggestions.hidden = true;
    this.viewer.goTo(node);
  }

  // The panel of a named node: name, attributes and neighbours by name (a click on one goes
  // there); `details` null hides it. Everything is set as text.
  showDetails(details) {
    if (!details) {
      this.details.hidden = true;
      this.details.replaceChildren();
      return;
    }
    const heading = document.createElement("h2");
    heading.textContent = details.name;
    const index = document.createElement("div");
    index.className = "index";
    index.textContent = `node ${details.node}`;
    const attributes = document.createElement("dl");
    details.attributes.forEach(([header, value]) => {
      const term = document.createElement("dt");
      term.textContent = header;
      const description = document.createElement("dd");
      description.textContent = value;
      attributes.append(term, description);
    });
    const title = document.createElement("div");
    title.className = "neighbours-title";
    title.textContent = `neighbours (${details.neighbours.length + details.moreNeighbours})`;
    const list = document.createElement("ul");
    details.neighbours.forEach(({ node, label }) => {
      const item = document.createElement("li");
      const link = document.createElement("button");
      link.className = "neighbour";
      link.textContent = label;
      link.addEventListener("click", () => this.viewer.goTo(node));
      item.append(link);
      list.append(item);
    });
    if (details.moreNeighbours > 0) {
      const more = document.createElement("li");
      more.textContent = `and ${details.moreNeighbours} more`;
      list.append(more);
    }
    this.details.replaceChildren(heading, index, attributes, title, list);
    // Below the toolbar, which wraps on narrow windows.
    this.details.style.top = `${element("toolbar").getBoundingClientRect().bottom + 6}px`;
    this.details.hidden = false;
  }

  // The tooltip with `facts` about the hovered node, or none when `facts` is null.
  showHover(facts, x, y) {
    if (!facts) {
      this.tooltip.hidden = true;
      return;
    }
    this.tooltip.textContent = facts.join(" · ");
    this.tooltip.style.left = `${x + 14}px`;
    this.tooltip.style.top = `${y + 10}px`;
    this.tooltip.hidden = false;
  }

  showSelection(node, references, neighbourCount, classText) {
    this.selection.textContent =
      node < 0
        ? ""
        : `node ${node} selected · ${classText ? `${classText} · ` : ""}${references} ` +
          `references · ${neighbourCount} neighbour${neighbourCount === 1 ? "" : "s"} · ` +
          "Escape clears";
  }

  showClassSelection(label, nodes) {
    this.selection.textContent = `${label} stands out: ${nodes} nodes · Escape clears`;
  }

  toggleHelp() {
    this.help.hidden = !this.help.hidden;
  }

  focusSearch() {
    this.search.focus();
    this.search.select();
  }
}

// Saves `canvases` (drawn over one another) as a PNG download named after the page.
export function downloadPicture(canvases, name) {
  const picture = document.createElement("canvas");
  picture.width = canvases[0].width;
  picture.height = canvases[0].height;
  const context = picture.getContext("2d");
  canvases.forEach((canvas) => context.drawImage(canvas, 0, 0));
  const link = document.createElement("a");
  link.href = picture.toDataURL("image/png");
  link.download = `${name.replace(/^.*[\\/]/, "").replace(/\.[^.]*$/, "") || "scene"}.png`;
  link.click();
}
