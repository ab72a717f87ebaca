flat in vec3 vCentre;
flat in float vRadius;
flat in uint vIndex;

void main() {
  vec3 ray = pixelRay();
  float along = dot(ray, vCentre);
  float gap = along * along - (dot(vCentre, vCentre) - vRadius * vRadius);
  vec3 hit;
  vec3 normal;
  if (gap >= 0.0) {
    float t = along - sqrt(gap);
    if (t <= 0.0) {
      discard; // behind the eye, for a sphere that reaches the eye's plane
    }
    hit = ray * t;
    normal = (hit - vCentre) / vRadius;
  } else {
    // A sphere narrower than a pixel is drawn as a dot of about a pixel.
    float pixel = uPixelAngle * along;
    if (vRadius >= pixel || length(ray * along - vCentre) > 0.75 * pixel) {
      discard;
    }
    hit = ray * along;
    normal = vec3(0.0, 0.0, 1.0);
  }
  ivec2 texel = dataTexel(vIndex);
  writeSurface(depthOf(hit), normal, texelFetch(uNodeColours, texel, 0).rgb,
    texelFetch(uNodeStates, texel, 0).r, vIndex);
}
