"""The runner: a hooded thief with a loot sack, seen from behind, running
into the screen.  A small 3D skeleton is posed for each frame of the run
cycle and projected from behind; limbs are drawn far to near as outlined
capsules, so the near leg and arm overlap the far ones correctly."""

import math

from PIL import Image, ImageFilter

from common import PAL, INK, svg_doc, svg_to_image, crop_set, downsample

PPU = 220          # pixels per body unit at working size (drawn 2x)
CW, CH = 560, 620  # working canvas
OX, OY = CW / 2, 560  # screen position of the point under the hips

OUT_W = 3           # outline width (working pixels, each side)

TUNIC = "#3f7a3e"
TUNIC_D = "#2a5530"
TUNIC_L = "#6aa85a"
HOOD = "#34663a"
PANTS = "#5a3a28"
PANTS_FAR = "#442b1e"
BOOT = "#3a2418"
SOLE = "#b08a5a"
SCARF = "#d8403a"
SCARF_D = "#a02a2a"
SACK = "#c9a06a"
SACK_D = "#9a7446"
SKIN = PAL["skin"]
SKIN_FAR = PAL["skin_d"]


def project(p):
    """Body space (x right, y up, z toward the camera) to working pixels.
    The camera sits behind and a little above, so far points rise."""
    x, y, z = p
    depth = 1.0 + (-z) * 0.12
    sx = OX + x * PPU / depth
    sy = OY - (y + (-z) * 0.18) * PPU / depth
    return sx, sy


def rot_x(v, deg):
    """Rotate a vector about the x axis; positive swings -y toward -z
    (a limb hanging down swings forward)."""
    a = math.radians(deg)
    x, y, z = v
    return (x, y * math.cos(a) - z * math.sin(a), y * math.sin(a) + z * math.cos(a))


def add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


class Pose:
    pass


def pose(p, throw=None):
    """Joint positions for phase p (radians).  throw in 0..1 replaces the
    right arm's swing with an overhead throw."""
    P = Pose()
    bob = 0.05 * math.cos(2 * p)
    hip_y = 0.98 + bob
    lean = 12.0
    twist = 6.0 * math.sin(p)
    P.hip = (0.0, hip_y, 0.0)
    P.parts = []
    legs = []
    for side, ph in ((-1, p), (1, p + math.pi)):
        thigh = 38.0 * math.sin(ph)
        swing = max(0.0, math.cos(ph))
        knee = 12.0 + 95.0 * swing ** 1.3
        hipj = (side * 0.16, hip_y, side * math.radians(twist) * 0.16)
        kneej = add(hipj, rot_x((0, -0.46, 0), thigh))
        footj = add(kneej, rot_x((0, -0.46, 0), thigh - knee))
        toe = add(footj, rot_x((0, -0.05, -0.16), thigh - knee + 10))
        legs.append((side, hipj, kneej, footj, toe, thigh - knee))
    P.legs = legs
    sh_y = hip_y + 0.62
    neck = (0.0, sh_y + 0.06, -math.sin(math.radians(lean)) * 0.6)
    P.neck = neck
    P.head = (0.0, sh_y + 0.30, neck[2] - 0.04)
    arms = []
    for side, ph in ((-1, p + math.pi), (1, p)):
        sz = -side * math.radians(twist) * 0.25 - math.sin(math.radians(lean)) * 0.55
        sho = (side * 0.30, sh_y, sz)
        if throw is not None and side == 1:
            # Wind up behind the head, then fling forward and down.
            a = -150.0 + 300.0 * (throw ** 1.4)
            elbow_b = 40.0 * (1.0 - throw)
            elb = add(sho, rot_x((side * 0.10, -0.32, 0), a))
            hand = add(elb, rot_x((side * 0.04, -0.30, 0), a + elbow_b))
        else:
            a = 50.0 * math.sin(ph)
            elb = add(sho, rot_x((side * 0.08, -0.32, 0), a))
            hand = add(elb, rot_x((side * 0.02, -0.28, 0), a + 75.0))
        arms.append((side, sho, elb, hand))
    P.arms = arms
    P.p = p
    return P


def capsule(a, b, width, colour, outline=True):
    (x0, y0), (x1, y1) = project(a), project(b)
    s = ""
    if outline:
        s += ('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s" '
              'stroke-width="%.1f" stroke-linecap="round"/>'
              % (x0, y0, x1, y1, INK, width + 2 * OUT_W * 2))
    s += ('<line x1="%.1f" y1="%.1f" x2="%.1f" y2="%.1f" stroke="%s" '
          'stroke-width="%.1f" stroke-linecap="round"/>'
          % (x0, y0, x1, y1, colour, width))
    return s


