flat out vec3 vBottom;
flat out vec3 vTop;
flat out float vRadius;
flat out uint vState;
flat out vec3 vColour;

void main() {
  uint edge = shapeNumber(uForm == 0 ? 2 : 6);
  uvec2 ends = texelFetch(uEdges, dataTexel(edge), 0).rg;
  // The top bit of the second end: the ends share a class, and the edge takes its colour.
  vColour = (ends.y & kSharedClassBit) != 0u ? texelFetch(uNodeColours, dataTexel(ends.x), 0).rgb :
    kEdgeColour;
  ends.y &= ~kSharedClassBit;
  vec4 from = texelFetch(uNodes, dataTexel(ends.x), 0);
  vec4 to = texelFetch(uNodes, dataTexel(ends.y), 0);
  uint fromState = texelFetch(uNodeStates, dataTexel(ends.x), 0).r;
  uint toState = texelFetch(uNodeStates, dataTexel(ends.y), 0).r;
  // An edge stands out between two standing-out nodes of which one is in focus.
  vState = fromState > 0u && toState > 0u && max(fromState, toState) == 2u ? 1u : 0u;
  vec3 a = (uView * vec4(from.xyz, 1.0)).xyz;
  vec3 b = (uView * vec4(to.xyz, 1.0)).xyz;
  float length_ = length(b - a);
  // The file's cylinder: centred between the nodes, 2 node radii shorter than the edge (or
  // longer, for the shortest edges), upright when the ends coincide; the shortening scales
  // with the size control so the cylinder still ends inside the spheres.
  vec3 axis = length_ > 0.0 ? (b - a) / length_ : (uView * vec4(0.0, 1.0, 0.0, 0.0)).xyz;
  float height = max(abs(length_ - 2.0 * kNodeRadius * uSizeScale), 1e-6);
  float radius = kEdgeRadius * uSizeScale;
  vec3 middle = 0.5 * (a + b);
  vBottom = middle - axis * (0.5 * height);
  vTop = middle + axis * (0.5 * height);
  vRadius = radius;
  float nearest = min(-vBottom.z, -vTop.z) - radius;
  // A cylinder that reaches the eye's plane, as an edge to a node behind the eye does, is
  // large: it is drawn where it lies beyond the near plane. The page's scripts measure
  // `nearest` alike to tell whether a view may hold a large cylinder.
  bool crossing = nearest <= 0.0;
  bool large = crossing || radius / (uPixelAngle * nearest) > kWidestLine;
  if (uForm == 0) {
    gl_Position = large ? kCulled : uProjection * vec4(gl_VertexID % 2 == 0 ? vBottom : vTop, 1.0);
    return;
  }
  if (!large) {
    gl_Position = kCulled;
    return;
  }
  // A rectangle through the middle, facing the eye, that holds the cylinder's outline as seen
  // from the eye: the ends projected onto its plane, widened by the radius as the nearest end
  // magnifies it; a cylinder too near the eye for it is covered by a box of the screen.
  vec3 towards = normalize(middle);
  float nearestAlong = min(dot(vBottom, towards), dot(vTop, towards)) - radius;
  if (crossing || nearestAlong <= 0.0) {
    gl_Position = coverCorner(min(vBottom, vTop) - radius, max(vBottom, vTop) + radius, nearDepth());
    return;
  }
  vec3 across = cross(axis, towards);
  if (length(across) < 1e-4) {
    across = cross(towards, abs(towards.y) < 0.9 ? vec3(0, 1, 0) : vec3(1, 0, 0));
  }
  across = normalize(across);
  vec3 lengthwise = cross(towards, across);
  float planeDistance = dot(middle, towards);
  float bottomAt = dot(vBottom * (planeDistance / dot(vBottom, towards)) - middle, lengthwise);
  float topAt = dot(vTop * (planeDistance / dot(vTop, towards)) - middle, lengthwise);
  float margin = radius * planeDistance / nearestAlong;
  vec2 corner = shapeCorner();
  float along = corner.x < 0.0 ? min(bottomAt, topAt) - margin : max(bottomAt, topAt) + margin;
  gl_Position = uProjection * vec4(middle + lengthwise * along + across * (corner.y * margin), 1.0);
}
