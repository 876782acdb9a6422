"""The game's and the resizer's sounds, synthesised.

Every sound is built in floating point at its own rate and length, shaped with envelopes,
scaled so that its loudest sample stays below full scale, and only then turned into 8- or
16-bit samples. Bells are sums of slightly inharmonic partials that die away at their own
rates, which is what makes them ring rather than beep.
"""
import math

import numpy as np

from .common import wav_bytes

RATE = 22050


def _t(count, rate):
    return np.arange(count) / rate


def _fade(signal, rate, head=0.002, tail=0.004):
    """Short ramps at both ends, so that no sound starts or stops with a click."""
    out = signal.copy()
    h = max(1, int(head * rate))
    t = max(1, int(tail * rate))
    out[:h] *= np.linspace(0, 1, h)
    out[-t:] *= np.linspace(1, 0, t)
    return out


def _normalise(signal, peak):
    return signal * (peak / np.max(np.abs(signal)))


def _bell(t, freq, decay=1.0, bright=1.0):
    """A small bell struck at t = 0: partials at bell-like ratios, the higher ones shorter."""
    partials = ((0.5, 0.35, 0.9), (1.0, 1.0, 1.0), (2.0, 0.55, 1.6), (2.76, 0.4 * bright, 2.4),
                (4.07, 0.25 * bright, 3.4), (5.4, 0.16 * bright, 4.4))
    out = np.zeros_like(t)
    for ratio, amp, speed in partials:
        out += amp * np.sin(2 * math.pi * freq * ratio * t) * np.exp(-t * speed * 2.2 / decay)
    return out * (t >= 0)


def _note(freq_name):
    names = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    letter, octave = freq_name[0], int(freq_name[-1])
    semis = names[letter] + (1 if "#" in freq_name else 0) + (octave - 4) * 12
    return 440.0 * 2 ** (semis / 12)


def _to16(signal):
    return [int(v) for v in np.round(signal * 32767).astype(np.int32)]


def _to8(signal):
    return [int(v) for v in np.clip(np.round(128 + signal * 127), 1, 255).astype(np.int32)]


def click():
    """A very short, quiet wooden click: a tick of filtered noise over a 1.9 kHz ping."""
    n = 681
    t = _t(n, RATE)
    rng = np.random.default_rng(2150)
    noise = rng.standard_normal(n)
    noise = np.convolve(noise, np.ones(4) / 4, mode="same")
    sig = noise * np.exp(-t * 900) * 0.6 + np.sin(2 * math.pi * 1900 * t) * np.exp(-t * 160)
    sig += 0.4 * np.sin(2 * math.pi * 3100 * t) * np.exp(-t * 260)
    return _to16(_normalise(_fade(sig, RATE, 0.0005, 0.003), 0.30)), RATE, 16


def blip():
    """A short friendly blip at 8 kHz: a rising tone with a soft octave, quickly fading."""
    rate, n = 8000, 2261
    t = _t(n, rate)
    freq = 660 + 330 * (1 - np.exp(-t * 40))
    phase = 2 * math.pi * np.cumsum(freq) / rate
    sig = np.sin(phase) + 0.3 * np.sin(2 * phase) + 0.1 * np.sin(3 * phase)
    env = (1 - np.exp(-t * 400)) * np.exp(-t * 11)
    return _to8(_normalise(_fade(sig * env, rate), 0.6)), rate, 8


def slide():
    """The move: a soft swish that swells towards its end, closing on a little tap."""
    n = 3689
    t = _t(n, RATE)
    dur = n / RATE
    rng = np.random.default_rng(2250)
    noise = rng.standard_normal(n)
    kernel = np.hanning(9)
    noise = np.convolve(noise, kernel / kernel.sum(), mode="same")
    swell = (t / dur) ** 2.2
    freq = 500 + 900 * (t / dur)
    tone = np.sin(2 * math.pi * np.cumsum(freq) / RATE)
    sig = swell * (0.7 * noise + 0.5 * tone)
    sig = _fade(sig, RATE, 0.002, 0.012)
    return _to8(_normalise(sig, 0.7)), RATE, 8


def solved():
    """The solved board: a bright bell tune climbing to the top and a ringing final chord."""
    n = 97387
    t = _t(n, RATE)
    sig = np.zeros(n)
    tune = (("C5", 0.00), ("E5", 0.18), ("G5", 0.36), ("C6", 0.54), ("G5", 0.80), ("C6", 0.98),
            ("E6", 1.16), ("D6", 1.42), ("E6", 1.60), ("G6", 1.78))
    for name, start in tune:
        sig += 0.8 * _bell(t - start, _note(name), decay=0.55)
    for name in ("C5", "E5", "G5", "C6", "E6"):
        sig += 0.45 * _bell(t - 2.10, _note(name), decay=1.6, bright=0.8)
    # A shimmer of tiny high bells over the chord.
    rng = np.random.default_rng(2350)
    for k in range(14):
        start = 2.15 + 0.11 * k + rng.uniform(0, 0.04)
        sig += 0.12 * _bell(t - start, _note(("C7", "E7", "G7")[k % 3]), decay=0.25)
    sig *= np.clip((4.42 - t) / 0.6, 0, 1)  # the last ring dies away before the end
    return _to16(_normalise(_fade(sig, RATE), 0.85)), RATE, 16


