#!/usr/bin/env python3
"""Draws Ombrel's icons as SVG: the parasol over a page of log lines, a paused variant and the
eight frames of the change animation (one canopy panel lit, walking round)."""
import math

PANELS = 8
COLOURS = ["#2f6fb3", "#4c8fd6"]


def canopy(lit, grey):
    parts = []
    cx, cy, r = 32, 30, 26
    for i in range(PANELS):
        a0 = math.pi + math.pi * i / PANELS
        a1 = math.pi + math.pi * (i + 1) / PANELS
        x0, y0 = cx + r * math.cos(a0), cy + r * math.sin(a0)
        x1, y1 = cx + r * math.cos(a1), cy + r * math.sin(a1)
        if grey:
            fill = "#8a8a8a" if i % 2 else "#a8a8a8"
        elif i == lit:
            fill = "#f2b630"
        else:
            fill = COLOURS[i % 2]
        parts.append(
            f'<path d="M{cx},{cy} L{x0:.2f},{y0:.2f} A{r},{r} 0 0 1 {x1:.2f},{y1:.2f} Z" '
            f'fill="{fill}" stroke="#1d3f66" stroke-width="1"/>')
    return "\n".join(parts)


def icon(lit=None, grey=False, paused=False):
    page = ('<rect x="14" y="30" width="36" height="30" rx="3" fill="#ffffff" stroke="#555" '
            'stroke-width="2"/>'
            '<path d="M20 38h24M20 44h18M20 50h22" stroke="#777" stroke-width="2.5" '
            'stroke-linecap="round"/>')
    handle = ('<path d="M32 30v26a4 4 0 0 0 8 0" fill="none" stroke="#3b2a1a" '
              'stroke-width="3" stroke-linecap="round"/>')
    pause = ('<rect x="40" y="40" width="22" height="22" rx="4" fill="#c0392b"/>'
             '<rect x="45" y="45" width="4" height="12" fill="#fff"/>'
             '<rect x="53" y="45" width="4" height="12" fill="#fff"/>') if paused else ""
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">'
            f'{page}{canopy(lit, grey)}{handle}{pause}</svg>\n')


def main():
    with open("ombrel.svg", "w") as f:
        f.write(icon())
    with open("paused.svg", "w") as f:
        f.write(icon(grey=True, paused=True))
    for i in range(PANELS):
        with open(f"frame{i}.svg", "w") as f:
            f.write(icon(lit=i))


if __name__ == "__main__":
    main()
