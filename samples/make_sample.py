#!/usr/bin/env python3
"""Writes samples/sample_shot.sg2: a synthetic 24-channel shot record for trying VELA out.

Site: one soft layer over a stiffer half-space (see SITE). The Rayleigh-wave phase velocities
of the fundamental and the first higher mode are computed exactly for that site, by finding
the roots of the 6 x 6 boundary-condition determinant of the P-SV problem (free surface,
welded interface, decaying waves in the half-space), written with real standing-wave bases so
that the determinant is real and its roots are sign changes.

The record: a vertical source at 0 m, receivers every 1 m from 5 m to 28 m, 1024 samples of
0.5 ms. Each mode travels with its own phase velocity at every frequency, with a Ricker source
spectrum, geometric spreading 1/sqrt(x), anelastic damping (Q = 30) and a little noise. It is
a teaching record, not a full-waveform simulation: body waves and modal excitation factors are
left out.

Standard library only. Usage: python3 samples/make_sample.py [output path]
"""

import cmath
import math
import os
import random
import struct
import sys

# Layer thickness [m], then (Vp [m/s], Vs [m/s], density [kg/m^3]) of layer and half-space.
SITE = {"thickness": 6.0, "layer": (380.0, 180.0, 1800.0), "halfspace": (800.0, 400.0, 2000.0)}
CHANNELS = 24
SPACING = 1.0  # m
NEAR_OFFSET = 5.0  # m
DT = 0.0005  # s
SAMPLES = 1024
FFT_SIZE = 4096  # padded so that slow late arrivals do not wrap around
F_MAX = 100.0  # Hz
SOURCE_PEAK = 22.0  # Hz, Ricker wavelet
SOURCE_DELAY = 0.06  # s
Q = 30.0


def basis(s, z):
    """f1, f1', f2, f2' of Phi'' = s Phi, real for either sign of s (cosh/sinh or cos/sin)."""
    if s > 0.0:
        v = math.sqrt(s)
        return math.cosh(v * z), v * math.sinh(v * z), math.sinh(v * z) / v, math.cosh(v * z)
    if s < 0.0:
        m = math.sqrt(-s)
        return math.cos(m * z), -m * math.sin(m * z), math.sin(m * z) / m, math.cos(m * z)
    return 1.0, 0.0, z, 1.0


def determinant(matrix):
    a = [row[:] for row in matrix]
    n = len(a)
    det = 1.0
    for col in range(n):
        pivot = max(range(col, n), key=lambda r: abs(a[r][col]))
        if a[pivot][col] == 0.0:
            return 0.0
        if pivot != col:
            a[col], a[pivot] = a[pivot], a[col]
            det = -det
        det *= a[col][col]
        for r in range(col + 1, n):
            factor = a[r][col] / a[col][col]
            for c in range(col, n):
                a[r][c] -= factor * a[col][c]
    return det


def secular(c, f, site):
    """Boundary-condition determinant at phase velocity c [m/s] and frequency f [Hz].

    Potentials Phi (P) and Psi (SV, scaled by i) give u_x = i(k Phi - Psi'), u_z = Phi' - k Psi,
    normal stress (2 mu k^2 - rho w^2) Phi - 2 mu k Psi', shear stress / i
    2 mu k Phi' - (2 mu k^2 - rho w^2) Psi. Unknowns: two layer amplitudes per potential, one
    decaying amplitude per potential in the half-space."""
    h = site["thickness"]
    a1, b1, r1 = site["layer"]
    a2, b2, r2 = site["halfspace"]
    w = 2.0 * math.pi * f
    k = w / c
    mu1, mu2 = r1 * b1 * b1, r2 * b2 * b2
    g1 = 2.0 * mu1 * k * k - r1 * w * w
    g2 = 2.0 * mu2 * k * k - r2 * w * w
    pa = math.sqrt(k * k - (w / a2) ** 2)
    pb = math.sqrt(k * k - (w / b2) ** 2)
    F1, F1d, F2, F2d = basis(k * k - (w / a1) ** 2, h)
    G1, G1d, G2, G2d = basis(k * k - (w / b1) ** 2, h)
    s = 1.0 / mu1  # balances the stress rows against the displacement rows
    rows = [
        [g1 * s, 0.0, 0.0, -2.0 * mu1 * k * s, 0.0, 0.0],
        [0.0, 2.0 * mu1 * k * s, -g1 * s, 0.0, 0.0, 0.0],
        [k * F1, k * F2, -G1d, -G2d, -k, -pb],
        [F1d, F2d, -k * G1, -k * G2, pa, k],
        [g1 * F1 * s, g1 * F2 * s, -2 * mu1 * k * G1d * s, -2 * mu1 * k * G2d * s, -g2 * s,
         -2 * mu2 * k * pb * s],
        [2 * mu1 * k * F1d * s, 2 * mu1 * k * F2d * s, -g1 * G1 * s, -g1 * G2 * s,
         2 * mu2 * k * pa * s, g2 * s],
    ]
    return determinant(rows)


