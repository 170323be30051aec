#!/usr/bin/env python3
"""Writes the Varnell meshes into root/Meshes/Varnell, in the simulator's plain-text mesh format.

Usage: scripts/make_meshes.py [--check]
  --check  build the meshes and compare them with the files in the tree; write nothing,
           exit 1 if a file is missing or differs (the committed meshes are out of date).

Frame: x right, y up, z forward with the nose at +z, metres. Every piece is a closed solid:
a solid of revolution about an axis parallel to z, a half of one, or a box. Triangles wind
clockwise seen from outside, as the simulator's left-handed frames want; in components that
means the cross product (b - a) x (c - a) of a triangle (a, b, c) points out of the solid.
The output is deterministic: the same script writes the same bytes.
"""

import math
import sys
from collections import namedtuple
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent / "root"
MESH_DIR = ROOT / "Meshes" / "Varnell"

# name: (diffuse r g b, specular power); ambient follows diffuse, nothing glows
MATERIALS = {
    "white": ((0.92, 0.92, 0.90), 20.0),
    "grey": ((0.55, 0.56, 0.58), 10.0),
    "dark": ((0.12, 0.12, 0.13), 5.0),
    "gold": ((0.86, 0.66, 0.22), 40.0),
}

NUMBER = "{:.4f}"


def fmt(x):
    text = NUMBER.format(x)
    return "0.0000" if text == "-0.0000" else text  # one spelling of zero keeps the output stable


# --- Geometry ---------------------------------------------------------------


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def length(a):
    return math.sqrt(dot(a, a))


class Group:
    """One mesh group: a material and its triangles."""

    def __init__(self, material):
        self.material = material
        self.vertices = []  # (position, normal)
        self.triangles = []

    def vertex(self, pos, normal):
        self.vertices.append((pos, normal))
        return len(self.vertices) - 1

    def flat(self, corners, normal):
        """A planar convex polygon; its outward normal is known, so it fixes the winding."""
        if dot(cross(sub(corners[1], corners[0]), sub(corners[2], corners[0])), normal) < 0:
            corners = corners[::-1]
        ids = [self.vertex(c, normal) for c in corners]
        for i in range(1, len(ids) - 1):
            self.triangles.append((ids[0], ids[i], ids[i + 1]))


class Revolution:
    """Points and normals of a surface of revolution about the axis (x, y) = centre."""

    def __init__(self, centre, phi0, phi1, segments):
        self.centre = centre
        self.angles = [phi0 + (phi1 - phi0) * i / segments for i in range(segments + 1)]
        # the last ring must land exactly where the seam or the cut faces put their points
        self.angles[-1] = phi0 if abs(phi1 - phi0 - 2 * math.pi) < 1e-12 else phi1

    def point(self, phi, r, z):
        return (self.centre[0] + r * math.cos(phi), self.centre[1] + r * math.sin(phi), z)

    def sweep(self, group, profile):
        """Sweeps each step of the (r, z) path; the solid lies left of the path's direction."""
        for (r0, z0), (r1, z1) in zip(profile, profile[1:]):
            dr, dz = r1 - r0, z1 - z0
            run = math.hypot(dr, dz)
            if run == 0 or (r0 == 0 and r1 == 0):
                continue
            nr, nz = dz / run, -dr / run
            normals = [(nr * math.cos(phi), nr * math.sin(phi), nz) for phi in self.angles]
            ring0 = [group.vertex(self.point(phi, r0, z0), n) for phi, n in zip(self.angles, normals)]
            ring1 = [group.vertex(self.point(phi, r1, z1), n) for phi, n in zip(self.angles, normals)]
            for a, b, c, d in zip(ring0, ring0[1:], ring1[1:], ring1):
                if r0 > 0:  # on the axis the quad folds into one triangle
                    group.triangles.append((a, b, d))
                if r1 > 0:
                    group.triangles.append((b, c, d))

    def cut(self, group, phi, outer, inner, facing):
        """Closes a half solid at angle phi: the band between the outer and inner paths."""
        normal = (-math.sin(phi) * facing, math.cos(phi) * facing, 0.0)
        for k in range(len(outer) - 1):
            corners = [outer[k], outer[k + 1], inner[k + 1], inner[k]]
            group.flat([self.point(phi, r, z) for r, z in corners], normal)


