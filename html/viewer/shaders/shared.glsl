precision highp float;
precision highp int;
precision highp sampler2D;
precision highp usampler2D;

// Per-node and per-edge data live in textures kDataTextureWidth texels wide (values.glsl, which
// comes first), one texel a node or an edge.
uniform sampler2D uNodes; // xyz: fitted position, w: run length (1 + references)
uniform sampler2D uNodeColours; // rgb: the node's colour
uniform usampler2D uNodeStates; // 0: plain, 1: stands out, 2: in focus (selected)
uniform usampler2D uEdges; // rg: the two node indices of an edge
uniform usampler2D uOrder; // r: the node a sphere's shape number draws (sample_order.js)
uniform mat4 uView;
uniform mat4 uProjection;
uniform vec2 uViewport; // in pixels
uniform float uSizeScale; // the page's size control
uniform float uPixelAngle; // the width of a pixel seen at distance 1
// The largest radius on screen (pixels) of a sphere drawn as a point: kLargestPoint, or less
// when the device draws no points that large.
uniform float uLargestPoint;
// 0: the small form of every shape (spheres as points, cylinders as lines), drawing the shapes
// that are small on screen; 1: the large form (a square facing the eye), drawing the others.
uniform int uForm;
uniform int uHighlight; // 1 while something is selected: the rest dims
uniform int uPass; // 0: opaque, 1: weighted blended transparency, 2: node ids, 3: plain blending
uniform float uAlpha;

ivec2 dataTexel(uint index) {
  return ivec2(int(index % kDataTextureWidth), int(index / kDataTextureWidth));
}

#ifdef VERTEX_SHADER
// A shape drawn in the large form is a square of two triangles from six vertices of one plain
// draw call, its data fetched by shape number: software renderers draw that much faster than
// instances.
const vec2 kCorners[6] = vec2[6](vec2(-1, -1), vec2(1, -1), vec2(-1, 1), vec2(-1, 1), vec2(1, -1),
  vec2(1, 1));

uint shapeNumber(int verticesPerShape) {
  return uint(gl_VertexID / verticesPerShape);
}

vec2 shapeCorner() {
  return kCorners[gl_VertexID % 6];
}

// Moves a vertex outside the clip volume, so the shape draws nothing.
const vec4 kCulled = vec4(2.0, 2.0, 2.0, 1.0);

// The view depth of the projection's near plane.
float nearDepth() {
  return uProjection[3][2] / (uProjection[2][2] - 1.0);
}

// A corner of the screen rectangle that covers every point of the view-space box from `low`
// to `high` at least `nearest` in front of the eye, for a shape too near the eye for a square
// facing it: the fragment shader's ray cast draws what of the shape lies inside.
vec4 coverCorner(vec3 low, vec3 high, float nearest) {
  float closest = max(-high.z, nearest);
  float farthest = -low.z;
  if (farthest <= nearest) {
    return kCulled;
  }
  // x / depth is largest and smallest at the box's corners.
  vec2 a = low.xy / closest;
  vec2 b = low.xy / farthest;
  vec2 c = high.xy / closest;
  vec2 d = high.xy / farthest;
  vec2 focal = vec2(uProjection[0][0], uProjection[1][1]);
  vec2 lowest = max(min(min(a, b), min(c, d)) * focal, vec2(-1.0));
  vec2 highest = min(max(max(a, b), max(c, d)) * focal, vec2(1.0));
  if (any(greaterThan(lowest, highest))) {
    return kCulled;
  }
  return vec4(mix(lowest, highest, shapeCorner() * 0.5 + 0.5), 0.0, 1.0);
}
#else
// The ray from the eye through this pixel, in view space.
vec3 pixelRay() {
  vec2 device = gl_FragCoord.xy / uViewport * 2.0 - 1.0;
  return normalize(vec3(device.x / uProjection[0][0], device.y / uProjection[1][1], -1.0));
}

float depthOf(vec3 hit) {
  vec4 clip = uProjection * vec4(hit, 1.0);
  return 0.5 * clip.z / clip.w + 0.5;
}
#endif
