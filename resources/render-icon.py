#!/usr/bin/env python3
# Renders kelpie.svg into the 256 px kelpie.png that Kelpie ships: ./render-icon.py
# Uses librsvg and cairo through ctypes (Debian's librsvg2-2 and libcairo2), no Python packages.
import ctypes
import os
import sys


class Rect(ctypes.Structure):
    _fields_ = [("x", ctypes.c_double), ("y", ctypes.c_double),
                ("width", ctypes.c_double), ("height", ctypes.c_double)]


def render(src, dst, size):
    rsvg = ctypes.CDLL("librsvg-2.so.2")
    cairo = ctypes.CDLL("libcairo.so.2")
    rsvg.rsvg_handle_new_from_file.restype = ctypes.c_void_p
    cairo.cairo_image_surface_create.restype = ctypes.c_void_p
    cairo.cairo_create.restype = ctypes.c_void_p
    err = ctypes.c_void_p()
    handle = rsvg.rsvg_handle_new_from_file(src.encode(), ctypes.byref(err))
    if not handle:
        sys.exit("cannot read " + src)
    surface = ctypes.c_void_p(cairo.cairo_image_surface_create(0, size, size))  # ARGB32
    cr = ctypes.c_void_p(cairo.cairo_create(surface))
    viewport = Rect(0, 0, size, size)
    if not rsvg.rsvg_handle_render_document(ctypes.c_void_p(handle), cr, ctypes.byref(viewport),
                                            ctypes.byref(err)):
        sys.exit("cannot render " + src)
    cairo.cairo_surface_flush(surface)
    if cairo.cairo_surface_write_to_png(surface, dst.encode()) != 0:
        sys.exit("cannot write " + dst)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    render(os.path.join(here, "kelpie.svg"), os.path.join(here, "kelpie.png"), 256)