def inner_path(outer, thickness):
    """Inner path of a wall of even thickness inside an outer path that runs from a flat base
    (its first point) to the axis (its last point): each corner moves to where the offset
    lines of its two segments meet, the ends slide along the base plane and the axis."""
    normals = []
    for (r0, z0), (r1, z1) in zip(outer, outer[1:]):
        run = math.hypot(r1 - r0, z1 - z0)
        normals.append(((z1 - z0) / run, -(r1 - r0) / run))
    inner = []
    (nr, nz), (r, z) = normals[0], outer[0]
    inner.append((r - thickness / nr, z))  # along the base plane onto the first segment's offset line
    for (r, z), (ar, az), (br, bz) in zip(outer[1:-1], normals, normals[1:]):
        k = thickness / (1 + ar * br + az * bz)
        inner.append((r - k * (ar + br), z - k * (az + bz)))
    (nr, nz), (r, z) = normals[-1], outer[-1]
    inner.append((0.0, z - thickness / nz))  # along the axis onto the last segment's offset line
    return inner


def ogive(radius, length, z_base, steps):
    """Tangent-ogive nose of the given base radius and length, as (r, z) from base towards tip."""
    rho = (radius * radius + length * length) / (2 * radius)
    return [(math.sqrt(rho * rho - d * d) + radius - rho, z_base + d) for d in steps]


def box(group, half):
    for axis in range(3):
        for sign in (-1.0, 1.0):
            normal = tuple(sign if i == axis else 0.0 for i in range(3))
            u, v = [i for i in range(3) if i != axis]
            corners = []
            for su, sv in ((-1, -1), (1, -1), (1, 1), (-1, 1)):
                p = [0.0, 0.0, 0.0]
                p[axis] = sign * half[axis]
                p[u] = su * half[u]
                p[v] = sv * half[v]
                corners.append(tuple(p))
            group.flat(corners, normal)


# --- The pieces -------------------------------------------------------------

# A stage: a cylinder with a dark base, side bands up to the given heights, a top cap and
# engine bells below the base. bell: throat radius, exit radius, exit plane z [m].
Stage = namedtuple("Stage", "radius base bands top engines bell")

STAGES = {
    # booster: the grey band is the interstage skirt around the upper stage's engines
    "Varnellstg0": Stage(radius=1.7, base=-16.6, bands=(("white", 14.9), ("grey", 17.0)), top="dark",
                         engines=((-0.857, 0.0), (0.857, 0.0)), bell=(0.35, 0.8, -17.35)),
    # upper stage: the grey top is the payload adapter plane
    "Varnellstg1B": Stage(radius=1.5, base=-4.6, bands=(("white", 3.5),), top="grey",
                          engines=((-0.703, 0.05), (0.703, -0.05)), bell=(0.15, 0.42, -5.2)),
    "Dispenser": Stage(radius=1.2, base=-0.75, bands=(("grey", 0.75),), top="grey", engines=(), bell=None),
}

FAIRING_RADIUS = 1.9  # [m]
FAIRING_WALL = 0.05  # [m]
FAIRING_BASE = -7.1  # seats on the upper stage's top when drawn at the stack offset [m]
FAIRING_SHOULDER = -6.6  # the boattail widens to the full radius here [m]
FAIRING_NOSE_BASE = 0.6  # [m]
FAIRING_NOSE_LENGTH = 2.55  # [m]
# Axis of the whole fairing in each half's own frame: the stack draws the halves at
# x = -0.935 and +0.906, so these put both axes on the stack's centre line.
FAIRING_AXIS = {1: 0.935, 2: -0.906}  # [m]


def stage(shape):
    groups = {name: Group(name) for name in dict.fromkeys([b[0] for b in shape.bands] + [shape.top, "dark"])}
    body = Revolution((0.0, 0.0), 0.0, 2 * math.pi, 32)
    r, z = shape.radius, shape.base
    body.sweep(groups["dark"], [(0.0, z), (r, z)])
    for material, top in shape.bands:
        body.sweep(groups[material], [(r, z), (r, top)])
        z = top
    body.sweep(groups[shape.top], [(r, z), (0.0, z)])
    for centre in shape.engines:
        throat, exit_radius, exit_z = shape.bell
        bell = Revolution(centre, 0.0, 2 * math.pi, 16)
        bell.sweep(groups["dark"], [(0.0, exit_z), (exit_radius, exit_z), (throat, shape.base), (0.0, shape.base)])
    return list(groups.values())


