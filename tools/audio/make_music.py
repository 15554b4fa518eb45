#!/usr/bin/env python3
"""Composes and renders the game's songs into Data/Audio/<Name>.ogg (stereo Ogg Vorbis, 32000 Hz).

Every song is written here as a score: a key, a tempo, chords bar by bar, a melody in scale degrees,
bass, accompaniment and drum patterns, arranged in sections (A A' B A'' and the like). It is
rendered with numpy (additive and FM voices with envelopes, noise drums, stereo placement, a
small reverb and an echo) and encoded through libsndfile (python3-soundfile). Same score, same
file on every run: noise comes from seeded generators and the Ogg stream serial is fixed.

Loops: a song is exactly whole bars long; every note, echo and reverb tail that rings past the
end is folded onto its start, so the last sample leads into the first as any two neighbours do.
Loudness: every song is scaled to the same RMS so levels heard one after another match.

    make_music.py [output folder]   (default: Data/Audio beside this repository)
Needs Debian's python3-numpy and python3-soundfile.
"""
import os
import sys

try:
    import numpy as np
    import soundfile
except ImportError as missing:
    sys.exit("make_music.py needs Debian's python3-numpy and python3-soundfile: %s" % missing)

RATE = 32000
SONG_RMS_DB = -20.0     # every song's RMS, so one level sounds as loud as the next
PEAK_LIMIT_DB = -1.5    # headroom kept before encoding; the decoded file stays under -1 dBFS
TAU = 2 * np.pi

# ---- pitch and harmony ----------------------------------------------------------------------

MODES = {
    "major": [0, 2, 4, 5, 7, 9, 11],
    "minor": [0, 2, 3, 5, 7, 8, 10],
    "dorian": [0, 2, 3, 5, 7, 9, 10],
    "mixolydian": [0, 2, 4, 5, 7, 9, 10],
    "harmonic": [0, 2, 3, 5, 7, 8, 11],
}
NOTE_NAMES = {"C": 0, "C#": 1, "Db": 1, "D": 2, "D#": 3, "Eb": 3, "E": 4, "F": 5, "F#": 6, "Gb": 6,
              "G": 7, "G#": 8, "Ab": 8, "A": 9, "A#": 10, "Bb": 10, "B": 11}


def midi_hz(midi):
    return 440.0 * 2 ** ((midi - 69) / 12)


class Key:
    """A tonic (a note name and octave, e.g. "F3") and a mode; degrees count from 1."""

    def __init__(self, tonic, mode):
        self.root = NOTE_NAMES[tonic[:-1]] + 12 * (int(tonic[-1]) + 1)
        self.steps = MODES[mode]

    def degree(self, d):
        """The MIDI note of scale degree d (1 = tonic; 8 = tonic an octave up; 0, -1 below)."""
        d -= 1
        octave, index = divmod(d, 7)
        return self.root + 12 * octave + self.steps[index]

    def chord(self, symbol):
        """A chord by its root degree: "1" a triad, "5+7" a seventh chord, "4s2" a sus2."""
        root = int(symbol.split("+")[0].split("s")[0])
        if "s2" in symbol:
            tones = [0, 1, 4]
        elif "s4" in symbol:
            tones = [0, 3, 4]
        else:
            tones = [0, 2, 4]
        if "+7" in symbol:
            tones.append(6)
        return [self.degree(root + t) for t in tones]


def parse_line(text, key, octave_shift=0):
    """A line of notes: tokens "degree:length" in eighths; "r:2" rests; "|" ends a bar (checked
    to be whole); a degree may carry a suffix "#" or "b" for a chromatic step. Returns (start eighth, length, midi) triples."""
    notes = []
    at = 0.0
    for token in text.split():
        if token == "|":
            assert at % 8 == 0, "a bar of %s ends after %s eighths" % (text, at)
            continue
        what, length = token.split(":")
        length = float(length)
        if what != "r":
            bend = what.count("#") - what.count("b")
            d = int(what.rstrip("#b"))
            notes.append((at, length, key.degree(d) + bend + 12 * octave_shift))
        at += length
    return notes, at


# ---- voices ---------------------------------------------------------------------------------

def envelope(count, attack, decay, sustain, release, hold):
    """Attack-decay-sustain, held for `hold` frames, then released: a curve of `count` frames."""
    t = np.arange(count) / RATE
    a = max(attack, 1e-3)
    env = np.where(t < a, t / a, sustain + (1 - sustain) * np.exp(-(t - a) / max(decay, 1e-3)))
    held = hold / RATE
    level_at_release = np.interp(held, t, env) if count else 0.0
    after = t >= held
    env[after] = level_at_release * np.exp(-(t[after] - held) / max(release, 1e-3))
    return env


def additive(hz, t, harmonics, brightness_decay=0.0):
    """Sum of harmonics (number, amplitude) kept below the Nyquist limit; higher ones may fade
    faster than the note (brightness_decay, per second per harmonic number)."""
    out = np.zeros_like(t)
    for k, amp in harmonics:
        if hz * k >= RATE * 0.45:
            continue
        part = amp * np.sin(TAU * hz * k * t)
        if brightness_decay:
            part *= np.exp(-t * brightness_decay * (k - 1))
        out += part
    return out


