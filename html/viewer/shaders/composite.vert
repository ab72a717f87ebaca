void main() {
  // One triangle that covers the whole viewport.
  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1)) * 4.0 - 1.0;
  gl_Position = vec4(corner, 0.0, 1.0);
}
