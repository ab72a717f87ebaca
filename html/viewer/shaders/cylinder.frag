flat in vec3 vBottom;
flat in vec3 vTop;
flat in float vRadius;
flat in uint vState;
flat in vec3 vColour;

// Where the ray from the eye along `ray` first meets the capped cylinder, as (distance,
// normal), or a negative distance when it misses.
vec4 castCylinder(vec3 ray) {
  vec3 axis = vTop - vBottom;
  vec3 fromBottom = -vBottom;
  float axisSquared = dot(axis, axis);
  float axisRay = dot(axis, ray);
  float axisStart = dot(axis, fromBottom);
  float k2 = axisSquared - axisRay * axisRay;
  float k1 = axisSquared * dot(fromBottom, ray) - axisStart * axisRay;
  float k0 = axisSquared * dot(fromBottom, fromBottom) - axisStart * axisStart -
    vRadius * vRadius * axisSquared;
  float h = k1 * k1 - k2 * k0;
  if (h < 0.0) {
    return vec4(-1.0);
  }
  h = sqrt(h);
  float t = (-k1 - h) / k2;
  float y = axisStart + t * axisRay;
  if (y > 0.0 && y < axisSquared && k2 > 0.0) {
    return vec4(t, (fromBottom + t * ray - axis * y / axisSquared) / vRadius);
  }
  t = ((y < 0.0 ? 0.0 : axisSquared) - axisStart) / axisRay;
  if (abs(k1 + k2 * t) < h) {
    return vec4(t, axis * sign(y) / sqrt(axisSquared));
  }
  return vec4(-1.0);
}

void main() {
  if (uForm == 0) {
    // A line: the cylinder is at most a pixel or two wide here.
    writeSurface(gl_FragCoord.z, vec3(0.0, 0.0, 1.0), vColour, vState, 0u);
    return;
  }
  vec3 ray = pixelRay();
  vec4 hit = castCylinder(ray);
  if (hit.x < 0.0) {
    discard;
  }
  vec3 normal = hit.yzw;
  if (normal.z < 0.0) {
    normal = -normal;
  }
  writeSurface(depthOf(ray * hit.x), normal, vColour, vState, 0u);
}