def saw_harmonics(count):
    return [(k, 1.0 / k) for k in range(1, count + 1)]


def square_harmonics(count):
    return [(k, 1.0 / k) for k in range(1, 2 * count, 2)]


def vibrato_phase(hz, t, depth, rate, delay):
    """Phase (in cycles) of a tone with a vibrato that fades in after `delay` seconds."""
    ramp = np.clip((t - delay) / 0.3, 0, 1)
    bend = 1 + depth * ramp * np.sin(TAU * rate * t)
    return np.cumsum(hz * bend) / RATE


def voice(name, hz, seconds, velocity):
    """One note of an instrument, mono, with its release tail."""
    tails = {"bass": 0.25, "pad": 0.9, "bell": 1.2, "pluck": 0.6, "lead": 0.25, "flute": 0.2, "organ": 0.2,
             "sub": 0.2, "glass": 1.5}
    count = int((seconds + tails[name]) * RATE)
    hold = int(seconds * RATE)
    t = np.arange(count) / RATE
    if name == "bass":
        env = envelope(count, 0.006, 0.35, 0.55, 0.06, hold)
        wave = additive(hz, t, [(1, 1.0), (2, 0.45), (3, 0.2), (4, 0.08)], brightness_decay=3.0)
    elif name == "sub":
        env = envelope(count, 0.004, 0.2, 0.7, 0.05, hold)
        wave = additive(hz, t, saw_harmonics(7), brightness_decay=6.0)
    elif name == "pad":
        env = envelope(count, 0.35, 0.8, 0.8, 0.5, hold)
        wave = sum(np.sin(TAU * np.cumsum(np.full(count, hz * d)) / RATE * k) / k
                   for d in (0.996, 1.0, 1.004) for k in (1, 2, 3, 4)) / 3
    elif name == "bell":
        # Two-operator FM: a bright strike that mellows as the index falls.
        env = envelope(count, 0.003, 0.9, 0.0, 0.4, hold)
        index = 2.2 * np.exp(-t * 5)
        wave = np.sin(TAU * hz * t + index * np.sin(TAU * hz * 2 * t))
    elif name == "glass":
        env = envelope(count, 0.004, 1.4, 0.0, 0.6, hold)
        index = 1.5 * np.exp(-t * 3)
        wave = np.sin(TAU * hz * t + index * np.sin(TAU * hz * 3.5 * t)) * 0.8 + 0.2 * np.sin(TAU * hz * 2 * t)
    elif name == "pluck":
        env = envelope(count, 0.002, 0.25, 0.0, 0.2, hold)
        wave = additive(hz, t, saw_harmonics(10), brightness_decay=9.0)
    elif name == "lead":
        env = envelope(count, 0.015, 0.3, 0.7, 0.08, hold)
        phase = vibrato_phase(hz, t, 0.006, 5.5, 0.25)
        wave = sum(np.sin(TAU * phase * k) / k for k in range(1, 9, 2) if hz * k < RATE * 0.45)
    elif name == "flute":
        env = envelope(count, 0.04, 0.3, 0.85, 0.08, hold)
        phase = vibrato_phase(hz, t, 0.005, 5.0, 0.2)
        wave = np.sin(TAU * phase) + 0.25 * np.sin(TAU * phase * 2) + 0.08 * np.sin(TAU * phase * 3)
    elif name == "organ":
        env = envelope(count, 0.01, 0.2, 0.8, 0.06, hold)
        wave = additive(hz, t, [(1, 1.0), (2, 0.5), (3, 0.3), (4, 0.15), (6, 0.1)])
    else:
        raise ValueError(name)
    return wave * env * velocity


def drum(name, rng):
    """One drum hit, mono."""
    if name == "kick":
        t = np.arange(int(0.35 * RATE)) / RATE
        hz = 45 + 110 * np.exp(-t * 30)
        body = np.sin(TAU * np.cumsum(hz) / RATE) * np.exp(-t * 9)
        click = rng.uniform(-1, 1, len(t)) * np.exp(-t * 300) * 0.3
        return body + click
    if name == "snare":
        t = np.arange(int(0.25 * RATE)) / RATE
        noise = rng.uniform(-1, 1, len(t))
        noise = np.concatenate([[0], np.diff(noise)]) * 0.5
        return noise * np.exp(-t * 16) * 0.8 + np.sin(TAU * 185 * t) * np.exp(-t * 25) * 0.6
    if name == "rim":
        t = np.arange(int(0.08 * RATE)) / RATE
        return (np.sin(TAU * 820 * t) * 0.7 + rng.uniform(-1, 1, len(t)) * 0.3) * np.exp(-t * 60)
    if name in ("hat", "open"):
        t = np.arange(int((0.06 if name == "hat" else 0.3) * RATE)) / RATE
        noise = np.diff(rng.uniform(-1, 1, len(t) + 2), 2) / 4
        return noise * np.exp(-t * (70 if name == "hat" else 12))
    if name == "shaker":
        t = np.arange(int(0.09 * RATE)) / RATE
        noise = np.diff(rng.uniform(-1, 1, len(t) + 1)) / 2
        return noise * np.minimum(1, t / 0.02) * np.exp(-t * 40)
    if name == "tom":
        t = np.arange(int(0.3 * RATE)) / RATE
        hz = 110 + 60 * np.exp(-t * 20)
        return np.sin(TAU * np.cumsum(hz) / RATE) * np.exp(-t * 10)
    raise ValueError(name)


