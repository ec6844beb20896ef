# 1000 IDI_APP, the application icon, 32x32: a blue-violet globe crossed by a bright
# streak that ends in a white arrowhead pointing left, its darker tail at the right.
#
# make_pictures.py samples colour_at(x, y) many times inside every pixel (x and y run
# from 0 to 32, y downwards) and averages, so every edge comes out anti-aliased. Each
# shape is a signed distance: negative inside, positive outside, in pixels, so an
# outline of width w is simply 0 < distance < w.

import math

GLOBE_CENTRE = (15.5, 16.5)
GLOBE_RADIUS = 12.6
GLOBE_LIGHT = (0.62, 0.60, 1.00)   # lit upper left
GLOBE_DARK = (0.17, 0.12, 0.52)    # shaded lower right
GLOBE_RIM = (0.11, 0.08, 0.36)
GRID = (0.78, 0.80, 1.00)          # parallels and meridians, drawn translucent

TAIL = (29.6, 11.0)                # where the streak starts, at the right
HEAD_BASE = (9.4, 18.0)            # where the streak meets the arrowhead
TIP = (2.2, 20.6)                  # the arrowhead's point
TAIL_RADIUS = 0.55
HEAD_RADIUS = 2.3
HEAD_HALF_WIDTH = 5.4
STREAK_BRIGHT = (1.00, 0.95, 0.55)  # next to the arrowhead
STREAK_MID = (1.00, 0.70, 0.18)
STREAK_DARK = (0.62, 0.26, 0.10)    # the tail
OUTLINE = (0.08, 0.06, 0.26)
OUTLINE_WIDTH = 0.95
WHITE = (1.0, 1.0, 1.0)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def over(top, top_alpha, under):
    return mix(under, top, top_alpha)


def globe_distance(x, y):
    return math.hypot(x - GLOBE_CENTRE[0], y - GLOBE_CENTRE[1]) - GLOBE_RADIUS


def globe_colour(x, y):
    """Diffuse shading of a sphere lit from the upper left, with a faint grid."""
    nx = (x - GLOBE_CENTRE[0]) / GLOBE_RADIUS
    ny = (y - GLOBE_CENTRE[1]) / GLOBE_RADIUS
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    light = (-0.45, -0.55, 0.70)
    length = math.sqrt(sum(c * c for c in light))
    diffuse = max(0.0, (nx * light[0] + ny * light[1] + nz * light[2]) / length)
    colour = mix(GLOBE_DARK, GLOBE_LIGHT, diffuse ** 1.4)
    if grid_distance(nx, ny, nz) < 0.04:
        colour = over(GRID, 0.30, colour)
    return colour


def grid_distance(nx, ny, nz):
    """How far (in radii) the point is from the nearest parallel or meridian."""
    parallels = min(abs(ny - level) for level in (-0.5, 0.0, 0.5))
    meridians = []
    for longitude in (-0.75, 0.75):
        # A meridian through longitude l: points whose x / sqrt(1 - y^2) is sin(l).
        width = math.sqrt(max(1e-6, 1.0 - ny * ny))
        meridians.append(abs(nx / width - math.sin(longitude)) * width)
    meridians.append(abs(nx))
    return min(parallels, min(meridians))


def streak_distance(x, y):
    """A capsule that widens from the tail to the arrowhead; also returns how far
    along it the point lies (0 at the tail, 1 at the head)."""
    ax, ay = TAIL
    bx, by = HEAD_BASE
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    radius = TAIL_RADIUS + (HEAD_RADIUS - TAIL_RADIUS) * t ** 1.5
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) - radius, t


def arrowhead_distance(x, y):
    """A triangle: the point at TIP, the base through HEAD_BASE across the streak."""
    ux, uy = HEAD_BASE[0] - TIP[0], HEAD_BASE[1] - TIP[1]
    length = math.hypot(ux, uy)
    ux, uy = ux / length, uy / length
    corners = [TIP,
               (HEAD_BASE[0] - uy * HEAD_HALF_WIDTH, HEAD_BASE[1] + ux * HEAD_HALF_WIDTH),
               (HEAD_BASE[0] + uy * HEAD_HALF_WIDTH, HEAD_BASE[1] - ux * HEAD_HALF_WIDTH)]
    (x0, y0), (x1, y1), (x2, y2) = corners
    winding = 1.0 if (x1 - x0) * (y2 - y0) - (y1 - y0) * (x2 - x0) > 0 else -1.0
    distance = -1e9
    for (x0, y0), (x1, y1) in zip(corners, corners[1:] + corners[:1]):
        ex, ey = x1 - x0, y1 - y0
        # Distance from the edge's line, positive on the side away from the third corner.
        distance = max(distance, winding * ((x - x0) * ey - (y - y0) * ex) / math.hypot(ex, ey))
    return distance


def colour_at(x, y):
    colour, alpha = (0.0, 0.0, 0.0), 0.0

    globe = globe_distance(x, y)
    if globe < 0:
        colour, alpha = (globe_colour(x, y) if globe < -OUTLINE_WIDTH else GLOBE_RIM), 1.0

    streak, along = streak_distance(x, y)
    arrow = arrowhead_distance(x, y)
    # Streak and arrowhead share one outline, so it never crosses them; it thins
    # towards the tail, which then fades into the globe rather than ending in a block.
    if streak < OUTLINE_WIDTH * (0.35 + 0.65 * along) or arrow < OUTLINE_WIDTH:
        colour, alpha = OUTLINE, 1.0
    if streak < 0:
        fill = mix(STREAK_DARK, STREAK_MID, along / 0.55) if along < 0.55 else \
            mix(STREAK_MID, STREAK_BRIGHT, (along - 0.55) / 0.45)
        colour = fill
    if arrow < 0:
        colour = WHITE
    return colour + (alpha,)
