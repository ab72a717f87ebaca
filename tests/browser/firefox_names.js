// Run in Firefox by firefox_shot.sh (SHOT_SCRIPT) on a named page: once its names are read,
// types "valj" into the search box, presses Enter, waits for the camera to rest, hovers the
// middle of the view and reports what the page shows.
const done = arguments[arguments.length - 1];
const canvas = document.getElementById("scene");

const report = (suggestions) => {
  const tooltip = document.getElementById("tooltip");
  done({
    suggestions,
    selected: window.layout2vrml.selected,
    heading: document.querySelector("#details h2")?.textContent ?? null,
    tooltip: tooltip.hidden ? null : tooltip.textContent,
  });
};

const hover = (suggestions) => {
  const r = canvas.getBoundingClientRect();
  canvas.dispatchEvent(new PointerEvent("pointermove",
    { clientX: r.left + r.width / 2, clientY: r.top + r.height / 2, bubbles: true }));
  setTimeout(() => report(suggestions), 2000);
};

const search = () => {
  const box = document.getElementById("search");
  box.focus();
  box.value = "valj";
  box.dispatchEvent(new Event("input"));
  const suggestions = [...document.querySelectorAll("#suggestions .suggestion")].map((e) => e.textContent);
  box.dispatchEvent(new KeyboardEvent("keydown", { key: "Enter", bubbles: true }));
  const rest = () => (document.body.dataset.camera === "still" ? hover(suggestions) : setTimeout(rest, 100));
  setTimeout(rest, 300);
};

// The names are read right after the first frame.
const named = () => (window.layout2vrml.scene.names ? search() : setTimeout(named, 100));
named();
