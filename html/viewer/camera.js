// The file's view: from (0, 0, 20) along -z with y up, 45 degrees across the window's
// shorter side, as VRML viewpoints are.
const kFileEye = 20;
const kFieldOfView = Math.PI / 4;

function cross(a, b) {
  return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
}
function dot(a, b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
function scaled(a, s) {
  return [a[0] * s, a[1] * s, a[2] * s];
}
function added(a, b) {
  return [a[0] + b[0], a[1] + b[1], a[2] + b[2]];
}
function unit(a) {
  return scaled(a, 1 / Math.hypot(a[0], a[1], a[2]));
}
// `v` turned by `angle` about the unit axis `k` (Rodrigues).
function turned(v, k, angle) {
  const c = Math.cos(angle);
  const s = Math.sin(angle);
  return added(added(scaled(v, c), scaled(cross(k, v), s)), scaled(k, dot(k, v) * (1 - c)));
}

export class OrbitCamera {
  constructor() {
    this.reset();
    this.flight = null;
  }

  reset() {
    this.target = [0, 0, 0];
    this.distance = kFileEye;
    this.right = [1, 0, 0];
    this.up = [0, 1, 0];
    this.back = [0, 0, 1];
    this.flight = null;
  }

  eye() {
    return added(this.target, scaled(this.back, this.distance));
  }

  // Turns the view about the target: `across` about the camera's up, `upward` about its right.
  orbit(across, upward) {
    this.back = unit(turned(this.back, this.up, -across));
    this.right = unit(turned(this.right, this.up, -across));
    this.back = unit(turned(this.back, this.right, -upward));
    this.up = unit(cross(this.back, this.right));
  }

  // Moves target and eye sideways by a screen distance given in pixels.
  pan(dx, dy, pixelAngle) {
    const step = this.distance * pixelAngle;
    this.target = added(
      this.target,
      added(scaled(this.right, -dx * step), scaled(this.up, dy * step)),
    );
  }

  zoom(factor) {
    this.distance = Math.min(Math.max(this.distance * factor, 1e-4), 1e7);
  }

  // Keeps the direction of view; puts the ball of `radius` about `centre` in view.
  fit(centre, radius, aspect) {
    this.flyTo(centre, radius / Math.sin(this.halfAngles(aspect).smaller));
  }

  flyTo(target, distance) {
    this.flight = {
      fromTarget: this.target,
      fromDistance: this.distance,
      toTarget: target,
      toDistance: distance,
      start: performance.now(),
    };
  }

  // Advances a flight; tells whether the camera is still moving.
  step(now) {
    if (!this.flight) {
      return false;
    }
    const f = this.flight;
    const t = Math.min((now - f.start) / 600, 1);
    const eased = t * t * (3 - 2 * t);
    this.target = added(scaled(f.fromTarget, 1 - eased), scaled(f.toTarget, eased));
    this.distance = Math.exp(
      Math.log(f.fromDistance) * (1 - eased) + Math.log(f.toDistance) * eased,
    );
    if (t === 1) {
      this.flight = null;
    }
    return true;
  }

  halfAngles(aspect) {
    const half = kFieldOfView / 2;
    if (aspect >= 1) {
      return { vertical: half, smaller: half };
    }
    return { vertical: Math.atan(Math.tan(half) / aspect), smaller: half };
  }

  // The width of a pixel seen at distance 1, for a canvas `height` pixels high.
  pixelAngle(width, height) {
    return (2 * Math.tan(kFieldOfView / 2)) / Math.min(width, height);
  }

  viewMatrix() {
    const e = this.eye();
    const r = this.right;
    const u = this.up;
    const b = this.back;
    // prettier-ignore
    return new Float32Array([
      r[0], u[0], b[0], 0,
      r[1], u[1], b[1], 0,
      r[2], u[2], b[2], 0,
      -dot(r, e), -dot(u, e), -dot(b, e), 1,
    ]);
  }

  // How far in front of the eye `point` lies, along the direction of view.
  depthOf(point) {
    return -dot(this.back, added(point, scaled(this.eye(), -1)));
  }

  // How far the eye is from `point`.
  distanceTo(point) {
    return Math.hypot(...added(this.eye(), scaled(point, -1)));
  }

  // Near and far planes hug the scene's ball, so depth keeps its precision at every zoom.
  projectionMatrix(aspect, bounds) {
    const fromCentre = this.distanceTo(bounds.centre);
    const far = fromCentre + bounds.radius * 1.01 + 1e-3;
    const near = Math.max(fromCentre - bounds.radius * 1.01, far * 1e-5);
    const f = 1 / Math.tan(this.halfAngles(aspect).vertical);
    // prettier-ignore
    return new Float32Array([
      f / aspect, 0, 0, 0,
      0, f, 0, 0,
      0, 0, (far + near) / (near - far), -1,
      0, 0, (2 * far * near) / (near - far), 0,
    ]);
  }
}
