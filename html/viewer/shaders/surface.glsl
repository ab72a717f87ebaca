layout(location = 0) out vec4 outColour;
layout(location = 1) out vec4 outWeight;

// Writes a surface point at window depth `depth` with normal `normal` (view space): its colour
// lit by a headlight as the VRML viewers light it (diffuse only, light along -z).
void writeSurface(float depth, vec3 normal, vec3 colour, uint state, uint id) {
  gl_FragDepth = depth;
  if (uPass == 2) {
    uint code = id + 1u;
    outColour = vec4(float(code & 255u), float((code >> 8u) & 255u), float((code >> 16u) & 255u),
      float((code >> 24u) & 255u)) / 255.0;
    return;
  }
  vec3 lit = colour * max(normal.z, 0.0);
  float alpha = uAlpha;
  if (uHighlight == 1) {
    if (state == 0u) {
      lit *= 0.25;
      alpha *= 0.3;
    } else {
      alpha = max(alpha, 0.85);
    }
  }
  if (uPass == 0) {
    outColour = vec4(lit, 1.0);
  } else if (uPass == 1) {
    // Nearer layers weigh more; the cap keeps sums of thousands of layers within half floats.
    float weight = clamp(alpha * max(1e-2, 50.0 * pow(1.0 - depth, 3.0)), 1e-2, 50.0);
    outColour = vec4(lit * alpha * weight, alpha);
    outWeight = vec4(alpha * weight);
  } else {
    outColour = vec4(lit, alpha);
  }
}
