function shaderText(id) {
  return document.getElementById(id).textContent;
}

function compileShader(gl, type, source) {
  const shader = gl.createShader(type);
  gl.shaderSource(shader, source);
  gl.compileShader(shader);
  if (!gl.getShaderParameter(shader, gl.COMPILE_STATUS)) {
    throw new Error("A shader did not compile: " + gl.getShaderInfoLog(shader));
  }
  return shader;
}

// A program from the page's shader elements; every shader starts with the shared values
// (values.glsl) and declarations, surfaces (spheres, cylinders) share the lighting and output
// code. Gives the program and its uniform locations by name.
export function buildProgram(gl, vertexId, fragmentId, isSurface) {
  const shared = shaderText("values.glsl") + shaderText("shared.glsl");
  const header = "#version 300 es\n" + shared;
  const vertex = "#version 300 es\n#define VERTEX_SHADER\n" + shared + shaderText(vertexId);
  const program = gl.createProgram();
  gl.attachShader(program, compileShader(gl, gl.VERTEX_SHADER, vertex));
  const fragment = header + (isSurface ? shaderText("surface.glsl") : "") + shaderText(fragmentId);
  gl.attachShader(program, compileShader(gl, gl.FRAGMENT_SHADER, fragment));
  gl.linkProgram(program);
  if (!gl.getProgramParameter(program, gl.LINK_STATUS)) {
    throw new Error("A shader program did not link: " + gl.getProgramInfoLog(program));
  }
  const uniforms = {};
  const count = gl.getProgramParameter(program, gl.ACTIVE_UNIFORMS);
  for (let i = 0; i < count; ++i) {
    const name = gl.getActiveUniform(program, i).name;
    uniforms[name] = gl.getUniformLocation(program, name);
  }
  return { program, uniforms, attribute: (name) => gl.getAttribLocation(program, name) };
}
