uniform sampler2D uAccumulated;
uniform sampler2D uWeights;
out vec4 outColour;

// Resolves weighted blended transparency over the black background: the weighted mean colour
// of every layer, covering as much as their combined opacity.
void main() {
  ivec2 at = ivec2(gl_FragCoord.xy);
  vec4 accumulated = texelFetch(uAccumulated, at, 0);
  float weight = texelFetch(uWeights, at, 0).r;
  float revealed = accumulated.a;
  vec3 mean = accumulated.rgb / max(weight, 1e-5);
  outColour = vec4(mean * (1.0 - revealed), 1.0);
}