# ---- effects --------------------------------------------------------------------------------

def comb(signal, delay, gain):
    """y[n] = x[n] + gain * y[n - delay], computed a delay-long block at a time."""
    out = signal.copy()
    for start in range(delay, len(out), delay):
        end = min(start + delay, len(out))
        out[start:end] += gain * out[start - delay:end - delay]
    return out


def allpass(signal, delay, gain):
    """Schroeder all-pass: y[n] = -g x[n] + x[n - d] + g y[n - d], a block at a time."""
    out = -gain * signal
    out[delay:] += signal[:-delay]
    for start in range(delay, len(out), delay):
        end = min(start + delay, len(out))
        out[start:end] += gain * out[start - delay:end - delay]
    return out


def reverb(signal, seconds, offset):
    """A small room: four parallel combs, two all-passes, then a gentle low-pass."""
    out = np.zeros_like(signal)
    for ms in (29.7, 37.1, 41.1, 43.7):
        delay = int((ms + offset) * RATE / 1000)
        out += comb(signal, delay, 10 ** (-3 * delay / RATE / seconds))
    for ms, gain in ((5.0, 0.7), (1.7, 0.7)):
        out = allpass(out, int((ms + offset * 0.1) * RATE / 1000), gain)
    return np.convolve(out, np.ones(4) / 4, mode="same") * 0.25


def echo(signal, delay, feedback):
    return comb(np.concatenate([np.zeros(delay), signal[:-delay]]), delay, feedback)


def periodic(effect, loop, *args):
    """The effect's steady state on a looping signal: run over three copies, keep the last, so
    whatever rings past the loop end is already in the start."""
    return effect(np.tile(loop, 3), *args)[2 * len(loop):]


# ---- arrangement ----------------------------------------------------------------------------

class Track:
    """A mono part of a song: notes added at a time (wrapped around the loop), a pan position,
    and how much of it goes to the reverb and the echo."""

    def __init__(self, length, pan=0.0, room=0.2, delay=0.0):
        self.buffer = np.zeros(length)
        self.pan = pan
        self.room = room
        self.delay = delay

    def add(self, at_seconds, sound):
        start = int(round(at_seconds * RATE)) % len(self.buffer)
        remaining = sound
        while len(remaining):
            take = min(len(remaining), len(self.buffer) - start)
            self.buffer[start:start + take] += remaining[:take]
            remaining = remaining[take:]
            start = 0