def boot(foot, toe, shin_angle, near):
    """A boot: seen from behind it shows its heel; lifted high behind the
    runner it shows the sole."""
    fx, fy = project(foot)
    tx, ty = project(toe)
    sole_up = shin_angle < -55
    w = 46 if near else 42
    h = 34
    cx, cy = (fx + tx) / 2, (fy + ty) / 2 + 6
    s = ('<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f" fill="%s" stroke="%s" '
         'stroke-width="%d"/>' % (cx, cy, w / 2, h / 2, BOOT, INK, OUT_W * 2))
    if sole_up:
        s += ('<ellipse cx="%.1f" cy="%.1f" rx="%.1f" ry="%.1f" fill="%s" stroke="%s" '
              'stroke-width="3"/>' % (cx, cy + 2, w / 2 - 7, h / 2 - 6, SOLE, INK))
    else:
        s += ('<path d="M %.1f %.1f q %.1f %.1f %.1f 0" fill="none" stroke="%s" '
              'stroke-width="5" stroke-linecap="round"/>'
              % (cx - w / 2 + 8, cy - 4, w / 2 - 8, -8, w - 16, "#6a4630"))
    return s


def draw_leg(leg, near):
    side, hipj, kneej, footj, toe, shin_angle = leg
    col = PANTS if near else PANTS_FAR
    s = capsule(hipj, kneej, 50, col)
    s += capsule(kneej, footj, 42, col)
    s += boot(footj, toe, shin_angle, near)
    # Cuff of the boot.
    s += capsule(footj, add(footj, (0, 0.07, 0)), 40, BOOT, outline=False)
    return s


def draw_arm(arm, near):
    side, sho, elb, hand = arm
    col = TUNIC if near else TUNIC_D
    s = capsule(sho, elb, 38, col)
    s += capsule(elb, hand, 32, col)
    hx, hy = project(hand)
    s += ('<circle cx="%.1f" cy="%.1f" r="17" fill="%s" stroke="%s" stroke-width="%d"/>'
          % (hx, hy, SKIN if near else SKIN_FAR, INK, OUT_W * 2))
    return s


def draw_body(P):
    hx, hy = project(P.hip)
    nx, ny = project(P.neck)
    sway = math.sin(P.p) * 6
    # Tunic: a rounded trapezoid from the shoulders to below the hips.
    top = ny + 14
    bot = hy + 64
    wt, wb = 84, 92
    body = ('M %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f L %.1f %.1f '
            'Q %.1f %.1f %.1f %.1f L %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f Z'
            % (nx - wt, top + 20,
               nx - wt, top - 8, nx + wt, top - 8, nx + wt, top + 20,
               hx + wb + sway, bot - 10,
               hx + sway, bot + 18, hx - wb + sway, bot - 10,
               nx - wt, top + 20,
               nx - wt, top + 20, nx - wt, top + 20, nx - wt, top + 20))
    grad = ('<linearGradient id="tun" x1="0" y1="0" x2="1" y2="0">'
            '<stop offset="0" stop-color="%s"/><stop offset="0.55" stop-color="%s"/>'
            '<stop offset="1" stop-color="%s"/></linearGradient>'
            '<linearGradient id="sack" x1="0" y1="0" x2="1" y2="1">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</linearGradient>' % (TUNIC_L, TUNIC, TUNIC_D, SACK, SACK_D))
    s = '<path d="%s" fill="url(#tun)" stroke="%s" stroke-width="%d"/>' % (body, INK, OUT_W * 2)
    # Belt.
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" fill="none" stroke="%s" '
          'stroke-width="22"/>' % (hx - wb + 6 + sway, hy - 6, hx + sway, hy + 8,
                                   hx + wb - 6 + sway, hy - 6, INK))
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" fill="none" stroke="%s" '
          'stroke-width="14"/>' % (hx - wb + 8 + sway, hy - 6, hx + sway, hy + 8,
                                   hx + wb - 8 + sway, hy - 6, "#7a4a26"))
    # Loot sack slung on the back, bouncing against the bob.
    bounce = -math.cos(2 * P.p) * 8
    sx, sy = nx + 16, (ny + hy) / 2 - 14 + bounce
    s += ('<path d="M %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f Z" '
          'fill="url(#sack)" stroke="%s" stroke-width="%d"/>'
          % (sx - 30, sy - 70,
             sx - 95, sy - 40, sx - 90, sy + 70, sx, sy + 72,
             sx + 92, sy + 70, sx + 92, sy - 40, sx + 30, sy - 70, INK, OUT_W * 2))
    # Knot and patch.
    s += ('<path d="M %.1f %.1f l 20 -26 l 24 6 l -10 24 Z" fill="%s" stroke="%s" '
          'stroke-width="5"/>' % (sx - 22, sy - 66, SACK_D, INK))
    s += ('<rect x="%.1f" y="%.1f" width="40" height="34" rx="6" fill="#8a5a9a" '
          'stroke="%s" stroke-width="4" transform="rotate(-12 %.1f %.1f)"/>'
          % (sx + 10, sy + 8, INK, sx + 30, sy + 25))
    s += ('<path d="M %.1f %.1f l 8 6 m 8 -6 l 8 6 m 8 -6 l 8 6" stroke="%s" '
          'stroke-width="3" fill="none" transform="rotate(-12 %.1f %.1f)"/>'
          % (sx + 14, sy + 8, INK, sx + 30, sy + 25))
    # Strap over the left shoulder.
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" fill="none" stroke="%s" '
          'stroke-width="16" stroke-linecap="round"/>'
          % (nx - 60, top + 4, nx - 34, sy - 40, sx - 26, sy - 64, INK))
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" fill="none" stroke="%s" '
          'stroke-width="9" stroke-linecap="round"/>'
          % (nx - 60, top + 4, nx - 34, sy - 40, sx - 26, sy - 64, "#7a4a26"))
    return grad, s


