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
    };
    element("reset").addEventListener("click", () => viewer.reset());
    element("fit").addEventListener("click", () => viewer.fitAll());
    element("screenshot").addEventListener("click", () => viewer.screenshot());
    element("help-button").addEventListener("click", () => this.toggleHelp());
    this.help.addEventListener("click", () => this.toggleHelp());
    Object.entries(this.checkboxes).forEach(([setting, box]) => {
      box.checked = viewer.settings[setting];
      box.addEventListener("change", () => viewer.set(setting, box.checked));
    });
    this.search.addEventListener("keydown", (event) => {
      if (event.key === "Enter") {
        viewer.find(this.search.value);
      }
    });
    this.sizeSlider.addEventListener("input", () =>
      viewer.setSizeScale(2 ** (Number(this.sizeSlider.value) / 10)),
    );
    this.fileSizes.addEventListener("click", () => viewer.toggleFileSizes());
  }

  // The legend of a coloured scene: one line per class with its colour and node count; a
  // click on a line calls pick(entry).
  showLegend(legend, pick) {
    const box = element("legend");
    const title = document.createElement("div");
    title.className = "legend-title";
    title.textContent = `colour by ${legend.colourBy}`;
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

  showSetting(setting, value) {
    this.checkboxes[setting].checked = value;
  }

  showSizeScale(scale, suggested) {
    this.sizeSlider.value = String(Math.round(10 * Math.log2(scale)));
    const scaledDown = suggested < 1 && scale === suggested;
    this.fileSizes.textContent = scale === 1 && suggested < 1 ? "fitted sizes" : "file sizes";
    this.fileSizes.hidden = suggested === 1 && scale === 1;
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

  showHover(node, references, x, y) {
    if (node < 0) {
      this.tooltip.hidden = true;
      return;
    }
    this.tooltip.textContent = `node ${node} · ${references} reference${references === 1 ? "" : "s"}`;
    this.tooltip.style.left = `${x + 14}px`;
    this.tooltip.style.top = `${y + 10}px`;
    this.tooltip.hidden = false;
  }

  showSelection(node, references, neighbourCount) {
    this.selection.textContent =
      node < 0
        ? ""
        : `node ${node} selected · ${references} references · ${neighbourCount} ` +
          `neighbour${neighbourCount === 1 ? "" : "s"} · Escape clears`;
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