class Song:
    """A song in one key and tempo, sections appended bar by bar."""

    def __init__(self, name, key, bpm, bars, seed):
        self.name = name
        self.key = key
        self.bar = 240.0 / bpm   # four beats
        self.eighth = self.bar / 8
        self.length = int(round(self.bar * bars * RATE))
        self.bars = bars
        self.rng = np.random.default_rng(seed)
        self.tracks = {}
        self.cursor = 0   # bar where the next section begins

    def track(self, name, pan=0.0, room=0.2, delay=0.0):
        if name not in self.tracks:
            self.tracks[name] = Track(self.length, pan, room, delay)
        return self.tracks[name]

    def humanise(self):
        return 1.0 + 0.06 * (self.rng.random() - 0.5)

    def line(self, track, instrument, text, bar, octave=0, gain=1.0, legato=0.95):
        notes, eighths = parse_line(text, self.key, octave)
        for at, length, midi in notes:
            sound = voice(instrument, midi_hz(midi), length * self.eighth * legato, gain * self.humanise())
            self.track(track).add((bar * 8 + at) * self.eighth, sound)
        return eighths

    def chords(self, track, instrument, symbols, bar, octave=0, gain=1.0, pattern=None):
        """One chord a bar (a symbol list; "1/5" splits a bar in two). Held, or struck on the
        eighths of a pattern ("x" strikes, "-" holds)."""
        for i, symbol in enumerate(symbols):
            parts = symbol.split("/")
            for j, part in enumerate(parts):
                span = 8 // len(parts)
                tones = [m + 12 * octave for m in self.key.chord(part)]
                hits = [(0, span)] if not pattern else strikes(pattern[j * span:(j + 1) * span])
                for at, length in hits:
                    for m in tones:
                        sound = voice(instrument, midi_hz(m), length * self.eighth * 0.95,
                                      gain * self.humanise() / len(tones))
                        self.track(track).add(((bar + i) * 8 + j * span + at) * self.eighth, sound)

    def arpeggio(self, track, instrument, symbols, bar, order, octave=0, gain=1.0, step=1.0):
        """Chord tones in a pattern of indices (0 root, 1 third, 2 fifth, 3 root an octave up)
        at `step` eighths apart through every bar of the chord."""
        for i, symbol in enumerate(symbols):
            parts = symbol.split("/")
            per_part = int(8 / step) // len(parts)
            for j, part in enumerate(parts):
                tones = self.key.chord(part)
                for n in range(per_part):
                    index = order[(j * per_part + n) % len(order)]
                    if index == "-":
                        continue
                    index = int(index)
                    m = tones[index % 3] + 12 * (index // 3) + 12 * octave
                    sound = voice(instrument, midi_hz(m), step * self.eighth * 1.6, gain * self.humanise())
                    at = (bar + i) * 8 + (j * per_part + n) * step
                    self.track(track).add(at * self.eighth, sound)

    def bass(self, symbols, bar, pattern, instrument="bass", gain=1.0, octave=-1):
        """A bass line from the chord roots: pattern tokens "R" root, "5" fifth, "O" octave,
        "3" third, "r" rest, each with a length in eighths ("R:2")."""
        for i, symbol in enumerate(symbols):
            parts = symbol.split("/")
            for j, part in enumerate(parts):
                tones = self.key.chord(part)
                root = tones[0] - 12 * (1 if tones[0] >= self.key.root + 5 else 0) + 12 * octave
                at = 0.0
                for token in pattern[j] if isinstance(pattern, list) else pattern.split():
                    what, length = token.split(":")
                    length = float(length)
                    if what != "r":
                        midi = {"R": root, "5": root + 7, "O": root + 12, "3": root + tones[1] - tones[0],
                                "4": root + 5, "b7": root + 10}[what]
                        sound = voice(instrument, midi_hz(midi), length * self.eighth * 0.9, gain * self.humanise())
                        self.track("bass", 0.0, 0.05).add(((bar + i) * 8 + j * 8 / len(parts) + at) * self.eighth,
                                                          sound)
                    at += length

    def drums(self, pattern, bar, bars, gain=1.0, fill=None):
        """Drum patterns on sixteenths: a dict of hit name -> 16-character string ("x" hit, "o"
        soft, "." nothing); `fill` replaces the pattern in the last bar."""
        pans = {"kick": 0.0, "snare": 0.1, "rim": -0.2, "hat": 0.35, "open": 0.35, "shaker": -0.4, "tom": -0.15}
        rooms = {"kick": 0.05, "snare": 0.25, "rim": 0.2, "hat": 0.1, "open": 0.15, "shaker": 0.15, "tom": 0.2}
        levels = {"kick": 0.9, "snare": 0.45, "rim": 0.3, "hat": 0.16, "open": 0.14, "shaker": 0.14, "tom": 0.5}
        for b in range(bars):
            use = fill if fill and b == bars - 1 else pattern
            for name, steps in use.items():
                for n, hit in enumerate(steps):
                    if hit in "xo":
                        sound = drum(name, self.rng) * levels[name] * gain * (1.0 if hit == "x" else 0.5)
                        self.track("drum_" + name, pans[name], rooms[name]).add(
                            ((bar + b) * 16 + n) * self.eighth / 2, sound)

    def render(self):
        left = np.zeros(self.length)
        right = np.zeros(self.length)
        room_l = np.zeros(self.length)
        room_r = np.zeros(self.length)
        echo_l = np.zeros(self.length)
        echo_r = np.zeros(self.length)
        for name, part in self.tracks.items():
            part.buffer *= MIX.get(name, 1.0)
            angle = (part.pan + 1) * np.pi / 4
            gl, gr = np.cos(angle), np.sin(angle)
            left += part.buffer * gl
            right += part.buffer * gr
            room_l += part.buffer * gl * part.room
            room_r += part.buffer * gr * part.room
            echo_l += part.buffer * part.delay
            echo_r += part.buffer * part.delay
        # A dotted-eighth echo bounced between the sides.
        step = int(round(self.eighth * 1.5 * RATE))
        left += periodic(echo, echo_l, 2 * step, 0.35) * 0.6
        right += periodic(echo, np.roll(echo_r, step), 2 * step, 0.35) * 0.6
        left += periodic(reverb, room_l, 1.8, 0.0)
        right += periodic(reverb, room_r, 1.8, 1.3)
        return np.stack([left, right], axis=1)


# The balance of the parts, the same in every song: the tune on top, the bass and pads beneath.
MIX = {"lead": 1.8, "lead2": 1.5, "counter": 1.4, "bass": 0.6, "pad": 0.7}


def strikes(pattern):
    """(start, length) of each "x" in a pattern of eighths, held through the "-" after it."""
    out = []
    for n, c in enumerate(pattern):
        if c == "x":
            length = 1
            while n + length < len(pattern) and pattern[n + length] == "-":
                length += 1
            out.append((n, length))
    return out


# ---- the songs ------------------------------------------------------------------------------
# Melodies: degree:eighths. Each song is its own: key, tempo, chords, tunes and drums written here.

def menu_song():
    """Main menu: F major, 96 bpm, unhurried and warm. A (8) B (8) A' (4) = 20 bars, 50 s."""
    s = Song("MenuSong", Key("F3", "major"), 96, 20, 101)
    a = ["1", "6", "4", "5", "1", "3", "4", "5s4/5"]
    b = ["4", "5", "3", "6", "2+7", "5", "1/4", "5"]
    a2 = ["1", "6", "4/5", "1"]
    mel_a = ("5:3 6:1 5:2 3:2 | 1:2 3:2 2:4 | 4:3 5:1 6:2 8:2 | 7:6 r:2 | "
             "5:3 6:1 5:2 3:2 | 3:2 5:2 7:4 | 6:2 5:2 4:2 6:2 | 5:8")
    mel_b = ("8:2 7:2 6:4 | 7:2 6:2 5:4 | 5:2 6:2 7:2 8:2 | 9:6 8:2 | "
             "8:3 9:1 8:2 6:2 | 7:4 5:4 | 6:2 5:2 4:2 3:2 | 2:6 r:2")
    mel_a2 = "5:3 6:1 5:2 3:2 | 6:2 5:2 4:2 3:2 | 2:4 5:2 7:2 | 8:8"
    for text, bar in ((mel_a, 0), (mel_b, 8), (mel_a2, 16)):
        s.line("lead", "flute", text, bar, octave=1, gain=0.5)
    s.track("lead", -0.15, 0.35, 0.25)
    s.line("counter", "bell", "r:4 3:4 r:4 1:4 r:4 6:4 r:4 5:4 " * 2, 8, octave=1, gain=0.18)
    s.track("counter", 0.45, 0.4, 0.2)
    for chords, bar in ((a, 0), (b, 8), (a2, 16)):
        s.chords("pad", "pad", chords, bar, gain=0.28)
        s.arpeggio("keys", "pluck", chords, bar, "0 1 2 3 2 1 0 1".split(), octave=1, gain=0.14)
        s.bass(chords, bar, "R:3 5:1 O:2 5:2")
    s.track("pad", 0.0, 0.5)
    s.track("keys", 0.4, 0.35)
    soft = {"kick": "x.......x.......", "rim": "....x.......x...", "shaker": "..o...o...o...o."}
    s.drums(soft, 0, 8, gain=0.7)
    s.drums(dict(soft, hat="o.x.o.x.o.x.o.x."), 8, 8, gain=0.75,
            fill=dict(soft, tom="........x..x.x.."))
    s.drums(soft, 16, 4, gain=0.7)
    return s


def level_song_1():
    """Level 1: C major, 84 bpm, calm and curious. A A' B A'' = 24 bars, 68.6 s."""
    s = Song("LevelSong1", Key("C3", "major"), 84, 24, 211)
    a = ["1", "4", "6", "5", "1", "4", "2+7", "5"]
    b = ["6", "3", "4", "1", "6", "3", "4/5", "5s4"]
    mel_a = "3:2 5:2 6:2 5:2 | 4:2 6:2 8:4 | 8:2 7:2 6:2 5:2 | 5:6 r:2 | " \
            "3:2 5:2 6:2 5:2 | 4:2 6:2 8:2 9:2 | 9:3 8:1 7:2 6:2 | 7:6 r:2"
    mel_a2 = "3:2 5:2 6:2 5:2 | 4:2 6:2 8:4 | 8:2 7:2 6:2 5:2 | 5:6 r:2 | " \
             "3:2 5:2 6:2 5:2 | 4:2 6:2 8:2 9:2 | 9:2 8:2 7:2 9:2 | 8:8"
    mel_b = "6:4 5:2 6:2 | 7:4 5:4 | 6:2 7:2 8:2 6:2 | 5:8 | 6:4 8:2 7:2 | 5:6 3:2 | 4:2 5:2 6:2 7:2 | 5:8"
    for text, bar, inst in ((mel_a, 0, "bell"), (mel_a2, 8, "bell"), (mel_b, 16, "flute")):
        s.line("lead", inst, text, bar, octave=1, gain=0.45)
    s.track("lead", 0.1, 0.35, 0.3)
    for chords, bar in ((a, 0), (a, 8), (b, 16)):
        s.chords("pad", "pad", chords, bar, gain=0.25)
        s.bass(chords, bar, "R:4 5:2 R:2")
    s.arpeggio("keys", "pluck", a, 8, "0 2 3 2".split(), octave=1, gain=0.13, step=2)
    s.arpeggio("keys", "pluck", b, 16, "0 1 2 1".split(), octave=1, gain=0.13, step=2)
    s.track("pad", -0.1, 0.5)
    s.track("keys", -0.45, 0.3)
    s.drums({"kick": "x.........x.....", "shaker": "..o...o...o...o."}, 0, 8, gain=0.6)
    s.drums({"kick": "x.........x.....", "rim": "....x.......x...", "shaker": "..o...o...o...o."}, 8, 8, 0.65)
    s.drums({"kick": "x.......x.......", "rim": "....x.......x..o", "shaker": "o.o.o.o.o.o.o.o."}, 16, 8, 0.65,
            fill={"kick": "x.......x.......", "tom": "........x.x.x.x."})
    return s


def level_song_2():
    """Level 2: G mixolydian-flavoured major, 92 bpm, light and walking. A B A' B' = 24 bars."""
    s = Song("LevelSong2", Key("G2", "mixolydian"), 92, 24, 307)
    a = ["1", "7", "4", "1", "1", "7", "4", "5"]
    b = ["4", "1", "2", "5", "6", "4", "2/7", "1"]
    mel_a = "5:1 6:1 8:2 6:2 5:2 | 4:2 3:2 4:4 | 6:1 5:1 4:2 6:2 8:2 | 5:8 | " \
            "5:1 6:1 8:2 6:2 5:2 | 7:2 6:2 7:4 | 8:2 10:2 9:2 8:2 | 9:6 r:2"
    mel_b = "8:4 9:2 10:2 | 8:4 5:4 | 6:2 5:2 6:2 9:2 | 7:6 r:2 | 10:3 9:1 8:2 6:2 | 8:4 6:4 | 7:2 6:2 5:2 4:2 | 5:8"
    s.line("lead", "lead", mel_a, 0, octave=1, gain=0.22)
    s.line("lead", "lead", mel_b, 8, octave=1, gain=0.22)
    s.line("lead", "glass", mel_a, 16, octave=1, gain=0.35)
    s.line("lead2", "flute", mel_b, 16, gain=0.28)
    s.track("lead", 0.2, 0.3, 0.25)
    s.track("lead2", -0.35, 0.35, 0.15)
    for chords, bar in ((a, 0), (b, 8), (a, 16)):
        s.chords("comp", "organ", chords, bar, gain=0.2, pattern="x-.x-.x-")
        s.bass(chords, bar, "R:2 5:2 O:2 5:1 3:1")
    s.track("comp", -0.3, 0.25)
    s.arpeggio("keys", "bell", a, 16, "2 - 0 - 3 - 1 -".split(), octave=1, gain=0.12)
    s.track("keys", 0.45, 0.45)
    groove = {"kick": "x.....x.x.......", "snare": "....x.......x...", "hat": "x.o.x.o.x.o.x.oo"}
    s.drums(groove, 0, 8, gain=0.75, fill=dict(groove, snare="....x.......x.xx"))
    s.drums(dict(groove, shaker="oooooooooooooooo"), 8, 8, gain=0.75)
    s.drums(groove, 16, 8, gain=0.75, fill={"kick": "x.....x.x.......", "tom": "....x.x.x.x.xxxx"})
    return s


def level_song_3():
    """Level 3: D dorian, 104 bpm, thoughtful and busier. A A' B B' A'' = 28 bars, 64.6 s."""
    s = Song("LevelSong3", Key("D3", "dorian"), 104, 28, 401)
    a = ["1", "4", "1", "4", "7", "4", "5", "1"]
    b = ["3", "4", "5", "1", "6", "4", "2", "5"]
    end = ["1", "4", "7", "1"]
    mel_a = "1:2 3:1 4:1 5:2 8:2 | 7:2 6:4 4:2 | 5:1 4:1 3:2 1:2 3:2 | 2:6 r:2 | " \
            "1:2 3:1 4:1 5:2 8:2 | 9:2 8:2 6:4 | 7:2 6:2 5:1 4:1 3:2 | 1:6 r:2"
    mel_b = "3:2 5:2 7:2 5:2 | 6:4 8:4 | 7:2 5:2 9:2 7:2 | 8:8 | 8:2 6:2 10:2 8:2 | 6:4 11:4 | 9:2 8:2 6:2 4:2 | 5:8"
    mel_end = "1:2 3:1 4:1 5:2 8:2 | 7:2 6:4 4:2 | 7:2 5:2 4:2 2:2 | 1:8"
    s.line("lead", "pluck", mel_a, 0, octave=1, gain=0.4)
    s.line("lead", "lead", mel_a, 8, octave=1, gain=0.2)
    s.line("lead", "lead", mel_b, 16, octave=1, gain=0.2)
    s.line("lead", "pluck", mel_end, 24, octave=1, gain=0.4)
    s.line("counter", "flute", "5:8 4:8 5:8 6:8 7:8 6:8 5:8 4:8", 16, gain=0.25)
    s.track("lead", -0.1, 0.3, 0.35)
    s.track("counter", 0.4, 0.4)
    for chords, bar in ((a, 0), (a, 8), (b, 16), (end, 24)):
        s.chords("pad", "pad", chords, bar, gain=0.22)
        s.arpeggio("keys", "pluck", chords, bar, "0 1 2 1 3 1 2 1".split(), octave=1, gain=0.11)
        s.bass(chords, bar, "R:1 R:1 r:1 R:1 5:2 b7:1 O:1", instrument="sub", gain=0.8)
    s.track("pad", 0.0, 0.45)
    s.track("keys", 0.5, 0.25, 0.1)
    beat = {"kick": "x..x....x..x....", "snare": "....x.......x...", "hat": "x.x.x.x.x.x.x.x."}
    busy = dict(beat, hat="xxxoxxxoxxxoxxxo", shaker="..x...x...x...x.")
    s.drums(beat, 0, 8, 0.7, fill=dict(beat, snare="....x.......x.x."))
    s.drums(busy, 8, 8, 0.72)
    s.drums(busy, 16, 8, 0.72, fill=dict(busy, tom="x.x.x.x.........", snare="........x.x.xxxx"))
    s.drums(beat, 24, 4, 0.7)
    return s


def level_song_4():
    """Level 4: A minor, 116 bpm, driving. Intro A B A' C A'' = 32 bars, 66.2 s."""
    s = Song("LevelSong4", Key("A2", "harmonic"), 116, 32, 503)
    a = ["1", "6", "4", "5", "1", "6", "2", "5"]
    c = ["6", "7", "3", "6", "4", "2", "5", "5"]
    mel_a = "5:2 5:1 6:1 5:2 3:2 | 4:2 3:2 1:4 | 2:2 3:2 4:2 6:2 | 5:6 r:2 | " \
            "5:2 5:1 6:1 5:2 8:2 | 7:2 6:2 3:4 | 4:2 6:2 5:2 4:2 | 3:6 r:2"
    mel_c = "8:3 7:1 6:2 5:2 | 7:4 5:4 | 5:3 6:1 7:2 8:2 | 10:6 r:2 | 9:2 8:2 6:2 4:2 | 6:4 4:4 | 7:2 5:2 7:2 9:2 | 7:8"
    s.line("lead", "lead", mel_a, 8, octave=1, gain=0.22)
    s.line("lead", "bell", mel_a, 16, octave=1, gain=0.35)
    s.line("lead2", "lead", mel_a, 16, octave=0, gain=0.12)
    s.line("lead", "lead", mel_c, 24, octave=1, gain=0.22)
    s.track("lead", 0.15, 0.28, 0.3)
    s.track("lead2", -0.4, 0.3)
    for chords, bar in ((a, 0), (a, 8), (a, 16), (c, 24)):
        s.arpeggio("keys", "pluck", chords, bar, "0 2 3 2 1 2 3 2".split(), octave=1, gain=0.13)
        s.bass(chords, bar, "R:1 R:1 O:1 R:1 R:1 5:1 O:1 R:1", instrument="sub", gain=0.7)
        if bar >= 8:
            s.chords("pad", "pad", chords, bar, gain=0.2)
    s.track("keys", -0.45, 0.25, 0.12)
    s.track("pad", 0.3, 0.4)
    drive = {"kick": "x...x...x...x...", "snare": "....x.......x...", "hat": "..x...x...x...x.",
             "shaker": "xxxxxxxxxxxxxxxx"}
    s.drums({"kick": "x...x...x...x...", "shaker": "x.x.x.x.x.x.x.x."}, 0, 8, 0.7,
            fill={"kick": "x...x...x...x...", "snare": "........x.x.xxxx"})
    s.drums(drive, 8, 16, 0.72, fill=dict(drive, tom="x..x..x...x.x.x."))
    s.drums(dict(drive, open="..x...x...x...x.", hat="x...x...x...x..."), 24, 8, 0.72,
            fill=dict(drive, snare="....x...x.x.xxxx"))
    return s


def level_song_5():
    """Level 5: C minor, 128 bpm, urgent and busiest. A A' B B' A'' = 36 bars, 67.5 s."""
    s = Song("LevelSong5", Key("C3", "minor"), 128, 36, 613)
    a = ["1", "1", "6", "6", "4", "4", "5", "5"]
    b = ["3", "7", "6", "7", "3", "7", "4", "5"]
    end = ["1", "6", "4", "5"]
    mel_a = "1:1 3:1 5:2 8:2 7:1 6:1 | 5:4 3:4 | 4:1 6:1 8:2 6:2 4:2 | 3:6 r:2 | " \
            "4:1 6:1 8:2 9:2 8:1 6:1 | 8:4 6:4 | 7:2 5:2 7:2 9:2 | 7:6 r:2"
    mel_b = "10:2 9:2 8:2 7:2 | 8:4 5:4 | 8:2 9:2 10:2 12:2 | 11:8 | 10:2 9:2 8:2 10:2 | 11:4 9:4 | " \
            "8:2 9:2 10:2 8:2 | 7:8"
    mel_end = "1:1 3:1 5:2 8:2 7:1 6:1 | 5:4 3:4 | 4:1 6:1 8:2 6:2 4:2 | 5:6 7:2"
    s.line("lead", "lead", mel_a, 8, octave=1, gain=0.2)
    s.line("lead", "lead", mel_a, 16, octave=1, gain=0.2)
    s.line("lead2", "glass", mel_a, 16, octave=1, gain=0.25)
    s.line("lead", "lead", mel_b, 24, octave=0, gain=0.22)
    s.line("lead", "lead", mel_end, 32, octave=1, gain=0.2)
    s.track("lead", -0.1, 0.25, 0.3)
    s.track("lead2", 0.45, 0.4)
    for chords, bar in ((a, 0), (a, 8), (a, 16), (b, 24), (end, 32)):
        s.arpeggio("keys", "pluck", chords, bar, "0 1 2 3 4 3 2 1".split(), octave=1, gain=0.12, step=0.5)
        s.bass(chords, bar, "R:1 O:1 R:1 O:1 R:1 O:1 5:1 O:1", instrument="sub", gain=0.65)
        if bar >= 8:
            s.chords("stabs", "organ", chords, bar, gain=0.16, pattern="x..x..x.")
    s.track("keys", 0.35, 0.2, 0.15)
    s.track("stabs", -0.4, 0.3)
    full = {"kick": "x...x...x...x..x", "snare": "....x.......x...", "hat": "xoxoxoxoxoxoxoxo",
            "open": "..x...x...x...x."}
    s.drums({"kick": "x...x...x...x...", "hat": "x.x.x.x.x.x.x.x."}, 0, 8, 0.7,
            fill={"kick": "x...x...x...x...", "snare": "x.x.x.x.xxxxxxxx"})
    s.drums(full, 8, 16, 0.72, fill=dict(full, tom="x.x.x.x.x.x.x.x."))
    s.drums(dict(full, kick="x.......x.......", snare="....x.......x..x"), 24, 8, 0.72,
            fill=dict(full, snare="....x...x.x.xxxx"))
    s.drums(full, 32, 4, 0.72)
    return s


def game_end_song():
    """The end of the game: Eb major, 100 bpm, bright and glad. 8 bars, 19.2 s."""
    s = Song("GameEndSong", Key("Eb3", "major"), 100, 8, 709)
    chords = ["1", "4", "6", "5", "4", "5", "3/6", "2/5"]
    mel = "5:2 8:2 7:2 8:2 | 9:4 8:2 6:2 | 6:2 8:2 10:2 9:2 | 9:6 r:2 | 8:2 10:2 11:2 10:2 | 9:4 7:4 | " \
          "8:2 9:2 10:2 12:2 | 12:8"
    s.line("lead", "bell", mel, 0, gain=0.4)
    s.line("lead2", "flute", mel, 0, octave=-1, gain=0.22)
    s.track("lead", 0.2, 0.4, 0.25)
    s.track("lead2", -0.3, 0.35)
    s.chords("pad", "pad", chords, 0, gain=0.28)
    s.arpeggio("keys", "pluck", chords, 0, "0 1 2 3 2 3 1 2".split(), octave=1, gain=0.12)
    s.bass(chords, 0, "R:2 5:2 O:2 5:2")
    s.track("pad", 0.0, 0.5)
    s.track("keys", 0.45, 0.3)
    s.drums({"kick": "x.......x.......", "snare": "....x.......x...", "shaker": "o.o.o.o.o.o.o.o."}, 0, 8, 0.7,
            fill={"kick": "x.......x.......", "tom": "....x.x.x.x.x.x."})
    return s


SONGS = [menu_song, level_song_1, level_song_2, level_song_3, level_song_4, level_song_5, game_end_song]


# ---- output ---------------------------------------------------------------------------------

def db(value):
    return 20 * np.log10(max(value, 1e-12))


def level(stereo):
    """Scaled to the common RMS; the few peaks above the headroom are rounded off smoothly."""
    stereo = stereo * 10 ** (SONG_RMS_DB / 20) / np.sqrt(np.mean(stereo ** 2))
    limit = 10 ** (PEAK_LIMIT_DB / 20)
    knee = limit * 0.8
    over = np.abs(stereo) > knee
    stereo[over] = np.sign(stereo[over]) * (knee + (limit - knee) * np.tanh((np.abs(stereo[over]) - knee) /
                                                                            (limit - knee)))
    return stereo


def ogg_crc(data):
    crc = 0
    for byte in data:
        crc ^= byte << 24
        for _ in range(8):
            crc = ((crc << 1) ^ 0x04C11DB7) & 0xFFFFFFFF if crc & 0x80000000 else (crc << 1) & 0xFFFFFFFF
    return crc


def fix_serial(path, serial):
    """The encoder picks a random stream serial: set a fixed one so every run writes the same bytes."""
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = 0
    while at < len(data):
        if data[at:at + 4] != b"OggS":
            raise ValueError(path + ": not an Ogg page at %d" % at)
        segments = data[at + 26]
        size = 27 + segments + sum(data[at + 27:at + 27 + segments])
        data[at + 14:at + 18] = serial.to_bytes(4, "little")
        data[at + 22:at + 26] = b"\0\0\0\0"
        data[at + 22:at + 26] = ogg_crc(data[at:at + size]).to_bytes(4, "little")
        at += size
    with open(path, "wb") as f:
        f.write(data)


def write_song(folder, song, serial):
    stereo = level(song.render())
    path = os.path.join(folder, song.name + ".ogg")
    with soundfile.SoundFile(path, "w", RATE, 2, format="OGG", subtype="VORBIS") as out:
        # libsndfile's Vorbis writer fails on very large writes: hand it the song in pieces.
        for start in range(0, len(stereo), 4096):
            out.write(stereo[start:start + 4096].astype(np.float32))
    fix_serial(path, serial)
    decoded, rate = soundfile.read(path, dtype="float32")
    assert rate == RATE and len(decoded) == len(stereo), path + ": decoded length differs from the written one"
    rms = db(np.sqrt(np.mean(decoded.astype(np.float64) ** 2)))
    peak = db(np.max(np.abs(decoded)))
    seam = np.max(np.abs(decoded[0] - decoded[-1]))
    near = np.max(np.abs(np.diff(np.concatenate([decoded[-RATE // 10:], decoded[:RATE // 10]]), axis=0)))
    print("%-12s %6.2f s  %d bars  2 ch  %d Hz  RMS %6.2f dBFS  peak %6.2f dBFS  seam step %.4f (largest nearby "
          "%.4f)  %d KB" % (song.name, len(decoded) / RATE, song.bars, RATE, rms, peak, seam, near,
                            os.path.getsize(path) // 1024))
    return {"Name": song.name, "FileName": "Data/Audio/" + song.name + ".ogg", "SoundBus": "Music",
            "LoopType": "Loop", "ModeType": "Stream"}


def make_songs(folder):
    """Writes every song and returns their registry entries."""
    return [write_song(folder, maker(), 0x5A0E0000 + n) for n, maker in enumerate(SONGS)]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "Data", "Audio")
    os.makedirs(folder, exist_ok=True)
    make_songs(folder)


if __name__ == "__main__":
    main()
