import { buildProgram } from "./gl_programs.js";
import {
  kDataTextureWidth,
  kEdgeTransparency,
  kLargestBorderPoint,
  kLargestPoint,
  kNodeColour,
  kNodeTransparency,
  kWidestLine,
} from "./page_values.js";

const Pass = { opaque: 0, weighted: 1, ids: 2, blended: 3 };

function textureRows(count) {
  return Math.max(1, Math.ceil(count / kDataTextureWidth));
}

// The on-screen radius (pixels) of the outline of a sphere of `radius` whose centre lies
// `depth` in front of the eye, at most: the shaders' rule (sphere.vert) for the nearest a
// sphere can be, since the outline widens as the eye nears. Infinite when the sphere may
// reach the eye's plane.
export function sphereOnScreen(radius, depth, pixelAngle) {
  return depth > radius
    ? radius / (pixelAngle * Math.sqrt(depth * depth - radius * radius))
    : Infinity;
}

// The on-screen radius (pixels) of a cylinder of `radius` whose nearer end lies `depth` in
// front of the eye, at most: the shaders' rule (cylinder.vert).
export function cylinderOnScreen(radius, depth, pixelAngle) {
  return depth > radius ? radius / (pixelAngle * (depth - radius)) : Infinity;
}

// Draws the scene with WebGL2: every sphere and cylinder one square facing the eye, ray-cast
// per pixel, with its data fetched from textures by shape number. Semi-transparent scenes use
// weighted blended transparency, so nothing is sorted. A lost context (the GPU reset, or the
// browser reclaimed it) calls `onLost`; once the browser restores it, every resource is made
// anew and `onRestored` is called.
export class SceneRenderer {
  constructor(canvas, scene, { onLost, onRestored }) {
    const gl = canvas.getContext("webgl2", { antialias: false, alpha: false, depth: true });
    if (!gl) {
      throw new Error("This browser cannot draw the scene: WebGL2 is not available.");
    }
    this.gl = gl;
    this.canvas = canvas;
    this.scene = scene;
    this.lost = false;
    this.states = null;
    // A test hook: draws spheres wider than this many pixels across as squares, as on a device
    // with small points.
    this.pointSizeLimit = Infinity;
    canvas.addEventListener("webglcontextlost", (event) => {
      event.preventDefault(); // so that the browser restores it
      this.lost = true;
      onLost();
    });
    canvas.addEventListener("webglcontextrestored", () => {
      this.createResources();
      this.lost = false;
      onRestored();
    });
    this.createResources();
  }

  // Programs, data textures, targets and the pick buffer: everything a context holds.
  createResources() {
    const gl = this.gl;
    const scene = this.scene;
    this.weighted = gl.getExtension("EXT_color_buffer_float") !== null;
    const largest = gl.getParameter(gl.MAX_TEXTURE_SIZE);
    if (textureRows(scene.nodeCount) > largest || textureRows(scene.edgeCount) > largest) {
      throw new Error("This browser cannot hold a scene this large.");
    }
    this.largestPointSize = gl.getParameter(gl.ALIASED_POINT_SIZE_RANGE)[1];
    this.spheres = buildProgram(gl, "sphere.vert", "sphere.frag", true);
    this.cylinders = buildProgram(gl, "cylinder.vert", "cylinder.frag", true);
    this.composite = buildProgram(gl, "composite.vert", "composite.frag", false);
    this.createNodeTextures();
    this.createEdgeTexture();
    this.orderTexture = this.createOrderTexture(this.scene.drawing.order);
    this.extras = null;
    this.noAttributes = gl.createVertexArray();
    this.targets = null;
    this.pickBuffer = gl.createBuffer();
    this.picks = Promise.resolve();
  }

  // The largest radius on screen (pixels) a sphere is drawn as a point with: points wider than
  // the device draws are drawn as squares (sphere.vert's point size).
  largestPoint() {
    const size = Math.min(this.largestPointSize, this.pointSizeLimit);
    return Math.max(0, Math.min(kLargestPoint, (size / 2 - 1) / 1.35));
  }