def _brass(t, freq, vibrato=0.0):
    phase = 2 * math.pi * np.cumsum(freq * (1 + vibrato * np.sin(2 * math.pi * 5.5 * t))) / RATE
    out = np.zeros_like(t)
    for k in range(1, 7):  # a round, mellow horn: the upper harmonics fall off quickly
        out += np.sin(k * phase) / k ** 1.7
    return out


def lost():
    """The lost game: a loud low horn that starts at full strength and sags down three steps."""
    n = 85822
    t = _t(n, RATE)
    steps = ((0.0, "G3"), (0.7, "F#3"), (1.4, "F3"), (2.1, "E3"))
    freq = np.full(n, _note("G3"))
    for start, name in steps:
        freq[t >= start] = _note(name)
    # Glide gently into each new step instead of jumping.
    freq = np.convolve(np.pad(freq, (200, 200), mode="edge"), np.ones(401) / 401, mode="valid")
    last = t >= 2.1
    freq[last] *= 1 - 0.06 * ((t[last] - 2.1) / 1.79)
    sig = _brass(t, freq, vibrato=0.012 * (t > 2.1))
    pulse = np.ones(n)
    for start, _ in steps[1:]:
        pulse *= 1 - 0.35 * np.exp(-((t - start) / 0.04) ** 2)
    env = np.minimum(1, t / 0.003) * pulse
    env *= np.where(t < 2.1, 1.0, np.exp(-(t - 2.1) * 1.2))
    env *= np.clip((3.89 - t) / 0.25, 0, 1)
    return _to16(_normalise(sig * env, 0.9)), RATE, 16


def refused():
    """A request refused: two soft low notes falling, like a polite 'uh-uh'."""
    n = 12861
    t = _t(n, RATE)
    sig = np.zeros(n)
    for start, name in ((0.0, "E4"), (0.2, "C4")):
        tt = t - start
        f = _note(name)
        on = tt >= 0
        tone = np.sin(2 * math.pi * f * tt) + 0.35 * np.sin(4 * math.pi * f * tt) + 0.12 * np.sin(6 * math.pi * f * tt)
        env = np.where(on, (1 - np.exp(-np.maximum(tt, 0) * 300)) * np.exp(-np.maximum(tt, 0) * 7), 0)
        sig += tone * env
    return _to16(_normalise(_fade(sig, RATE), 0.55)), RATE, 16


def busy():
    """Busy, not now: a loud low gong that dies away."""
    n = 57771
    t = _t(n, RATE)
    f = 110.0
    sig = np.zeros(n)
    for ratio, amp, speed in ((1.0, 1.0, 1.1), (1.52, 0.6, 1.6), (2.0, 0.5, 2.0), (2.81, 0.4, 2.6),
                              (3.93, 0.25, 3.4), (5.2, 0.15, 4.5)):
        sig += amp * np.sin(2 * math.pi * f * ratio * t + ratio) * np.exp(-t * speed)
    sig *= 1 + 0.15 * np.sin(2 * math.pi * 3.2 * t)  # a slow beating, as a struck gong has
    sig *= np.minimum(1, t / 0.004)
    sig *= np.clip((2.62 - t) / 0.3, 0, 1)
    return _to16(_normalise(sig, 0.9)), RATE, 16


def sleigh_bells():
    """The move on the silver bells picture: a short, bright jingle of little bells."""
    n = 8003
    t = _t(n, RATE)
    sig = np.zeros(n)
    rng = np.random.default_rng(4500)
    for k in range(7):
        start = 0.012 * k + rng.uniform(0, 0.01)
        f = rng.choice((2637.0, 3136.0, 3520.0, 2793.0))
        sig += (0.8 - 0.08 * k) * _bell(t - start, f, decay=0.12, bright=0.6)
    noise = np.convolve(rng.standard_normal(n), [1, -1], mode="same") * np.exp(-t * 30) * 0.15
    sig = _fade(sig + noise, RATE, 0.001, 0.03)
    return _to16(_normalise(sig, 0.7)), RATE, 16


def new_game():
    """A new game: a shimmering chord that grows to the middle and fades, with chimes on top."""
    n = 72325
    t = _t(n, RATE)
    dur = n / RATE
    chord = [_note(x) for x in ("F3", "C4", "F4", "A4", "C5")]
    sig = np.zeros(n)
    for i, f in enumerate(chord):
        detune = 1 + 0.0015 * (i - 2)
        sig += np.sin(2 * math.pi * f * detune * t + i) + 0.3 * np.sin(4 * math.pi * f * t)
    sig *= np.sin(math.pi * t / dur) ** 1.6
    for k, name in enumerate(("A5", "C6", "F6", "A6", "C6", "F6")):
        start = 0.35 + 0.42 * k
        sig += 2.2 * np.sin(math.pi * min(0.95, start / dur)) * _bell(t - start, _note(name), decay=0.6)
    return _to16(_normalise(_fade(sig, RATE, 0.01, 0.05), 0.8)), RATE, 16


GAME_SOUNDS = (("click.wav", click), ("blip.wav", blip), ("slide.wav", slide), ("solved.wav", solved),
               ("lost.wav", lost), ("refused.wav", refused), ("busy.wav", busy),
               ("sleighbells.wav", sleigh_bells), ("newgame.wav", new_game))


def files():
    """(file name, bytes) for every game sound."""
    out = []
    for name, make in GAME_SOUNDS:
        samples, rate, bits = make()
        out.append((name, wav_bytes(samples, rate, bits)))
    return out