def draw_head(P):
    hx, hy = project(P.head)
    nx, ny = project(P.neck)
    p = P.p
    # Scarf tails flapping out to the left.
    flap = math.sin(p * 2) * 14
    flap2 = math.sin(p * 2 + 1.3) * 18
    s = ('<path d="M %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f L %.1f %.1f '
         'C %.1f %.1f %.1f %.1f %.1f %.1f Z" fill="%s" stroke="%s" stroke-width="%d" '
         'stroke-linejoin="round"/>'
         % (nx - 20, ny + 4,
            nx - 70, ny + 6 + flap, nx - 110, ny - 10 + flap2, nx - 150, ny + 14 + flap2,
            nx - 140, ny + 40 + flap2,
            nx - 100, ny + 30 + flap2, nx - 70, ny + 34 + flap, nx - 18, ny + 30,
            SCARF, INK, OUT_W * 2))
    s += ('<path d="M %.1f %.1f l -30 -8 M %.1f %.1f l -26 -4" stroke="%s" '
          'stroke-width="4" fill="none"/>' % (nx - 60, ny + 22 + flap, nx - 100, ny + 24 + flap2, SCARF_D))
    # Scarf wrap round the neck.
    s += ('<ellipse cx="%.1f" cy="%.1f" rx="62" ry="26" fill="%s" stroke="%s" '
          'stroke-width="%d"/>' % (nx, ny + 10, SCARF, INK, OUT_W * 2))
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" stroke="%s" stroke-width="5" '
          'fill="none"/>' % (nx - 40, ny + 12, nx, ny + 26, nx + 40, ny + 12, SCARF_D))
    # Hooded head from behind: hood with a pointed tip and two ears peeking.
    s += ('<ellipse cx="%.1f" cy="%.1f" rx="16" ry="22" fill="%s" stroke="%s" stroke-width="%d"/>'
          % (hx - 66, hy + 6, SKIN, INK, OUT_W * 2))
    s += ('<ellipse cx="%.1f" cy="%.1f" rx="16" ry="22" fill="%s" stroke="%s" stroke-width="%d"/>'
          % (hx + 66, hy + 6, SKIN, INK, OUT_W * 2))
    tipx = hx - 16 - math.sin(p * 2) * 6
    s += ('<path d="M %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f C %.1f %.1f %.1f %.1f %.1f %.1f '
          'C %.1f %.1f %.1f %.1f %.1f %.1f Z" fill="url(#hood)" stroke="%s" stroke-width="%d" '
          'stroke-linejoin="round"/>'
          % (hx - 72, hy + 24,
             hx - 82, hy - 40, hx - 40, hy - 78, tipx, hy - 96,
             hx + 30, hy - 74, hx + 82, hy - 44, hx + 72, hy + 24,
             hx + 40, hy + 58, hx - 40, hy + 58, hx - 72, hy + 24,
             INK, OUT_W * 2))
    # Hood seam and a light rim.
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" stroke="%s" stroke-width="5" '
          'fill="none" stroke-linecap="round"/>'
          % (tipx, hy - 88, hx - 6, hy - 20, hx, hy + 44, "#22472a"))
    s += ('<path d="M %.1f %.1f Q %.1f %.1f %.1f %.1f" stroke="%s" stroke-width="7" '
          'fill="none" stroke-linecap="round" opacity="0.8"/>'
          % (hx - 60, hy + 4, hx - 62, hy - 44, hx - 28, hy - 70, TUNIC_L))
    grad = ('<radialGradient id="hood" cx="0.35" cy="0.3" r="0.8">'
            '<stop offset="0" stop-color="%s"/><stop offset="1" stop-color="%s"/>'
            '</radialGradient>' % ("#4e8c4a", "#26502c"))
    return grad, s