  // A texture of `count` texels (nodes or edges), kDataTextureWidth wide, read texel by texel.
  createDataTexture(count, internalFormat, format, type, data) {
    const gl = this.gl;
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    const rows = textureRows(count);
    gl.texImage2D(gl.TEXTURE_2D, 0, internalFormat, kDataTextureWidth, rows, 0, format, type, data);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
    gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
    return texture;
  }

  createNodeTextures() {
    const gl = this.gl;
    const { nodeCount, positions, counts } = this.scene;
    const texels = kDataTextureWidth * textureRows(nodeCount);
    const nodes = new Float32Array(4 * texels);
    for (let i = 0; i < nodeCount; ++i) {
      nodes[4 * i] = positions[3 * i];
      nodes[4 * i + 1] = positions[3 * i + 1];
      nodes[4 * i + 2] = positions[3 * i + 2];
      nodes[4 * i + 3] = counts[i];
    }
    this.nodeTexture = this.createDataTexture(nodeCount, gl.RGBA32F, gl.RGBA, gl.FLOAT, nodes);
    // Every node has a colour of its own (red, green, blue, legend entry): the file's, or its
    // class's when the nodes are coloured by group.
    this.colours = new Uint8Array(4 * texels);
    if (this.scene.nodeColours) {
      this.colours.set(this.scene.nodeColours);
    } else {
      const [r, g, b] = kNodeColour.map((c) => Math.round(c * 255));
      for (let i = 0; i < texels; ++i) {
        this.colours.set([r, g, b, 0], 4 * i);
      }
    }
    this.colourTexture = this.createDataTexture(
      nodeCount,
      gl.RGBA8,
      gl.RGBA,
      gl.UNSIGNED_BYTE,
      this.colours,
    );
    // The states outlive a lost context.
    this.states = this.states ?? new Uint8Array(texels);
    this.stateTexture = this.createDataTexture(
      nodeCount,
      gl.R8UI,
      gl.RED_INTEGER,
      gl.UNSIGNED_BYTE,
      this.states,
    );
  }

  // Node states: 0 plain, 1 standing out, 2 in focus; `highlight` dims the plain ones.
  setStates(states) {
    const gl = this.gl;
    this.states.set(states);
    if (this.lost) {
      return;
    }
    gl.bindTexture(gl.TEXTURE_2D, this.stateTexture);
    const rows = textureRows(this.scene.nodeCount);
    gl.texSubImage2D(
      gl.TEXTURE_2D,
      0,
      0,
      0,
      kDataTextureWidth,
      rows,
      gl.RED_INTEGER,
      gl.UNSIGNED_BYTE,
      this.states,
    );
  }

  createEdgeTexture() {
    const gl = this.gl;
    const { edgeCount } = this.scene;
    const edges = this.scene.drawing.edges;
    const ends = new Uint32Array(2 * kDataTextureWidth * textureRows(edgeCount));
    ends.set(edges);
    this.edgeTexture = this.createDataTexture(
      edgeCount,
      gl.RG32UI,
      gl.RG_INTEGER,
      gl.UNSIGNED_INT,
      ends,
    );
  }

  // Node indices in the order their spheres are drawn (sample_order.js).
  createOrderTexture(nodes) {
    const gl = this.gl;
    const texels = new Uint32Array(kDataTextureWidth * textureRows(Math.max(1, nodes.length)));
    texels.set(nodes);
    return this.createDataTexture(
      Math.max(1, nodes.length),
      gl.R32UI,
      gl.RED_INTEGER,
      gl.UNSIGNED_INT,
      texels,
    );
  }

  // What a frame draws of the scene: the spheres of ranks [first, first + count) in drawing
  // order and the edges [edgeFirst, edgeFirst + edgeCount) of the reordered edges.
  part(first, count, edgeFirst, edgeCount) {
    return { order: this.orderTexture, first, count, edgeFirst, edgeCount };
  }

