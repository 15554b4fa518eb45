#!/usr/bin/env python3
"""Synthesises the game's sound effects, has make_music.py compose the songs, and writes the
sound registry.

Effects are made here from sine, square, triangle and saw waves and a seeded noise source, so
the output is the same on every run: mono 16-bit WAV at 22050 Hz into Data/Audio/, levelled
against each other at the volumes the game plays them; the songs are Ogg Vorbis (see
make_music.py); Data/Audio/AudioRegistry.json names every sound. Prints each file's length,
RMS and peak.

    tools/audio/make_sounds.py [output folder]   (default: Data/Audio beside this repository)
"""
import json
import math
import os
import struct
import sys
import wave

import make_music

RATE = 22050


class Noise:
    """A small linear congruential generator: the same noise on every run and every machine."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 2147483648.0 - 1.0


def frames(seconds):
    return int(round(seconds * RATE))


def silence(seconds):
    return [0.0] * frames(seconds)


def mix_into(target, source, at=0.0, gain=1.0):
    start = frames(at)
    if len(target) < start + len(source):
        target.extend([0.0] * (start + len(source) - len(target)))
    for i, value in enumerate(source):
        target[start + i] += value * gain
    return target


def wave_at(shape, phase):
    """One cycle of a wave shape, phase in cycles."""
    p = phase % 1.0
    if shape == "sine":
        return math.sin(2 * math.pi * p)
    if shape == "square":
        return 1.0 if p < 0.5 else -1.0
    if shape == "triangle":
        return 4 * p - 1 if p < 0.5 else 3 - 4 * p
    if shape == "saw":
        return 2 * p - 1
    raise ValueError(shape)


def tone(seconds, start_hz, end_hz=None, shape="sine", attack=0.005, decay=None, vibrato=0.0):
    """A note sliding from start_hz to end_hz, with a short attack and an exponential or
    linear fade so it never clicks at either end."""
    end_hz = start_hz if end_hz is None else end_hz
    count = frames(seconds)
    out = []
    phase = 0.0
    for i in range(count):
        t = i / RATE
        k = i / max(1, count - 1)
        hz = start_hz * (end_hz / start_hz) ** k
        if vibrato:
            hz *= 1.0 + 0.03 * math.sin(2 * math.pi * vibrato * t)
        phase += hz / RATE
        env = min(1.0, t / attack) if attack > 0 else 1.0
        env *= math.exp(-t / decay) if decay else 1.0
        env *= min(1.0, (count - i) / frames(0.01))   # fade out over the last 10 ms
        out.append(wave_at(shape, phase) * env)
    return out


def noise(seconds, seed, decay=None, smooth=0.0, attack=0.002):
    """White noise, optionally smoothed by a one-pole low-pass (smooth near 1 is darker)."""
    source = Noise(seed)
    count = frames(seconds)
    out = []
    low = 0.0
    for i in range(count):
        t = i / RATE
        low = low * smooth + source.next() * (1.0 - smooth)
        env = min(1.0, t / attack) * (math.exp(-t / decay) if decay else 1.0)
        env *= min(1.0, (count - i) / frames(0.01))
        out.append(low * env)
    return out


def write_wav(path, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(round(max(-1.0, min(1.0, s)) * 32767))) for s in samples))


# ---- effects --------------------------------------------------------------------------------

def effect_select():
    out = tone(0.05, 880, shape="square", decay=0.05)
    return mix_into(out, tone(0.07, 1320, shape="square", decay=0.04), at=0.04)


def effect_click():
    return mix_into(tone(0.03, 2000, 1200, decay=0.008), noise(0.02, 7, decay=0.004), gain=0.5)


def effect_pause():
    out = tone(0.12, 660, shape="triangle", decay=0.1)
    return mix_into(out, tone(0.16, 440, shape="triangle", decay=0.1), at=0.1)


def effect_locked():
    # Two short low buzzes, the second lower: "not yet".
    out = tone(0.09, 196, shape="square", decay=0.07)
    return mix_into(out, tone(0.12, 147, shape="square", decay=0.09), at=0.11)


def effect_cheer():
    out = []
    for n, hz in enumerate([523.25, 659.25, 783.99]):
        mix_into(out, tone(0.14, hz, shape="square", decay=0.12), at=n * 0.11)
    for hz in [523.25, 659.25, 783.99, 1046.5]:
        mix_into(out, tone(0.5, hz, shape="triangle", decay=0.3), at=0.33, gain=0.5)
    return out


def effect_trombone():
    out = []
    for n, (a, b) in enumerate([(233.08, 220.0), (220.0, 207.65), (207.65, 196.0)]):
        mix_into(out, tone(0.28, a, b, shape="saw", attack=0.03, decay=0.4), at=n * 0.3)
    return mix_into(out, tone(0.7, 196.0, 174.61, shape="saw", attack=0.03, decay=0.5, vibrato=6.0), at=0.9)


def effect_finish_line():
    out = tone(0.6, 1318.5, decay=0.18)
    mix_into(out, tone(0.6, 2637.0, decay=0.08), gain=0.4)
    return mix_into(out, tone(0.5, 1975.5, decay=0.15), at=0.08, gain=0.6)


def effect_explode():
    out = noise(0.6, 11, decay=0.16, smooth=0.85)
    return mix_into(out, tone(0.4, 90, 35, decay=0.12), gain=0.8)


def effect_jetpack():
    out = noise(0.4, 23, smooth=0.6, attack=0.05)
    return [s * (0.7 + 0.3 * math.sin(2 * math.pi * 18 * i / RATE)) for i, s in enumerate(out)]


def effect_block():
    return mix_into(tone(0.15, 160, 70, decay=0.05), noise(0.03, 31, decay=0.01, smooth=0.5), gain=0.4)


def effect_dig():
    return noise(0.08, 41, decay=0.03, smooth=0.3)


def effect_lay_bridge():
    out = []
    for n in range(2):
        mix_into(out, tone(0.06, 520 - 60 * n, decay=0.02, shape="triangle"), at=n * 0.09)
        mix_into(out, noise(0.02, 53 + n, decay=0.006, smooth=0.4), at=n * 0.09, gain=0.5)
    return out


def effect_tunnel():
    out = noise(0.4, 61, smooth=0.92, attack=0.04)
    return mix_into(out, tone(0.4, 70, 55, attack=0.04), gain=0.5)


def effect_spawn():
    return tone(0.2, 300, 900, decay=0.2)


EFFECTS = [
    # name, maker, bus, the channel volume the game plays it at
    ("Select", effect_select, "UI", 1.0),
    ("Click", effect_click, "UI", 1.0),
    ("Pause", effect_pause, "UI", 0.75),
    ("Locked", effect_locked, "UI", 1.0),
    ("Cheer", effect_cheer, "SFX", 1.0),
    ("Trombone", effect_trombone, "SFX", 1.0),
    ("FinishLine", effect_finish_line, "SFX", 0.75),
    ("Explode", effect_explode, "SFX", 1.0),
    ("Jetpack", effect_jetpack, "SFX", 0.25),
    ("Block", effect_block, "SFX", 0.4),
    ("Dig", effect_dig, "SFX", 0.1),
    ("LayBridge", effect_lay_bridge, "SFX", 1.0),
    ("Tunnel", effect_tunnel, "SFX", 1.0),
    ("Spawn", effect_spawn, "SFX", 0.05),
]

# Loudness as heard: file RMS plus the channel volume. Every effect aims at the same heard RMS,
# a little over the songs' -20 dBFS so it is heard above them; one that cannot reach it within
# the peak limit (a quiet-played one, like a spawn at 5 %) stays at the limit, quieter, never louder.
HEARD_RMS_DB = -18.0
PEAK_LIMIT = 10 ** (-1.0 / 20)


def db(value):
    return 20 * math.log10(max(value, 1e-12))


def rms(samples):
    return math.sqrt(sum(s * s for s in samples) / len(samples))


def level(samples, volume):
    """The effect scaled to the heard RMS at its volume, its peak kept under -1 dBFS."""
    gain = 10 ** ((HEARD_RMS_DB - db(volume)) / 20) / rms(samples)
    gain = min(gain, PEAK_LIMIT / max(abs(s) for s in samples))
    return [s * gain for s in samples]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "Data", "Audio")
    os.makedirs(folder, exist_ok=True)
    registry = []
    heard = []
    for name, maker, bus, volume in EFFECTS:
        samples = level(maker(), volume)
        write_wav(os.path.join(folder, name + ".wav"), samples)
        # What is written: 16-bit samples.
        samples = [int(round(s * 32767)) / 32767 for s in samples]
        heard.append(db(rms(samples)) + db(volume))
        print("%-12s %6.2f s  1 ch  %d Hz  RMS %6.2f dBFS  peak %6.2f dBFS  at volume %.2f heard RMS %6.2f dB" %
              (name, len(samples) / RATE, RATE, db(rms(samples)), db(max(abs(s) for s in samples)), volume,
               heard[-1]))
        registry.append({"Name": name, "FileName": "Data/Audio/" + name + ".wav", "SoundBus": bus,
                         "LoopType": "Oneshot", "ModeType": "Sample"})
    loudest = max(heard)
    others = sorted(heard)[len(heard) // 2]
    print("loudest effect as heard %.2f dB, the effects' median %.2f dB" % (loudest, others))
    registry += make_music.make_songs(folder)
    with open(os.path.join(folder, "AudioRegistry.json"), "w", encoding="utf-8") as out:
        json.dump({"Sounds": registry}, out, indent=4)
        out.write("\n")


if __name__ == "__main__":
    main()