def modes(f, site, count=2, step=0.5):
    """The slowest `count` Rayleigh phase velocities at f [Hz], slowest first; fewer when
    higher modes are cut off."""
    b1 = site["layer"][1]
    top = min(site["halfspace"][1], site["halfspace"][0]) * (1.0 - 1e-9)
    roots = []
    c = 0.5 * min(b1, site["halfspace"][1])
    previous = secular(c, f, site)
    while c < top and len(roots) < count:
        nxt = min(c + step, top)
        value = secular(nxt, f, site)
        if previous == 0.0 or previous * value < 0.0:
            lo, hi, flo = c, nxt, previous
            for _ in range(60):
                mid = 0.5 * (lo + hi)
                fm = secular(mid, f, site)
                if flo * fm <= 0.0:
                    hi = mid
                else:
                    lo, flo = mid, fm
            roots.append(0.5 * (lo + hi))
        c, previous = nxt, value
    return roots


def check_homogeneous():
    """Identical layer and half-space: the fundamental mode is the Rayleigh wave, 0.9194 Vs
    for a Poisson's ratio of 0.25, at every frequency."""
    vs = 200.0
    site = {"thickness": 5.0, "layer": (vs * math.sqrt(3.0), vs, 1800.0),
            "halfspace": (vs * math.sqrt(3.0), vs, 1800.0)}
    for f in (5.0, 30.0, 80.0):
        c = modes(f, site, count=1, step=0.25)[0]
        assert abs(c / vs - 0.919402) < 1e-4, (f, c)


def ifft(values):
    """Inverse FFT (radix 2, without the 1/N factor)."""
    n = len(values)
    a = list(values)
    j = 0
    for i in range(1, n):
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            a[i], a[j] = a[j], a[i]
    length = 2
    while length <= n:
        step = cmath.exp(2j * math.pi / length)
        for start in range(0, n, length):
            w = 1.0
            for m in range(length // 2):
                u = a[start + m]
                v = a[start + m + length // 2] * w
                a[start + m] = u + v
                a[start + m + length // 2] = u - v
                w *= step
        length <<= 1
    return a


def synthesise():
    df = 1.0 / (FFT_SIZE * DT)
    bins = int(F_MAX / df)
    curves = []  # per bin: (f, [c0, c1?])
    for j in range(1, bins + 1):
        f = j * df
        curves.append((f, modes(f, SITE)))
    cutoff = next((f for f, c in curves if len(c) > 1), None)
    rng = random.Random(20261207)
    traces = []
    for ch in range(CHANNELS):
        x = NEAR_OFFSET + ch * SPACING
        spectrum = [0j] * FFT_SIZE
        for j, (f, velocities) in enumerate(curves, start=1):
            ricker = (f / SOURCE_PEAK) ** 2 * math.exp(-((f / SOURCE_PEAK) ** 2))
            total = 0j
            for m, c in enumerate(velocities):
                weight = 1.0 if m == 0 else 0.6 * min(1.0, (f - cutoff) / 8.0)
                damping = math.exp(-math.pi * f * x / (Q * c))
                phase = -2.0 * math.pi * f * (SOURCE_DELAY + x / c)
                total += weight * damping * cmath.exp(1j * phase)
            value = ricker * total / math.sqrt(x)
            spectrum[j] = value
            spectrum[FFT_SIZE - j] = value.conjugate()
        series = ifft(spectrum)
        traces.append([v.real for v in series[:SAMPLES]])
    peak = max(abs(v) for trace in traces for v in trace)
    scale = 0.05 / peak  # volts-like amplitudes
    for trace in traces:
        for i in range(SAMPLES):
            trace[i] = trace[i] * scale + rng.gauss(0.0, 0.0004)
    return traces, curves


def seg2_strings(strings):
    """SEG-2 string list: each string with its 2-byte offset-to-next and a NUL, then 0."""
    out = b""
    for s in strings:
        data = s.encode("ascii") + b"\0"
        out += struct.pack("<H", len(data) + 2) + data
    return out + b"\0\0"


def write_seg2(path, traces):
    n = len(traces)
    header = struct.pack("<HHHHBBBBBB", 0x3A55, 1, 4 * n, n, 1, 0, 0, 1, 0x0A, 0)
    header = header.ljust(32, b"\0")
    file_strings = seg2_strings(["ACQUISITION_DATE 07/DEC/2026", "INSTRUMENT VELA SYNTHETIC",
                                 "NOTE Synthetic two-mode Rayleigh record (samples/make_sample.py)",
                                 "UNITS METERS"])
    body_start = len(header) + 4 * n + len(file_strings)
    body_start += -body_start % 4
    pointers, blocks, offset = [], b"", body_start
    for ch, trace in enumerate(traces):
        strings = seg2_strings([
            "CHANNEL_NUMBER %d" % (ch + 1), "DELAY 0", "DESCALING_FACTOR 1",
            "RECEIVER_LOCATION %g" % (NEAR_OFFSET + ch * SPACING), "SAMPLE_INTERVAL %g" % DT,
            "SOURCE_LOCATION 0", "STACK 1"])
        size = 32 + len(strings)
        size += -size % 4
        data = struct.pack("<%df" % len(trace), *trace)
        descriptor = struct.pack("<HHIIB", 0x4422, size, len(data), len(trace), 4).ljust(32, b"\0")
        block = (descriptor + strings).ljust(size, b"\0") + data
        pointers.append(offset)
        offset += len(block)
        blocks += block
    head = header + struct.pack("<%dI" % n, *pointers) + file_strings
    with open(path, "wb") as out:
        out.write(head.ljust(body_start, b"\0") + blocks)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "sample_shot.sg2")
    check_homogeneous()
    traces, curves = synthesise()
    write_seg2(path, traces)
    for f, c in curves[::10]:
        print("%6.2f Hz  " % f + "  ".join("%7.1f m/s" % v for v in c))


if __name__ == "__main__":
    main()