  whole() {
    return this.part(0, this.scene.nodeCount, 0, this.scene.edgeCount);
  }

  // Spheres of the nodes `nodes` (a short list: the selection, its neighbours, the hovered
  // node), drawn besides a sample; the list's texture is made again only when it changes.
  extraPart(nodes) {
    if (this.lost) {
      return this.part(0, 0, 0, 0);
    }
    const key = nodes.join(",");
    if (!this.extras || this.extras.key !== key) {
      if (this.extras) {
        this.gl.deleteTexture(this.extras.texture);
      }
      this.extras = { key, texture: this.createOrderTexture(nodes) };
    }
    return {
      order: this.extras.texture,
      first: 0,
      count: nodes.length,
      edgeFirst: 0,
      edgeCount: 0,
    };
  }

  // Whether a frame may be drawn in parts over several frames: the weighted targets keep what
  // is drawn until the composite; the other ways draw straight to the canvas.
  canSlice(view) {
    return view.transparent && this.weighted;
  }

  // The canvas at its displayed size in device pixels; tells whether it changed.
  fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(this.canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(this.canvas.clientHeight * ratio));
    if (width === this.canvas.width && height === this.canvas.height && this.targets) {
      return false;
    }
    this.canvas.width = width;
    this.canvas.height = height;
    this.createTargets(width, height);
    return true;
  }

  createTarget(width, height, attachments) {
    const gl = this.gl;
    const framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    const textures = attachments.map((format, slot) => {
      const texture = gl.createTexture();
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.texStorage2D(gl.TEXTURE_2D, 1, format, width, height);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
      gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
      gl.framebufferTexture2D(
        gl.FRAMEBUFFER,
        gl.COLOR_ATTACHMENT0 + slot,
        gl.TEXTURE_2D,
        texture,
        0,
      );
      return texture;
    });
    const depth = gl.createRenderbuffer();
    gl.bindRenderbuffer(gl.RENDERBUFFER, depth);
    gl.renderbufferStorage(gl.RENDERBUFFER, gl.DEPTH_COMPONENT24, width, height);
    gl.framebufferRenderbuffer(gl.FRAMEBUFFER, gl.DEPTH_ATTACHMENT, gl.RENDERBUFFER, depth);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    return { framebuffer, textures };
  }

  createTargets(width, height) {
    const gl = this.gl;
    this.targets = {
      ids: this.createTarget(width, height, [gl.RGBA8]),
      weighted: this.weighted ? this.createTarget(width, height, [gl.RGBA16F, gl.RGBA16F]) : null,
    };
  }

  useSurfaceProgram(program, view, pass) {
    const gl = this.gl;
    const u = program.uniforms;
    gl.useProgram(program.program);
    gl.uniformMatrix4fv(u.uView, false, view.view);
    gl.uniformMatrix4fv(u.uProjection, false, view.projection);
    gl.uniform1f(u.uSizeScale, view.sizeScale);
    gl.uniform1f(u.uPixelAngle, view.pixelAngle);
    gl.uniform2f(u.uViewport, this.canvas.width, this.canvas.height);
    gl.uniform1f(u.uLargestPoint, this.largestPoint());
    gl.uniform1i(u.uHighlight, view.highlight ? 1 : 0);
    gl.uniform1i(u.uPass, pass);
    const transparency = program === this.spheres ? kNodeTransparency : kEdgeTransparency;
    gl.uniform1f(u.uAlpha, pass === Pass.opaque ? 1 : 1 - transparency);
    const textures = [
      [u.uNodes, this.nodeTexture],
      [u.uNodeColours, this.colourTexture],
      [u.uNodeStates, this.stateTexture],
      [u.uEdges, this.edgeTexture],
      [u.uOrder, this.orderTexture],
    ];
    textures.forEach(([location, texture], unit) => {
      gl.activeTexture(gl.TEXTURE0 + unit);
      gl.bindTexture(gl.TEXTURE_2D, texture);
      gl.uniform1i(location, unit);
    });
  }

  // Spheres and cylinders small on screen are drawn as points and lines; the large form
  // (squares) is drawn too only when the view may hold a large one, since every shape costs
  // six vertices there. The shaders choose each shape's form by the same limits.
  // `part` (see part()) tells which spheres and edges; the shape numbers run on from its
  // first, so the shaders fetch the right data.
  drawShapes(view, pass, withEdges, part) {
    const gl = this.gl;
    gl.bindVertexArray(this.noAttributes);
    if (part.count > 0) {
      this.useSurfaceProgram(this.spheres, view, pass);
      gl.activeTexture(gl.TEXTURE4);
      gl.bindTexture(gl.TEXTURE_2D, part.order);
      gl.uniform1i(this.spheres.uniforms.uForm, 0);
      gl.drawArrays(gl.POINTS, part.first, part.count);
      if (view.largestSphere > Math.min(kLargestBorderPoint, this.largestPoint())) {
        gl.uniform1i(this.spheres.uniforms.uForm, 1);
        gl.drawArrays(gl.TRIANGLES, 6 * part.first, 6 * part.count);
      }
    }
    if (withEdges && part.edgeCount > 0) {
      this.useSurfaceProgram(this.cylinders, view, pass);
      gl.uniform1i(this.cylinders.uniforms.uForm, 0);
      gl.drawArrays(gl.LINES, 2 * part.edgeFirst, 2 * part.edgeCount);
      if (view.widestCylinder > kWidestLine) {
        gl.uniform1i(this.cylinders.uniforms.uForm, 1);
        gl.drawArrays(gl.TRIANGLES, 6 * part.edgeFirst, 6 * part.edgeCount);
      }
    }
    gl.bindVertexArray(null);
  }

  // One frame. `view`: view and projection matrices, pixelAngle, sizeScale, highlight,
  // showEdges, transparent, and the largest radii on screen (pixels) a sphere and a cylinder
  // may have in it. `parts` (see part()) tell what of the scene to draw, the whole by default;
  // `clear` false adds them to what the weighted targets hold (canSlice), so a scene drawn in
  // slices composites to the picture of one pass; `show` false leaves the canvas as it is, as
  // showing a frame costs a pass over every pixel and more in software.
  render(view, parts = [this.whole()], clear = true, show = true) {
    const gl = this.gl;
    if (this.lost) {
      return;
    }
    gl.viewport(0, 0, this.canvas.width, this.canvas.height);
    if (!view.transparent) {
      gl.bindFramebuffer(gl.FRAMEBUFFER, null);
      gl.enable(gl.DEPTH_TEST);
      gl.depthMask(true);
      gl.disable(gl.BLEND);
      gl.clearColor(0, 0, 0, 1);
      gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
      parts.forEach((part) => this.drawShapes(view, Pass.opaque, view.showEdges, part));
      return;
    }
    gl.disable(gl.DEPTH_TEST);
    gl.enable(gl.BLEND);
    if (!this.weighted) {
      gl.bindFramebuffer(gl.FRAMEBUFFER, null);
      gl.clearColor(0, 0, 0, 1);
      gl.clear(gl.COLOR_BUFFER_BIT);
      gl.blendFunc(gl.SRC_ALPHA, gl.ONE_MINUS_SRC_ALPHA);
      parts.forEach((part) => this.drawShapes(view, Pass.blended, view.showEdges, part));
      gl.disable(gl.BLEND);
      return;
    }
    // Colour times weight and the remaining see-through share in the first target, the
    // weights in the second; the composite pass resolves them.
    const target = this.targets.weighted;
    gl.bindFramebuffer(gl.FRAMEBUFFER, target.framebuffer);
    gl.drawBuffers([gl.COLOR_ATTACHMENT0, gl.COLOR_ATTACHMENT1]);
    if (clear) {
      gl.clearBufferfv(gl.COLOR, 0, [0, 0, 0, 1]);
      gl.clearBufferfv(gl.COLOR, 1, [0, 0, 0, 0]);
    }
    gl.blendFuncSeparate(gl.ONE, gl.ONE, gl.ZERO, gl.ONE_MINUS_SRC_ALPHA);
    parts.forEach((part) => this.drawShapes(view, Pass.weighted, view.showEdges, part));
    gl.disable(gl.BLEND);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    if (!show) {
      return;
    }
    gl.useProgram(this.composite.program);
    target.textures.forEach((texture, unit) => {
      gl.activeTexture(gl.TEXTURE0 + unit);
      gl.bindTexture(gl.TEXTURE_2D, texture);
    });
    gl.uniform1i(this.composite.uniforms.uAccumulated, 0);
    gl.uniform1i(this.composite.uniforms.uWeights, 1);
    gl.bindVertexArray(this.noAttributes);
    gl.drawArrays(gl.TRIANGLES, 0, 3);
    gl.bindVertexArray(null);
  }

  // Resolves to the node drawn nearest at device pixel (x, y) from the top left, or -1: the
  // spheres are drawn once more, as node numbers, into that one pixel. One pick at a time
  // reads through the one pick buffer; the others wait their turn.
  nodeAt(view, x, y) {
    const pick = this.picks.then(() => this.readNodeAt(view, x, y));
    this.picks = pick.catch(() => {});
    return pick;
  }

  readNodeAt(view, x, y) {
    const gl = this.gl;
    const row = this.canvas.height - 1 - y;
    if (this.lost || x < 0 || row < 0 || x >= this.canvas.width || row >= this.canvas.height) {
      return -1;
    }
    gl.bindFramebuffer(gl.FRAMEBUFFER, this.targets.ids.framebuffer);
    gl.viewport(0, 0, this.canvas.width, this.canvas.height);
    gl.enable(gl.SCISSOR_TEST);
    gl.scissor(x, row, 1, 1);
    gl.enable(gl.DEPTH_TEST);
    gl.depthMask(true);
    gl.disable(gl.BLEND);
    gl.clearColor(0, 0, 0, 0);
    gl.clear(gl.COLOR_BUFFER_BIT | gl.DEPTH_BUFFER_BIT);
    this.drawShapes(view, Pass.ids, false, this.whole());
    // Storage given anew with each pick (the last pick has read it), so the browser sees
    // every write fenced and read back before the next.
    const buffer = this.pickBuffer;
    gl.bindBuffer(gl.PIXEL_PACK_BUFFER, buffer);
    gl.bufferData(gl.PIXEL_PACK_BUFFER, 4, gl.STREAM_READ);
    gl.readPixels(x, row, 1, 1, gl.RGBA, gl.UNSIGNED_BYTE, 0);
    gl.bindBuffer(gl.PIXEL_PACK_BUFFER, null);
    gl.disable(gl.SCISSOR_TEST);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    return this.whenDrawn().then(() => {
      if (this.lost || buffer !== this.pickBuffer) {
        return -1;
      }
      const bytes = new Uint8Array(4);
      gl.bindBuffer(gl.PIXEL_PACK_BUFFER, buffer);
      gl.getBufferSubData(gl.PIXEL_PACK_BUFFER, 0, bytes);
      gl.bindBuffer(gl.PIXEL_PACK_BUFFER, null);
      return bytes[0] + 256 * bytes[1] + 65536 * bytes[2] + 16777216 * bytes[3] - 1;
    });
  }

  // Resolves once the browser has carried out every drawing command given so far. Waits
  // without blocking: a blocking read-back stalls the page and warns in the console.
  whenDrawn() {
    const gl = this.gl;
    const fence = gl.fenceSync(gl.SYNC_GPU_COMMANDS_COMPLETE, 0);
    gl.flush();
    return new Promise((resolve) => {
      const poll = () => {
        if (!this.lost && gl.clientWaitSync(fence, 0, 0) === gl.TIMEOUT_EXPIRED) {
          setTimeout(poll, 2);
          return;
        }
        gl.deleteSync(fence);
        resolve();
      };
      poll();
    });
  }
}