def fairing_half(half):
    """Half 1 is the -x half of the fairing, half 2 the +x half; each a thin closed shell."""
    white = Group("white")
    nose = ogive(FAIRING_RADIUS, FAIRING_NOSE_LENGTH, FAIRING_NOSE_BASE, (0.0, 0.6, 1.1, 1.55, 1.95, 2.25, 2.45))
    outer = [(STAGES["Varnellstg1B"].radius, FAIRING_BASE), (FAIRING_RADIUS, FAIRING_SHOULDER)] + nose
    outer.append((0.0, FAIRING_NOSE_BASE + FAIRING_NOSE_LENGTH - 0.1))  # blunt tip
    inner = inner_path(outer, FAIRING_WALL)
    phi0 = math.pi / 2 if half == 1 else -math.pi / 2
    shell = Revolution((FAIRING_AXIS[half], 0.0), phi0, phi0 + math.pi, 16)
    shell.sweep(white, [inner[0]] + outer + inner[::-1])
    shell.cut(white, phi0, outer, inner, -1.0)
    shell.cut(white, phi0 + math.pi, outer, inner, 1.0)
    return [white]


def satellite():
    gold = Group("gold")
    box(gold, (0.6, 0.6, 0.8))
    return [gold]


# name: (builder, expected extent ((xmin, xmax), (ymin, ymax), (zmin, zmax)) [m])
MESHES = {
    "Varnellstg0": (lambda: stage(STAGES["Varnellstg0"]), ((-1.7, 1.7), (-1.7, 1.7), (-17.35, 17.0))),
    "Varnellstg1B": (lambda: stage(STAGES["Varnellstg1B"]), ((-1.5, 1.5), (-1.5, 1.5), (-5.2, 3.5))),
    "Varnellplf1": (lambda: fairing_half(1), ((-0.965, 0.935), (-1.9, 1.9), (-7.1, 3.05))),
    "Varnellplf2": (lambda: fairing_half(2), ((-0.906, 0.994), (-1.9, 1.9), (-7.1, 3.05))),
    "Sat": (satellite, ((-0.6, 0.6), (-0.6, 0.6), (-0.8, 0.8))),
    "Dispenser": (lambda: stage(STAGES["Dispenser"]), ((-1.2, 1.2), (-1.2, 1.2), (-0.75, 0.75))),
}

# Where the full stack draws its pieces [m]; the fairing must close over the upper stage.
STACK = {
    "Varnellstg0": (0.0, 0.0, 0.0),
    "Varnellstg1B": (0.0, 0.0, 20.169),
    "Varnellplf1": (-0.935, 0.0, 30.737),
    "Varnellplf2": (0.906, 0.0, 30.737),
}


# --- Writing ----------------------------------------------------------------


def mesh_text(groups):
    names = list(dict.fromkeys(g.material for g in groups))
    lines = ["MSHX1", f"GROUPS {len(groups)}"]
    for g in groups:
        lines += [f"MATERIAL {names.index(g.material) + 1}", "TEXTURE 0",
                  f"GEOM {len(g.vertices)} {len(g.triangles)} ; {g.material}"]
        lines += [" ".join(fmt(x) for x in p + n) for p, n in g.vertices]
        lines += [f"{a} {b} {c}" for a, b, c in g.triangles]
    lines.append(f"MATERIALS {len(names)}")
    lines += names
    for name in names:
        (r, g_, b), power = MATERIALS[name]
        colour = f"{r:.3f} {g_:.3f} {b:.3f}"
        lines += [f"MATERIAL {name}", f"{colour} 1.000", f"{colour} 1.000", f"0.300 0.300 0.300 1.000 {power:.1f}",
                  "0.000 0.000 0.000 1.000"]
    lines.append("TEXTURES 0")
    return "\n".join(lines) + "\n"


# --- Reading back: the self-check --------------------------------------------


class MeshError(Exception):
    pass


def parse(text):
    """Reads a mesh as the host will; returns the groups as (positions, normals, triangles)."""
    lines = iter(text.splitlines())
    if next(lines) != "MSHX1":
        raise MeshError("first line is not MSHX1")
    count = int(next(lines).split()[1])
    groups, material_ids = [], []
    for _ in range(count):
        material_ids.append(int(next(lines).split()[1]))
        next(lines)  # TEXTURE
        nv, nt = (int(x) for x in next(lines).split(";")[0].split()[1:3])
        vertices = [[float(x) for x in next(lines).split()] for _ in range(nv)]
        triangles = [tuple(int(x) for x in next(lines).split()) for _ in range(nt)]
        if any(len(v) != 6 for v in vertices) or any(len(t) != 3 for t in triangles):
            raise MeshError("a vertex or triangle line has the wrong number of fields")
        groups.append(([tuple(v[:3]) for v in vertices], [tuple(v[3:]) for v in vertices], triangles))
    materials = int(next(lines).split()[1])
    if any(not 1 <= m <= materials for m in material_ids):
        raise MeshError("a group names a material that is not there")
    for _ in range(materials):
        next(lines)
    for _ in range(materials):
        next(lines)
        widths = [len(next(lines).split()) for _ in range(4)]
        if widths != [4, 4, 5, 4]:
            raise MeshError(f"material colour lines have {widths} numbers")
    if next(lines) != "TEXTURES 0" or next(lines, None) is not None:
        raise MeshError("the file does not end with TEXTURES 0")
    return groups


