#!/usr/bin/env python3
"""Writes the layout designs drawn in designs_*.py as ASCII designs for make_layouts.

Usage: sketch.py OUTPUT_FOLDER (tools/layouts/designs) [NAME...]   (all designs when no name is given)
"""
import sys

import sketchlib
import designs_flat  # noqa: F401  (each module registers its designs)
import designs_figures  # noqa: F401

if __name__ == "__main__":
    folder = sys.argv[1]
    names = sys.argv[2:] or sorted(sketchlib.DESIGNS)
    ok = all([sketchlib.write(folder, n) for n in names])
    sys.exit(0 if ok else 1)
