flat out vec3 vCentre;
flat out float vRadius;
flat out uint vIndex;

void main() {
  uint shape = uForm == 0 ? uint(gl_VertexID) : shapeNumber(6);
  uint index = texelFetch(uOrder, dataTexel(shape), 0).r;
  vec4 node = texelFetch(uNodes, dataTexel(index), 0);
  vec3 centre = (uView * vec4(node.xyz, 1.0)).xyz;
  float radius = kNodeRadius * sqrt(node.w) * uSizeScale;
  float distance = length(centre);
  float depth = -centre.z;
  vIndex = index;
  vCentre = centre;
  vRadius = radius;
  gl_PointSize = 1.0;
  if (distance <= radius * 1.0001 || depth <= -radius) {
    gl_Position = kCulled; // the eye is inside, or the sphere behind it
    return;
  }
  // The radius of the outline at the centre's depth; off the axis of view a sphere looks up to
  // a third wider, which the point's margin allows for.
  float outline = radius * distance / sqrt(distance * distance - radius * radius);
  if (depth - 1.5 * outline <= 0.0) {
    // So near the eye's plane that the square below would reach behind it: the large form
    // covers what of the sphere lies beyond the near plane. Such a sphere is hundreds of
    // pixels wide, so the page's scripts draw the large form.
    gl_Position = uForm == 0 ? kCulled : coverCorner(centre - radius, centre + radius, nearDepth());
    return;
  }
  float pixels = outline / (uPixelAngle * depth);
  vec4 clip = uProjection * vec4(centre, 1.0);
  vec2 onScreen = (clip.xy / clip.w * 0.5 + 0.5) * uViewport;
  bool crossesBorder = any(lessThan(onScreen, vec2(pixels))) ||
    any(greaterThan(onScreen, uViewport - pixels));
  // A point vanishes with its centre, so spheres of some size across the border are squares.
  bool large = pixels > uLargestPoint || (pixels > kLargestBorderPoint && crossesBorder);
  if (uForm == 0) {
    gl_Position = large ? kCulled : clip;
    gl_PointSize = 2.0 * (1.35 * pixels + 1.0);
    return;
  }
  if (!large) {
    gl_Position = kCulled;
    return;
  }
  // A square facing the eye through the centre that holds the outline (the tangent cone).
  vec3 towards = centre / distance;
  vec3 side = normalize(cross(towards, abs(towards.y) < 0.9 ? vec3(0, 1, 0) : vec3(1, 0, 0)));
  vec3 up = cross(side, towards);
  vec2 corner = shapeCorner();
  gl_Position = uProjection * vec4(centre + (side * corner.x + up * corner.y) * outline, 1.0);
}