def check_group(positions, normals, triangles):
    for n in normals:
        if abs(length(n) - 1) > 1e-3:
            raise MeshError(f"normal {n} is not a unit vector")
    for t in triangles:
        if any(not 0 <= i < len(positions) for i in t):
            raise MeshError(f"triangle {t} indexes past {len(positions)} vertices")
        a, b, c = (positions[i] for i in t)
        face = cross(sub(b, a), sub(c, a))
        if length(face) < 1e-9:
            raise MeshError(f"triangle {t} is degenerate")
        if any(dot(face, normals[i]) <= 0.5 * length(face) for i in t):
            raise MeshError(f"triangle {t} winds against its normals (seen from outside it must be clockwise)")


def check_closed(groups):
    """Every edge of a closed, consistently wound solid is walked once each way."""
    balance = {}
    for positions, _, triangles in groups:
        for t in triangles:
            for i, j in ((t[0], t[1]), (t[1], t[2]), (t[2], t[0])):
                edge = (positions[i], positions[j])
                back = (positions[j], positions[i])
                if back in balance:
                    balance[back] -= 1
                else:
                    balance[edge] = balance.get(edge, 0) + 1
    if any(balance.values()):
        raise MeshError("the surface is not closed, or its winding is not consistent")


def extent(groups, shift=(0.0, 0.0, 0.0)):
    points = [p for positions, _, _ in groups for p in positions]
    return [(min(p[i] for p in points) + shift[i], max(p[i] for p in points) + shift[i]) for i in range(3)]


def check_mesh(name, text, expected):
    groups = parse(text)
    for g in groups:
        check_group(*g)
    check_closed(groups)
    got = extent(groups)
    for axis, (lo, hi), (want_lo, want_hi) in zip("xyz", got, expected):
        if abs(lo - want_lo) > 0.01 or abs(hi - want_hi) > 0.01:
            raise MeshError(f"{axis} runs {lo:.3f}..{hi:.3f}, expected {want_lo}..{want_hi}")
    return groups


def check_stack(parsed):
    """The fairing halves meet on the centre line and seat on the upper stage's top."""
    box_of = {name: extent(parsed[name], offset) for name, offset in STACK.items()}
    half1, half2, upper = box_of["Varnellplf1"], box_of["Varnellplf2"], box_of["Varnellstg1B"]
    if abs(half1[0][1]) > 0.01 or abs(half2[0][0]) > 0.01:
        raise MeshError(f"fairing halves end at x = {half1[0][1]:.3f} and {half2[0][0]:.3f}, not on the centre line")
    if abs(half1[2][0] - half2[2][0]) > 1e-6 or not 0 < upper[2][1] - half1[2][0] < 0.1:
        raise MeshError(f"fairing base at z = {half1[2][0]:.3f} does not seat on the upper stage top "
                        f"at {upper[2][1]:.3f}")


# --- Main --------------------------------------------------------------------


def build():
    texts, parsed = {}, {}
    for name, (make, expected) in MESHES.items():
        texts[name] = mesh_text(make())
        try:
            parsed[name] = check_mesh(name, texts[name], expected)
        except (MeshError, StopIteration, ValueError, IndexError) as e:
            raise MeshError(f"{name}: {e}") from e
    check_stack(parsed)
    return texts


def main(argv):
    check_only = "--check" in argv[1:]
    try:
        texts = build()
    except MeshError as e:
        print(f"make_meshes: {e}", file=sys.stderr)
        return 1
    stale = []
    for name, text in texts.items():
        path = MESH_DIR / f"{name}.msh"
        if check_only:
            if not path.is_file() or path.read_text() != text:
                stale.append(str(path))
            continue
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)
        print(f"wrote {path.relative_to(ROOT.parent)}")
    if stale:
        print("make_meshes: out of date (run scripts/make_meshes.py): " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