def frame_svg(p, throw=None):
    P = pose(p, throw)
    items = []
    for side, hipj, kneej, footj, toe, sa in P.legs:
        z = (kneej[2] + footj[2]) / 2
        items.append((z, "leg", (side, hipj, kneej, footj, toe, sa)))
    for arm in P.arms:
        side, sho, elb, hand = arm
        items.append(((elb[2] + hand[2]) / 2, "arm", arm))
    # Which leg/arm is nearer the camera (larger z) decides the colours.
    leg_z = sorted(i[0] for i in items if i[1] == "leg")
    arm_z = sorted(i[0] for i in items if i[1] == "arm")
    body_grad, body = draw_body(P)
    head_grad, head = draw_head(P)
    items.append((0.02, "body", body))
    items.append((0.03, "head", head))
    # Thighs hide under the tunic: legs go first, arms by depth, and a shin
    # kicked up behind the runner is drawn again over the tunic.
    items.sort(key=lambda t: (t[1] != "leg", t[0]))
    parts = []
    for z, kind, data in items:
        if kind == "leg":
            parts.append(draw_leg(data, z >= leg_z[-1]))
        elif kind == "arm":
            parts.append(draw_arm(data, z >= arm_z[-1]))
        else:
            parts.append(data)
    for side, hipj, kneej, footj, toe, sa in P.legs:
        if footj[2] > 0.12:
            parts.append(capsule(kneej, footj, 42, PANTS))
            parts.append(boot(footj, toe, sa, True))
            parts.append(capsule(footj, add(footj, (0, 0.07, 0)), 40, BOOT, outline=False))
    return svg_doc(CW, CH, "".join(parts), body_grad + head_grad)


def shadow_image():
    """A dark oval filling its picture, firm almost to its rim: it lies flat on the
    floor at the runner's feet, seen nearly edge-on, so a soft wide rim would be all
    that is left of it once the picture is shrunk to the few rows it covers."""
    w, h = 240, 220
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    from PIL import ImageDraw
    d = ImageDraw.Draw(img)
    d.ellipse((6, 6, w - 6, h - 6), fill=(12, 6, 4, 170))
    d.ellipse((26, 24, w - 26, h - 24), fill=(8, 4, 2, 245))
    img = img.filter(ImageFilter.GaussianBlur(6))
    return img


def make(images):
    images.comment("Runner, seen from behind: run cycle, item throw, shadow")
    runs = [svg_to_image(frame_svg(2 * math.pi * i / 10)) for i in range(10)]
    uses = []
    for i in range(1, 11):
        if i == 6:
            continue
        uses.append((i, svg_to_image(frame_svg(2 * math.pi * (i - 1) / 10, (i - 1) / 9.0))))
    frames = crop_set(runs + [u[1] for u in uses], pad=6)
    frames = [downsample(f, 2) for f in frames]
    for i in range(10):
        images.add("PLAYER_RUN_%d" % (i + 1), "player_run_%02d.png" % (i + 1),
                   frames[i], hfrac=0.28)
    for (n, _), f in zip(uses, frames[10:]):
        images.add("USE_ITEM_%d" % n, "use_item_%02d.png" % n, f, hfrac=0.28)
    sh = downsample(shadow_image(), 2)
    images.add("PLAYER_SHADOW", "player_shadow.png", sh, wfrac=0.11)
